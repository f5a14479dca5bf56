#include "ZantrelUI/design/CheckDraw.h"

#include "ZantrelKit/MotionSpec.h"
#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/design/Motion.h"
#include "ZantrelUI/design/ReduceMotion.h"
#include "ZantrelUI/design/Symbols.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace ZantrelUI {

namespace MS = ZantrelKit::MotionSpec;

namespace {

const QString opacityKey = QStringLiteral("opacity");
const QString scaleKey = QStringLiteral("transform.scale");
const QString strokeEndKey = QStringLiteral("strokeEnd");

// The polyline cut at `end` (0 to 1) of its length.
QPainterPath partialPolyline(const std::array<QPointF, 3>& points, double end) {
    QPainterPath path(points[0]);
    const double first = QLineF(points[0], points[1]).length();
    const double second = QLineF(points[1], points[2]).length();
    double left = std::clamp(end, 0.0, 1.0) * (first + second);
    if (left <= 0)
        return path;
    const double a = std::min(left, first);
    path.lineTo(QLineF(points[0], points[1]).pointAt(first > 0 ? a / first : 1));
    left -= a;
    if (left > 0)
        path.lineTo(QLineF(points[1], points[2]).pointAt(second > 0 ? std::min(left / second, 1.0) : 1));
    return path;
}

}  // namespace

CheckDrawView::CheckDrawView(Colors colors, bool reduceMotion, QWidget* parent)
    : QWidget(parent), colors_(colors), reduceMotion_(reduceMotion), disc_(QStringLiteral("disc")), check_(QStringLiteral("check")) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hideFromAccessibility(this);
    disc_.setValue(opacityKey, 0.0);  // invisible until played
    connect(&disc_, &MotionLayer::changed, this, qOverload<>(&QWidget::update));
    connect(&check_, &MotionLayer::changed, this, qOverload<>(&QWidget::update));
}

void CheckDrawView::setColors(Colors colors) {
    colors_ = colors;
    update();
}

QRectF CheckDrawView::discRect() const {
    const qreal side = std::min(width(), height());
    return QRectF((width() - side) / 2, (height() - side) / 2, side, side);
}

std::array<QPointF, 3> CheckDrawView::checkPoints() const {
    const QRectF d = discRect();
    const qreal s = d.width();
    // Down into the notch, then up to the right (given y-up, drawn y-down).
    const auto at = [&](qreal x, qreal yUp) { return QPointF(d.left() + x * s, d.top() + (1 - yUp) * s); };
    return {at(0.29, 0.52), at(0.44, 0.37), at(0.72, 0.65)};
}

qreal CheckDrawView::lineWidth() const { return std::max(0.1 * discRect().width(), 1.5); }

void CheckDrawView::play() {
    // The final state first, so the view rests in it when the animations end.
    disc_.setValue(opacityKey, 1.0);
    disc_.setValue(scaleKey, 1.0);
    check_.setValue(strokeEndKey, 1.0);
    if (reduceMotion_) {
        const MS::Timing timing = MS::quick.reduced().value_or(MS::brief);
        LayerAnimation fade = Motion::basicAnimation(opacityKey, timing);
        fade.from = 0.0;
        fade.to = 1.0;
        disc_.add(QStringLiteral("fade"), fade);
        return;
    }
    LayerAnimation grow = Motion::springAnimation(scaleKey, MS::quick);
    grow.from = 0.6;
    grow.to = 1.0;
    disc_.add(QStringLiteral("grow"), grow);
    check_.add(QStringLiteral("stroke"),
               LayerAnimation::basic(strokeEndKey, 0.0, 1.0, 0.35, TimingFunction::easeOut()));
}

bool CheckDrawView::isSettled() const {
    return check_.number(strokeEndKey) == 1 && disc_.number(scaleKey) == 1 && disc_.number(opacityKey) == 1 &&
           windowOpacity() == 1;
}

bool CheckDrawView::event(QEvent* event) {
    if (event->type() == EnvironmentChangeEvent::type())
        update();  // colours are resolved again at the next paint
    return QWidget::event(event);
}

void CheckDrawView::paintEvent(QPaintEvent*) {
    const ColorScheme s = colorScheme(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF d = discRect();
    painter.setOpacity(disc_.presentationNumber(opacityKey));
    const double scale = disc_.presentationNumber(scaleKey);
    painter.translate(d.center());
    painter.scale(scale, scale);
    painter.translate(-d.center());
    QLinearGradient gradient(d.topLeft(), d.bottomLeft());
    gradient.setColorAt(0, colors_.top.resolve(s));
    gradient.setColorAt(1, colors_.bottom.resolve(s));
    QPainterPath disc;
    disc.addEllipse(d);
    painter.fillPath(disc, gradient);
    QPen pen(colors_.ink.resolve(s), lineWidth(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(partialPolyline(checkPoints(), check_.presentationNumber(strokeEndKey)));
}

CheckDraw::CheckDraw(qreal size, QWidget* parent) : GlassWidget(parent), size_(size) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hideFromAccessibility(this);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFixedSize(static_cast<int>(std::ceil(size)), static_cast<int>(std::ceil(size)));
    rebuild();
}

QSize CheckDraw::sizeHint() const { return QSize(static_cast<int>(std::ceil(size_)), static_cast<int>(std::ceil(size_))); }

void CheckDraw::rebuild() {
    const EnvironmentValues env = environment();
    if (env.offscreen) {
        delete view_;
        view_ = nullptr;
        update();
        return;
    }
    const CheckDrawView::Colors colors{env.accent.top, env.accent.bottom, Ink::onAccent()};
    if (view_ == nullptr) {
        view_ = new CheckDrawView(colors, ReduceMotion::of(this), this);
        view_->setGeometry(rect());
        view_->show();
        if (!played_) {
            played_ = true;
            // Played once, on the next turn of the event loop after it is made.
            QMetaObject::invokeMethod(view_, &CheckDrawView::play, Qt::QueuedConnection);
        } else {
            view_->play();
        }
        return;
    }
    view_->setReduceMotion(ReduceMotion::of(this));
    view_->setColors(colors);  // an update never plays again
}

void CheckDraw::environmentChanged() {
    rebuild();
    update();
}

void CheckDraw::showEvent(QShowEvent*) {
    // A check made before its row was placed in a window learns the window's accent here:
    // a parent that is no glass widget passes no change down.
    rebuild();
}

void CheckDraw::resizeEvent(QResizeEvent*) {
    if (view_)
        view_->setGeometry(rect());
}

void CheckDraw::paintEvent(QPaintEvent*) {
    if (view_ != nullptr)
        return;
    // The still form: the gradient circle with a bold check of half its size.
    const ColorScheme s = scheme();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height());
    const QRectF circle((width() - side) / 2, (height() - side) / 2, side, side);
    QPainterPath path;
    path.addEllipse(circle);
    painter.fillPath(path, environment().accent.gradient(circle, s));
    const qreal mark = side * 0.5;
    Symbols::paint(painter, QStringLiteral("checkmark"),
                   QRectF(circle.center().x() - mark / 2, circle.center().y() - mark / 2, mark, mark),
                   Ink::onAccent().resolve(s));
}

ShimmerView::ShimmerView(bool reduceMotion, QWidget* parent)
    : QWidget(parent), reduceMotion_(reduceMotion), band_(QStringLiteral("shimmer")) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    band_.setValue(QStringLiteral("locations"), QList<double>{1, 1.15, 1.3});  // waits past the right edge
    connect(&band_, &MotionLayer::changed, this, qOverload<>(&QWidget::update));
}

QList<double> ShimmerView::locations() const {
    return std::get<QList<double>>(band_.presentation(QStringLiteral("locations")));
}

void ShimmerView::sweep() {
    if (reduceMotion_)
        return;
    band_.add(sweepKey, LayerAnimation::basic(QStringLiteral("locations"), QList<double>{-0.3, -0.15, 0},
                                              QList<double>{1, 1.15, 1.3}, 0.45, TimingFunction::easeInEaseOut()));
}

void ShimmerView::paintEvent(QPaintEvent*) {
    const QList<double> stops = locations();
    if (stops.size() != 3 || stops[0] >= 1 || stops[2] <= 0)
        return;  // out of sight
    QPainter painter(this);
    const qreal w = width();
    QLinearGradient gradient(QPointF(stops[0] * w, 0), QPointF(stops[2] * w, 0));
    const double middle = (stops[1] - stops[0]) / (stops[2] - stops[0]);
    gradient.setColorAt(0, QColor::fromRgbF(1, 1, 1, 0));
    gradient.setColorAt(middle, QColor::fromRgbF(1, 1, 1, 0.35f));
    gradient.setColorAt(1, QColor::fromRgbF(1, 1, 1, 0));
    painter.fillRect(rect(), gradient);
}

Shimmer::Shimmer(QVariant trigger, QWidget* parent) : GlassWidget(parent), last_(std::move(trigger)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hideFromAccessibility(this);
    rebuild();
}

void Shimmer::rebuild() {
    if (environment().offscreen) {
        delete view_;
        view_ = nullptr;
        return;
    }
    if (view_ == nullptr) {
        view_ = new ShimmerView(ReduceMotion::of(this), this);  // no sweep on creation
        view_->setGeometry(rect());
        view_->show();
    }
    view_->setReduceMotion(ReduceMotion::of(this));
}

void Shimmer::setTrigger(const QVariant& trigger) {
    if (trigger == last_)
        return;
    last_ = trigger;
    if (view_)
        view_->sweep();
}

void Shimmer::environmentChanged() { rebuild(); }

void Shimmer::resizeEvent(QResizeEvent*) {
    if (view_)
        view_->setGeometry(rect());
}

}  // namespace ZantrelUI
