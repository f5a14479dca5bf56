#include "ZantrelUI/design/LoopPieces.h"

#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/design/ReduceMotion.h"
#include "ZantrelUI/design/Symbols.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace ZantrelUI {

LoopPiece::LoopPiece(QWidget* parent) : GlassWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hideFromAccessibility(this);
}

void LoopPiece::build() {
    if (environment().offscreen) {
        if (view_ != nullptr) {
            delete view_;
            view_ = nullptr;
        }
        update();
        return;
    }
    if (view_ == nullptr) {
        view_ = new LoopLayerView(std::nullopt, ReduceMotion::of(this), this);
        configure(*view_);
        view_->setLoop(makeLoop());
        view_->setGeometry(rect());
        view_->show();
    }
    view_->setReduceMotion(ReduceMotion::of(this));  // a running loop is not restarted
    view_->setDraw([this](LoopLayerView& view, QPainter& painter) { drawLayer(view, painter); });
}

void LoopPiece::paintEvent(QPaintEvent*) {
    if (view_ != nullptr)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintStill(painter);
}

void LoopPiece::resizeEvent(QResizeEvent*) {
    if (view_ != nullptr)
        view_->setGeometry(rect());
}

void LoopPiece::environmentChanged() {
    build();
    update();
}

PulseDot::PulseDot(qreal size, QWidget* parent) : LoopPiece(parent), size_(size) {
    setFixedSize(static_cast<int>(std::ceil(size)), static_cast<int>(std::ceil(size)));
    build();
}

LayerAnimation PulseDot::loop() {
    LayerAnimation pulse = LayerAnimation::basic(QStringLiteral("opacity"), 1.0, 0.35, 0.9, TimingFunction::easeInEaseOut());
    pulse.autoreverses = true;
    pulse.repeatCount = LayerAnimation::forever;
    return pulse;
}

void PulseDot::drawLayer(LoopLayerView& view, QPainter& painter) {
    painter.setOpacity(view.loopLayer().presentationNumber(QStringLiteral("opacity")));
    const qreal side = std::min(view.width(), view.height());
    painter.setBrush(environment().accent.top.resolve(colorScheme(&view)));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0, 0, view.width(), view.height()), side / 2, side / 2);
}

void PulseDot::paintStill(QPainter& painter) {
    painter.setBrush(environment().accent.top.resolve(scheme()));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(rect()).adjusted(0, 0, 0, 0));
}

PulseGlyph::PulseGlyph(QString symbol, qreal size, DynamicColor color, QWidget* parent)
    : LoopPiece(parent), symbol_(std::move(symbol)), size_(size), color_(color) {
    const int side = static_cast<int>(std::ceil(1.4 * size));
    setFixedSize(side, side);
    build();
}

LayerAnimation PulseGlyph::loop() {
    LayerAnimation group = LayerAnimation::group(
        {LayerAnimation::basic(QStringLiteral("transform.scale"), 0.94, 1.08, 1.1),
         LayerAnimation::basic(QStringLiteral("opacity"), 0.75, 1.0, 1.1)},
        1.1);
    group.timing = TimingFunction::easeInEaseOut();
    group.autoreverses = true;
    group.repeatCount = LayerAnimation::forever;
    return group;
}

void PulseGlyph::paintSymbol(QPainter& painter, double scale) {
    const QPointF centre = QRectF(rect()).center();
    const qreal side = size_ * scale;
    // An unknown symbol name leaves the layer empty.
    Symbols::paint(painter, symbol_, QRectF(centre.x() - side / 2, centre.y() - side / 2, side, side),
                   color_.resolve(scheme()));
}

void PulseGlyph::drawLayer(LoopLayerView& view, QPainter& painter) {
    painter.setOpacity(view.loopLayer().presentationNumber(QStringLiteral("opacity")));
    paintSymbol(painter, view.loopLayer().presentationNumber(QStringLiteral("transform.scale")));
}

void PulseGlyph::paintStill(QPainter& painter) { paintSymbol(painter, 1); }

FlowDashes::FlowDashes(QPointF from, QPointF to, DynamicColor color, double cyclesPerSecond, qreal lineWidth,
                       QWidget* parent)
    : LoopPiece(parent), from_(from), to_(to), color_(color), cycles_(cyclesPerSecond), lineWidth_(lineWidth) {
    build();
}

std::optional<LayerAnimation> FlowDashes::loop(double cyclesPerSecond) {
    if (!(cyclesPerSecond > 0))
        return std::nullopt;  // still dashes
    // One dash period is 14 points: the phase moves one period per cycle.
    LayerAnimation march = LayerAnimation::basic(QStringLiteral("lineDashPhase"), 0.0, -14.0, 1 / cyclesPerSecond);
    march.repeatCount = LayerAnimation::forever;
    return march;
}

void FlowDashes::setCyclesPerSecond(double cyclesPerSecond) {
    cycles_ = cyclesPerSecond;
    LoopLayerView* view = loopView();
    if (view == nullptr)
        return;
    const auto& current = view->loop();
    const bool same = current && current->kind == LayerAnimation::Kind::basic && cyclesPerSecond > 0 &&
                      current->duration == 1 / cyclesPerSecond;
    if (!same)
        view->setLoop(loop(cyclesPerSecond));  // clears `expired` and restarts
    view->redraw();
}

QLineF FlowDashes::line() const {
    return QLineF(from_.x() * width(), from_.y() * height(), to_.x() * width(), to_.y() * height());
}

void FlowDashes::paintDashes(QPainter& painter, double phase) {
    QPen pen(color_.resolve(scheme()), lineWidth_, Qt::CustomDashLine, Qt::RoundCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    // Qt counts dashes in line widths.
    const qreal unit = lineWidth_ > 0 ? lineWidth_ : 1;
    pen.setDashPattern({3 / unit, 11 / unit});
    pen.setDashOffset(phase / unit);
    painter.setPen(pen);
    painter.drawLine(line());
}

void FlowDashes::drawLayer(LoopLayerView& view, QPainter& painter) {
    paintDashes(painter, view.loopLayer().presentationNumber(QStringLiteral("lineDashPhase")));
}

void FlowDashes::paintStill(QPainter& painter) { paintDashes(painter, 0); }

TurningRing::TurningRing(DynamicColor color, qreal line, double turnsFor, QWidget* parent)
    : LoopPiece(parent), color_(color), line_(line), turnsFor_(turnsFor) {
    build();
}

LayerAnimation TurningRing::loop() {
    LayerAnimation turn = LayerAnimation::basic(QStringLiteral("transform.rotation.z"), 0.0, -2 * std::numbers::pi, 2.4);
    turn.repeatCount = LayerAnimation::forever;
    return turn;
}

void TurningRing::setColor(const DynamicColor& color) {
    if (color_ == color)
        return;
    color_ = color;
    if (loopView() != nullptr)
        loopView()->redraw();
    update();
}

qreal TurningRing::dash(qreal side, qreal line) { return (side - line) * std::numbers::pi / 20; }

void TurningRing::configure(LoopLayerView& view) { view.setStopsAfter(turnsFor_); }

void TurningRing::paintRing(QPainter& painter, double rotation) {
    const qreal side = std::min(width(), height());
    const QRectF ring(line_ / 2 + (width() - side) / 2, line_ / 2 + (height() - side) / 2, side - line_, side - line_);
    painter.translate(ring.center());
    // Layer rotation is counter-clockwise in y-up space; −2π is one clockwise turn on screen.
    painter.rotate(-rotation * 180 / std::numbers::pi);
    painter.translate(-ring.center());
    QPen pen(color_.resolve(scheme()), line_, Qt::CustomDashLine, Qt::RoundCap);
    const qreal unit = line_ > 0 ? line_ : 1;
    const qreal d = dash(side, line_) / unit;
    pen.setDashPattern({d, d});
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(ring);
}

void TurningRing::drawLayer(LoopLayerView& view, QPainter& painter) {
    paintRing(painter, view.loopLayer().presentationNumber(QStringLiteral("transform.rotation.z")));
}

void TurningRing::paintStill(QPainter& painter) { paintRing(painter, 0); }

}  // namespace ZantrelUI
