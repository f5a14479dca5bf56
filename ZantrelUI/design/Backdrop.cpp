#include "ZantrelUI/design/Backdrop.h"

#include "ZantrelUI/context/DesktopSettings.h"
#include "ZantrelUI/design/GlassPainting.h"

#include <QGraphicsDropShadowEffect>
#include <QPainter>
#include <QRadialGradient>
#include <QVBoxLayout>

namespace ZantrelUI {

Backdrop::Look Backdrop::look(bool opaque, bool offscreen, ColorScheme scheme) {
    const bool dark = scheme == ColorScheme::dark;
    const bool solid = opaque || offscreen;
    return {solid ? 1.0 : 0.86, solid ? 1.0 : 0.94, dark ? 0.3 : 0.22, dark};
}

Backdrop::Backdrop(QWidget* parent) : GlassWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

Backdrop::Look Backdrop::currentLook() const {
    return look(DesktopSettings::shared().reduceTransparency(), environment().offscreen, scheme());
}

void Backdrop::paintEvent(QPaintEvent*) {
    const ColorScheme s = scheme();
    const Look l = currentLook();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    QLinearGradient gradient(r.topLeft(), r.bottomLeft());
    QColor top = Surface::windowTop().resolve(s);
    QColor bottom = Surface::windowBottom().resolve(s);
    top.setAlphaF(static_cast<float>(l.topOpacity));
    bottom.setAlphaF(static_cast<float>(l.bottomOpacity));
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillRect(r, gradient);

    // The glow's centre sits just above the top edge, at (0.5, −0.05) of the frame.
    const QPointF centre(r.width() * 0.5, -0.05 * r.height());
    QRadialGradient glow(centre, 420);
    QColor glowColor = environment().accent.top.resolve(s);
    glowColor.setAlphaF(static_cast<float>(l.glowOpacity));
    QColor clear = glowColor;
    clear.setAlphaF(0);
    glow.setColorAt(4.0 / 420, glowColor);
    glow.setColorAt(1, clear);
    if (l.screenBlend)
        painter.setCompositionMode(QPainter::CompositionMode_Screen);
    painter.fillRect(r, glow);
}

void paintGlassCard(QPainter& painter, const QRectF& rect, qreal radius, ColorScheme scheme, bool withShadow) {
    const QPainterPath shape = roundedPath(rect, radius);
    if (withShadow)
        paintShadow(painter, shape, Shadow{Surface::shadow().resolve(scheme), 10, QPointF(0, 3)});
    painter.fillPath(shape, Surface::card().resolve(scheme));
    QLinearGradient border(rect.topLeft(), rect.bottomLeft());
    border.setColorAt(0, Surface::cardHighlight().resolve(scheme));
    border.setColorAt(1, Surface::cardStroke().resolve(scheme));
    strokeRoundedInside(painter, rect, radius, border, 1);
}

GlassCard::GlassCard(qreal radius, QWidget* parent)
    : GlassWidget(parent), radius_(radius), layout_(new QVBoxLayout(this)) {
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    updateShadow();
}

void GlassCard::environmentChanged() {
    updateShadow();
    update();
}

void GlassCard::updateShadow() {
    const QColor color = Surface::shadow().resolve(scheme());
    if (color.alpha() == 0) {  // no shadow in dark appearance
        setGraphicsEffect(nullptr);
        return;
    }
    auto* effect = qobject_cast<QGraphicsDropShadowEffect*>(graphicsEffect());
    if (effect == nullptr) {
        effect = new QGraphicsDropShadowEffect(this);
        setGraphicsEffect(effect);  // takes ownership
    }
    effect->setColor(color);
    effect->setBlurRadius(20);
    effect->setOffset(0, 3);
}

void GlassCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintGlassCard(painter, rect(), radius_, scheme(), false);
}

}  // namespace ZantrelUI
