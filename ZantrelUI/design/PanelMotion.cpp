#include "ZantrelUI/design/PanelMotion.h"

#include "ZantrelKit/MotionSpec.h"
#include "platform/async/MainThread.h"
#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/design/Motion.h"
#include "ZantrelUI/design/MotionClock.h"
#include "ZantrelUI/design/MotionEffect.h"

#include <QWidget>

namespace ZantrelUI {

namespace MS = ZantrelKit::MotionSpec;

PanelMotion::PanelMotion(QObject* parent) : QObject(parent) {}

QWidget* PanelMotion::contentView(QWidget* panel) {
    if (panel == nullptr)
        return nullptr;
    for (QObject* child : panel->children()) {
        if (auto* widget = qobject_cast<QWidget*>(child);
            widget != nullptr && !widget->isWindow() && !isAccessibilityOnly(widget))
            return widget;
    }
    return nullptr;
}

MotionLayer* PanelMotion::layerOf(QWidget* content, bool create) {
    if (content == nullptr)
        return nullptr;
    MotionEffect* effect = MotionEffect::on(content, create);
    return effect != nullptr ? &effect->layer() : nullptr;
}

void PanelMotion::show(QWidget* panel, bool makeKey, bool reduceMotion, double scale, QPointF anchor) {
    Platform::assertMain();
    ++generation_;
    QWidget* content = contentView(panel);
    if (content == nullptr)
        return;
    MotionLayer* layer = layerOf(content);
    if (layer == nullptr)
        return;

    const QString opacity = QStringLiteral("opacity");
    const bool wasVisible = panel->isVisible();
    const bool animate = !wasVisible || layer->hasAnimation(outKey) || layer->number(opacity) < 1;
    // What is on screen before the fade-out is taken away.
    const double visibleOpacity = wasVisible ? layer->presentationNumber(opacity) : 0;

    layer->remove(outKey);
    panel->setWindowOpacity(1);
    panel->show();
    panel->raise();
    if (makeKey)
        panel->activateWindow();
    if (!animate)
        return;

    layer->setValue(opacity, 1.0);
    layer->setValue(QStringLiteral("transform"), QTransform());

    const MS::Timing timing = reduceMotion ? MS::Timing{0.1, MS::Curve::easeOut()} : MS::brief;
    LayerAnimation fade = Motion::basicAnimation(opacity, timing);
    fade.from = (visibleOpacity < 1 && wasVisible) ? visibleOpacity : 0.0;
    fade.to = 1.0;
    layer->add(inKey, fade);
    if (reduceMotion)
        return;

    const double w = content->width();
    const double h = content->height();
    // Qt's y grows downwards, so the anchor's y counts from the top as given.
    const double tx = anchor.x() * w;
    const double ty = anchor.y() * h;
    QTransform start;
    start.translate(tx, ty);
    start.scale(scale, scale);
    start.translate(-tx, -ty);
    LayerAnimation grow = Motion::springAnimation(QStringLiteral("transform"), MS::quick);
    grow.from = start;
    grow.to = QTransform();
    layer->add(growKey, grow);
}

void PanelMotion::showStill(QWidget* panel, bool makeKey) {
    Platform::assertMain();
    ++generation_;
    if (panel == nullptr)
        return;
    if (MotionLayer* layer = layerOf(contentView(panel), false)) {
        layer->remove(inKey);
        layer->remove(growKey);
        layer->remove(outKey);
        layer->setValue(QStringLiteral("opacity"), 1.0);
        layer->setValue(QStringLiteral("transform"), QTransform());
    }
    panel->setWindowOpacity(1);
    panel->show();
    panel->raise();
    if (makeKey)
        panel->activateWindow();
}

void PanelMotion::hide(QWidget* panel, bool immediately) {
    Platform::assertMain();
    const int mine = ++generation_;
    QWidget* content = contentView(panel);
    MotionLayer* layer = layerOf(content, false);
    if (layer != nullptr)
        layer->remove(growKey);
    if (panel == nullptr)
        return;
    if (immediately || !panel->isVisible() || layer == nullptr) {
        panel->hide();
        return;
    }
    LayerAnimation fade = Motion::basicAnimation(QStringLiteral("opacity"), MS::exit);
    fade.from = layer->presentationNumber(QStringLiteral("opacity"));
    fade.to = 0.0;
    fade.fillForwards = true;
    fade.removedOnCompletion = false;
    layer->remove(inKey);
    layer->add(outKey, fade);

    QPointer<QWidget> weakPanel(panel);
    QPointer<QWidget> weakContent(content);
    MotionClock::shared().schedule(fade.duration + 0.02, this, [this, mine, weakPanel, weakContent] {
        Platform::assertMain();
        if (!weakPanel || generation_ != mine)
            return;  // shown or hidden again since: not ours to order out
        weakPanel->hide();
        if (MotionLayer* l = layerOf(weakContent, false))
            l->remove(outKey);
    });
}

}  // namespace ZantrelUI
