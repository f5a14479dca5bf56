#include "Glyphnab/windows/GrantStatus.h"

#include "ZantrelKit/MotionSpec.h"
#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/design/LoopPieces.h"
#include "ZantrelUI/design/Motion.h"
#include "ZantrelUI/design/ReduceMotion.h"
#include "platform/async/MainThread.h"

#include <QGraphicsOpacityEffect>

namespace Glyphnab {

using namespace ZantrelUI;

namespace {

void setOpacity(QWidget* piece, double opacity) {
    if (piece == nullptr)
        return;
    // Fully shown needs no effect; an opacity effect over the check's own animated child
    // left it blank on X11.
    if (opacity >= 1) {
        piece->setGraphicsEffect(nullptr);
        return;
    }
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(piece->graphicsEffect());
    if (effect == nullptr) {
        effect = new QGraphicsOpacityEffect(piece);
        piece->setGraphicsEffect(effect);
    }
    effect->setOpacity(opacity);
}

}  // namespace

GrantStatus::GrantStatus(bool on, QWidget* parent)
    : GlassWidget(parent), on_(on), fade_(new AnimatedValue(on ? 1 : 0, this)) {
    ensureGlassAccessibility();
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (on)
        check_ = new CheckDraw(checkSize, this);
    else
        dot_ = new PulseDot(dotSize, this);
    connect(fade_, &AnimatedValue::changed, this, &GrantStatus::applyFade);
    connect(fade_, &AnimatedValue::finished, this, &GrantStatus::dropHidden);
    place();
    applyFade();
}

QSize GrantStatus::sizeHint() const { return QSize(int(side), int(side)); }

void GrantStatus::setOn(bool on) {
    Platform::assertMain();
    if (on_ == on)
        return;
    on_ = on;
    // The incoming piece is made afresh, so the check draws itself each time it comes.
    if (on && !check_) {
        check_ = new CheckDraw(checkSize, this);
        check_->show();
    }
    if (!on && !dot_) {
        dot_ = new PulseDot(dotSize, this);
        dot_->show();
    }
    place();
    applyFade();
    fade_->animateTo(on ? 1 : 0, Motion::animation(ZantrelKit::MotionSpec::step, ReduceMotion::of(this)));
    if (!fade_->isAnimating())
        dropHidden();
}

void GrantStatus::resizeEvent(QResizeEvent*) { place(); }

void GrantStatus::place() {
    const QPointF centre = QRectF(rect()).center();
    if (check_)
        check_->setGeometry(QRectF(centre - QPointF(checkSize / 2, checkSize / 2), QSizeF(checkSize, checkSize)).toRect());
    if (dot_)
        dot_->setGeometry(QRectF(centre - QPointF(dotSize / 2, dotSize / 2), QSizeF(dotSize, dotSize)).toRect());
}

void GrantStatus::applyFade() {
    const double shown = std::clamp(fade_->value(), 0.0, 1.0);
    setOpacity(check_, shown);
    setOpacity(dot_, 1 - shown);
}

void GrantStatus::dropHidden() {
    // The piece that faded out goes, so a dot no longer pulses behind the check.
    if (on_ && dot_)
        delete dot_.data();
    if (!on_ && check_)
        delete check_.data();
    applyFade();
}

}  // namespace Glyphnab
