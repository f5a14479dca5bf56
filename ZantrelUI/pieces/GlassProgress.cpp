#include "ZantrelUI/pieces/GlassProgress.h"

#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/Motion.h"
#include "ZantrelUI/design/ReduceMotion.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace ZantrelUI {

namespace {
// Room for the fill's accent shadow (radius 4) around the bar.
constexpr qreal shadowRoom = 4;
}  // namespace

GlassProgress::GlassProgress(double value, QString title, qreal height, QWidget* parent)
    : GlassWidget(parent),
      value_(value),
      title_(std::move(title)),
      height_(std::max<qreal>(height, 0)),
      shown_(new AnimatedValue(clampedFraction(value), this)) {
    ensureGlassAccessibility();
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setContentsMargins(0, 0, 0, 0);
    connect(shown_, &AnimatedValue::changed, this, qOverload<>(&QWidget::update));
}

double GlassProgress::clampedFraction(double value) {
    if (std::isnan(value))
        return 0;
    return std::clamp(value, 0.0, 1.0);
}

qreal GlassProgress::fillWidth(double fraction, qreal width, qreal height) {
    return std::max(height, clampedFraction(fraction) * std::max<qreal>(width, 0));
}

void GlassProgress::setValue(double value) {
    if (value == value_ || (std::isnan(value) && std::isnan(value_)))
        return;
    value_ = value;
    const bool reduced = ReduceMotion::of(this);
    shown_->animateTo(clampedFraction(value), Motion::optionalSpring(ZantrelKit::MotionSpec::gentle, reduced));
    update();
    QAccessibleValueChangeEvent event(this, clampedFraction(value));
    QAccessible::updateAccessibility(&event);
}

void GlassProgress::setTitle(const QString& title) {
    if (title == title_)
        return;
    title_ = title;
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

double GlassProgress::shownFraction() const { return clampedFraction(shown_->value()); }

QRectF GlassProgress::trackRect() const {
    const qreal top = (height() - height_) / 2;
    return {shadowRoom, top, std::max<qreal>(width() - 2 * shadowRoom, 0), height_};
}

QRectF GlassProgress::fillRect() const {
    const QRectF track = trackRect();
    return {track.left(), track.top(), fillWidth(shownFraction(), track.width(), height_), height_};
}

QSize GlassProgress::sizeHint() const {
    const int h = int(std::ceil(height_ + 2 * shadowRoom));
    return {120, h};
}

QSize GlassProgress::minimumSizeHint() const { return {int(std::ceil(height_ + 2 * shadowRoom)), sizeHint().height()}; }

QString GlassProgress::accessibleText(QAccessible::Text kind) const {
    if (kind == QAccessible::Name)
        return title_;
    if (kind == QAccessible::Value)
        return QString::number(qRound(clampedFraction(value_) * 100)) + QLatin1Char('%');
    return {};
}

std::optional<AccessibleRange> GlassProgress::accessibleRange() const {
    return AccessibleRange{clampedFraction(value_), 0, 1, 0};
}

void GlassProgress::paintEvent(QPaintEvent*) {
    if (height_ <= 0)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ColorScheme scheme = this->scheme();
    const QRectF track = trackRect();
    painter.fillPath(capsulePath(track), Surface::faintFill().resolve(scheme));
    strokeCapsuleInside(painter, track, Surface::track().resolve(scheme), 1);

    const Accent accent = environment().accent;
    const QRectF fill = fillRect();
    const QPainterPath fillShape = capsulePath(fill);
    paintShadow(painter, fillShape, tintedShadow(accent.top.resolve(scheme), 0.45, 4, 0));
    painter.fillPath(fillShape, accent.gradient(fill, scheme));
}

}  // namespace ZantrelUI
