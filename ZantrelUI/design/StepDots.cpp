#include "ZantrelUI/design/StepDots.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/ReduceMotion.h"

#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace ZantrelUI {

StepDots::StepDots(int count, int current, QWidget* parent)
    : GlassWidget(parent), count_(std::max(0, count)), current_(current), position_(new AnimatedValue(current, this)) {
    ensureGlassAccessibility();
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(position_, &AnimatedValue::changed, this, qOverload<>(&QWidget::update));
}

void StepDots::setCount(int count) {
    count_ = std::max(0, count);
    updateGeometry();
    update();
}

void StepDots::setCurrent(int current) {
    if (current_ == current)
        return;
    current_ = current;
    if (ReduceMotion::of(this))
        position_->setValue(current);
    else
        position_->animateTo(current, Motion::plainSpring(ZantrelKit::MotionSpec::Spring{0.4, 0.8}));
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    update();
}

std::vector<QRectF> StepDots::dotRects() const {
    std::vector<QRectF> rects;
    const double pos = position_->value();
    qreal x = 0;
    for (int i = 0; i < count_; ++i) {
        // Each dot is long by how close the moving position is to it.
        const double near = std::clamp(1 - std::abs(pos - i), 0.0, 1.0);
        const qreal w = dotWidth + (currentWidth - dotWidth) * near;
        rects.emplace_back(x, 0, w, dotHeight);
        x += w + spacing;
    }
    return rects;
}

QSize StepDots::sizeHint() const {
    if (count_ == 0)
        return QSize(0, static_cast<int>(dotHeight));
    const qreal w = currentWidth + (count_ - 1) * (dotWidth + spacing);
    return QSize(static_cast<int>(std::ceil(w)), static_cast<int>(dotHeight));
}

void StepDots::paintEvent(QPaintEvent*) {
    const ColorScheme s = scheme();
    const Accent accent = environment().accent;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal top = (height() - dotHeight) / 2;
    const double pos = position_->value();
    const std::vector<QRectF> rects = dotRects();
    for (int i = 0; i < count_; ++i) {
        const QRectF dot = rects[static_cast<std::size_t>(i)].translated(0, top);
        const QPainterPath shape = capsulePath(dot);
        const double lit = std::clamp(1 - std::abs(pos - i), 0.0, 1.0);
        painter.fillPath(shape, (i < current_ ? Ink::secondary() : Surface::strongFill()).resolve(s));
        if (lit > 0) {
            painter.save();
            painter.setOpacity(lit);
            painter.fillPath(shape, accent.gradient(dot, s));
            painter.restore();
        }
    }
}

QString StepDots::accessibleText(QAccessible::Text kind) const {
    return kind == QAccessible::Name ? ZantrelKit::Copy::stepOf(current_ + 1, count_) : QString();
}

WindowFooter::WindowFooter(QWidget* content, bool divider, qreal inset, QWidget* parent)
    : GlassWidget(parent), divider_(divider), inset_(inset) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding());
    layout->setSpacing(0);
    if (content != nullptr)
        layout->addWidget(content);
}

QMargins WindowFooter::padding() const {
    const int side = static_cast<int>(std::ceil(std::max<qreal>(inset_, 18)));
    return QMargins(side, divider_ ? 18 : 0, side, side);
}

void WindowFooter::paintEvent(QPaintEvent*) {
    if (!divider_)
        return;
    QPainter painter(this);
    painter.fillRect(QRectF(0, 0, width(), 1), resolve(Surface::hairline()));
}

}  // namespace ZantrelUI
