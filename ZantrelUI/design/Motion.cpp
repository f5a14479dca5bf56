#include "ZantrelUI/design/Motion.h"

#include "ZantrelUI/design/MotionClock.h"

#include <QWidget>

namespace ZantrelUI {

namespace MS = ZantrelKit::MotionSpec;

namespace Motion {

double Animation::progress(double seconds) const {
    const double t = seconds - delay;
    if (t <= 0)
        return 0;
    if (kind == Kind::spring)
        return MS::SpringSolver(MS::Spring{response, dampingFraction}).fraction(t);
    if (duration <= 0 || t >= duration)
        return 1;
    return timingFunction(curve)(t / duration);
}

double Animation::totalDuration() const {
    if (kind == Kind::spring)
        return delay + MS::SpringSolver(MS::Spring{response, dampingFraction}).settlingDuration();
    return delay + duration;
}

Animation plainAnimation(const MS::Timing& timing) {
    Animation animation;
    animation.duration = timing.duration;
    animation.curve = timing.curve;
    return animation;
}

Animation plainSpring(const MS::Spring& spring) {
    Animation animation;
    animation.kind = Animation::Kind::spring;
    animation.response = spring.response;
    animation.dampingFraction = spring.damping;
    return animation;
}

const Animation& hover() { static const Animation a = plainAnimation(MS::hover); return a; }
const Animation& brief() { static const Animation a = plainAnimation(MS::brief); return a; }
const Animation& step() { static const Animation a = plainAnimation(MS::step); return a; }
const Animation& glide() { static const Animation a = plainAnimation(MS::glide); return a; }
const Animation& exit() { static const Animation a = plainAnimation(MS::exit); return a; }
const Animation& slow() { static const Animation a = plainAnimation(MS::slow); return a; }
const Animation& settle() { static const Animation a = plainAnimation(MS::settle); return a; }
const Animation& drift() { static const Animation a = plainAnimation(MS::drift); return a; }
const Animation& snappy() { static const Animation a = plainSpring(MS::snappy); return a; }
const Animation& gentle() { static const Animation a = plainSpring(MS::gentle); return a; }
const Animation& quick() { static const Animation a = plainSpring(MS::quick); return a; }
const Animation& flightBack() { static const Animation a = plainSpring(MS::flightBack); return a; }
const Animation& flight() { static const Animation a = plainSpring(MS::flight); return a; }

std::optional<Animation> animation(const MS::Timing& timing, bool reduced) {
    if (!reduced)
        return plainAnimation(timing);
    if (const auto shorter = timing.reduced())
        return plainAnimation(*shorter);
    return std::nullopt;
}

std::optional<Animation> optionalSpring(const MS::Spring& spring, bool reduced) {
    if (!reduced)
        return plainSpring(spring);
    if (const auto shorter = spring.reduced())
        return plainAnimation(*shorter);
    return std::nullopt;
}

Animation spring(const MS::Spring& spring, bool reduced) {
    if (const auto chosen = optionalSpring(spring, reduced))
        return *chosen;
    return plainAnimation(MS::Timing{0.15, MS::Curve::easeInOut()});
}

TimingFunction timingFunction(const MS::Curve& curve) {
    switch (curve.kind) {
    case MS::Curve::Kind::easeOut:
        return TimingFunction::easeOut();
    case MS::Curve::Kind::easeIn:
        return TimingFunction::easeIn();
    case MS::Curve::Kind::easeInOut:
        return TimingFunction::easeInEaseOut();
    case MS::Curve::Kind::bezier:
        break;
    }
    return {static_cast<float>(curve.x1), static_cast<float>(curve.y1), static_cast<float>(curve.x2),
            static_cast<float>(curve.y2)};
}

LayerAnimation basicAnimation(const QString& keyPath, const MS::Timing& timing) {
    LayerAnimation animation;
    animation.keyPath = keyPath;
    animation.duration = timing.duration;
    animation.timing = timingFunction(timing.curve);
    return animation;
}

LayerAnimation springAnimation(const QString& keyPath, const MS::Spring& spring) {
    LayerAnimation animation;
    animation.kind = LayerAnimation::Kind::spring;
    animation.keyPath = keyPath;
    animation.mass = 1;
    animation.stiffness = MS::Spring::stiffness(spring.response);
    animation.damping = MS::Spring::dampingCoefficient(spring.response, spring.damping);
    animation.duration = MS::SpringSolver(animation.stiffness, animation.damping).settlingDuration();
    return animation;
}

}  // namespace Motion

QColor resolvedColor(const DynamicColor& color, const QWidget* widget) { return color.resolve(widget); }

AnimatedValue::AnimatedValue(double value, QObject* parent) : QObject(parent), from_(value), to_(value) {}

double AnimatedValue::value() const {
    if (!running_ || !animation_)
        return to_;
    const double f = animation_->progress(MotionClock::shared().now() - start_);
    return from_ + (to_ - from_) * f;
}

void AnimatedValue::animateTo(double target, const std::optional<Motion::Animation>& animation) {
    const double current = value();
    if (target == to_ && (running_ || current == target))
        return;
    from_ = current;
    to_ = target;
    animation_ = animation;
    if (!animation || animation->totalDuration() <= 0) {
        stop();
        Q_EMIT changed();
        return;
    }
    start_ = MotionClock::shared().now();
    if (!running_) {
        running_ = true;
        MotionClock& clock = MotionClock::shared();
        connect(&clock, &MotionClock::frame, this, &AnimatedValue::tick);
        clock.requestFrames(this);
    }
    Q_EMIT changed();
}

void AnimatedValue::tick(double now) {
    if (animation_ && now - start_ >= animation_->totalDuration()) {
        stop();
        Q_EMIT changed();
        Q_EMIT finished();
        return;
    }
    Q_EMIT changed();
}

void AnimatedValue::stop() {
    if (!running_)
        return;
    running_ = false;
    MotionClock& clock = MotionClock::shared();
    disconnect(&clock, &MotionClock::frame, this, &AnimatedValue::tick);
    clock.releaseFrames(this);
}

}  // namespace ZantrelUI
