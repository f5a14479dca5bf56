#include "ZantrelUI/design/GlassSlider.h"

#include "ZantrelUI/design/GlassPainting.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace ZantrelUI {

namespace {
constexpr qreal valueWidth = 44;
constexpr qreal valueSpacing = 8;
}  // namespace

double GlassSlider::snap(double value, double lower, double upper, double step) {
    double snapped = step > 0 ? step * std::round(value / step) : value;  // std::round: halves away from zero
    return std::clamp(snapped, lower, std::max(lower, upper));
}

GlassSlider::GlassSlider(QString title, double value, double lower, double upper, double step, QString valueText,
                         bool showsValue, QWidget* parent)
    : GlassWidget(parent), title_(std::move(title)), value_(value), lower_(lower), upper_(std::max(lower, upper)),
      step_(step), valueText_(std::move(valueText)), showsValue_(showsValue) {
    ensureGlassAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void GlassSlider::setValue(double value) {
    if (value_ == value)
        return;
    value_ = value;
    update();
    Q_EMIT valueChanged(value_);
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, value_);
        QAccessible::updateAccessibility(&event);
    }
}

void GlassSlider::setValueText(const QString& text) {
    valueText_ = text;
    update();
}

QSize GlassSlider::sizeHint() const {
    return QSize(static_cast<int>(160 + (showsValue_ ? valueWidth + valueSpacing : 0)), static_cast<int>(height));
}

qreal GlassSlider::sliderWidth() const { return width() - (showsValue_ ? valueWidth + valueSpacing : 0); }

QRectF GlassSlider::trackRect() const { return QRectF(0, (height - 6) / 2, sliderWidth(), 6); }

qreal GlassSlider::knobOffset() const {
    const double span = upper_ - lower_;
    const double f = span > 0 ? (value_ - lower_) / span : 0;
    return (sliderWidth() - knobDiameter) * std::clamp(f, 0.0, 1.0);
}

double GlassSlider::valueAt(qreal x) const {
    const qreal usable = sliderWidth() - knobDiameter;
    const double f = usable > 0 ? (x - knobDiameter / 2) / usable : 0;
    return lower_ + (upper_ - lower_) * f;
}

void GlassSlider::choose(double raw) { setValue(snap(raw, lower_, upper_, step_)); }

void GlassSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return GlassWidget::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    choose(valueAt(event->position().x()));
}

void GlassSlider::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        choose(valueAt(event->position().x()));
}

void GlassSlider::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Left) {
        choose(value_ - step_);
    } else if (event->key() == Qt::Key_Right) {
        choose(value_ + step_);
    } else {
        GlassWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void GlassSlider::focusInEvent(QFocusEvent* event) {
    GlassWidget::focusInEvent(event);
    update();
}

void GlassSlider::focusOutEvent(QFocusEvent* event) {
    GlassWidget::focusOutEvent(event);
    update();
}

void GlassSlider::paintEvent(QPaintEvent*) {
    const ColorScheme s = scheme();
    const Accent accent = environment().accent;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = trackRect();
    painter.fillPath(capsulePath(track), Surface::faintFill().resolve(s));
    strokeCapsuleInside(painter, track, Surface::track().resolve(s));
    const qreal x = knobOffset();
    const QRectF fill(0, track.top(), x + 8, track.height());
    painter.fillPath(capsulePath(fill), accent.gradient(fill, s));

    const QRectF knob(x, (height - knobDiameter) / 2, knobDiameter, knobDiameter);
    QPainterPath knobPath;
    knobPath.addEllipse(knob);
    paintShadow(painter, knobPath, Shadow{QColor::fromRgbF(0, 0, 0, 0.25f), 2, QPointF(0, 1)});
    QColor glowColor = accent.top.resolve(s);
    glowColor.setAlphaF(hasFocus() ? 0.7f : 0.3f);
    paintShadow(painter, knobPath, Shadow{glowColor, hasFocus() ? 6.0 : 4.0, QPointF()});
    painter.fillPath(knobPath, Qt::white);
    painter.setPen(QPen(QColor::fromRgbF(0, 0, 0, 0.08f), 1));
    painter.drawEllipse(knob.adjusted(0.5, 0.5, -0.5, -0.5));

    if (showsValue_) {
        const QFont font = Fonts::roundedCaption();  // the default faces have tabular digits
        painter.setFont(font);
        painter.setPen(Ink::secondary().resolve(s));
        painter.drawText(QRectF(width() - valueWidth, 0, valueWidth, height), Qt::AlignRight | Qt::AlignVCenter,
                         valueText_);
    }
}

QString GlassSlider::accessibleText(QAccessible::Text kind) const {
    switch (kind) {
    case QAccessible::Name:
        return title_;
    case QAccessible::Value:
        return valueText_;
    default:
        return {};
    }
}

QStringList GlassSlider::accessibleActions() const {
    return {QAccessibleActionInterface::increaseAction(), QAccessibleActionInterface::decreaseAction()};
}

void GlassSlider::doAccessibleAction(const QString& action) {
    if (action == QAccessibleActionInterface::increaseAction())
        choose(value_ + step_);
    else if (action == QAccessibleActionInterface::decreaseAction())
        choose(value_ - step_);
}

std::optional<AccessibleRange> GlassSlider::accessibleRange() const {
    return AccessibleRange{value_, lower_, upper_, step_};
}

void GlassSlider::setAccessibleValue(double value) { choose(value); }

}  // namespace ZantrelUI
