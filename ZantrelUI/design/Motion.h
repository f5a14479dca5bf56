#pragma once

// Where the motion tokens become animations: the shared animations of views, the
// reduced-motion rule, and builders of layer animations.

#include "ZantrelKit/MotionSpec.h"
#include "ZantrelUI/design/MotionLayer.h"
#include "ZantrelUI/design/Tokens.h"

#include <QObject>
#include <QString>

#include <optional>

class QWidget;

namespace ZantrelUI {

namespace Motion {

// A view animation: a timed curve or a spring (response and damping fraction).
struct Animation {
    enum class Kind { timing, spring };

    Kind kind = Kind::timing;
    double duration = 0;  // timing
    ZantrelKit::MotionSpec::Curve curve;
    double response = 0;         // spring
    double dampingFraction = 0;  // spring
    double delay = 0;

    Animation delayed(double seconds) const {
        Animation copy = *this;
        copy.delay = seconds;
        return copy;
    }
    // Fraction of the way at `seconds` after the start (springs may overshoot).
    double progress(double seconds) const;
    // Seconds until the value rests, delay included.
    double totalDuration() const;

    friend bool operator==(const Animation&, const Animation&) = default;
};

const Animation& hover();
const Animation& brief();
const Animation& step();
const Animation& glide();
const Animation& exit();
const Animation& slow();
const Animation& settle();
const Animation& drift();
const Animation& snappy();
const Animation& gentle();
const Animation& quick();
const Animation& flightBack();
const Animation& flight();

Animation plainAnimation(const ZantrelKit::MotionSpec::Timing& timing);
Animation plainSpring(const ZantrelKit::MotionSpec::Spring& spring);
// Reduced: the reduced timing, or none (the change happens at once).
std::optional<Animation> animation(const ZantrelKit::MotionSpec::Timing& timing, bool reduced);
std::optional<Animation> optionalSpring(const ZantrelKit::MotionSpec::Spring& spring, bool reduced);
// Never none: a spring without a reduced form becomes a 0.15 s ease-in-out.
Animation spring(const ZantrelKit::MotionSpec::Spring& spring, bool reduced);

TimingFunction timingFunction(const ZantrelKit::MotionSpec::Curve& curve);
LayerAnimation basicAnimation(const QString& keyPath, const ZantrelKit::MotionSpec::Timing& timing);
// Unit mass, stiffness (2π/response)², damping 4π·fraction/response, lasting its
// settling duration.
LayerAnimation springAnimation(const QString& keyPath, const ZantrelKit::MotionSpec::Spring& spring);

}  // namespace Motion

// A colour token as drawn in one widget's appearance.
QColor resolvedColor(const DynamicColor& color, const QWidget* widget);

// One number that moves to its targets with view animations on the shared clock.
class AnimatedValue final : public QObject {
    Q_OBJECT
public:
    explicit AnimatedValue(double value = 0, QObject* parent = nullptr);

    double value() const;
    double target() const { return to_; }
    bool isAnimating() const { return running_; }
    // The animation of the current move, if one runs.
    const std::optional<Motion::Animation>& animation() const { return animation_; }

    // Moves to `target` with the animation, or at once without one.
    void animateTo(double target, const std::optional<Motion::Animation>& animation);
    void setValue(double value) { animateTo(value, std::nullopt); }

Q_SIGNALS:
    void changed();
    void finished();

private:
    void tick(double now);
    void stop();

    double from_;
    double to_;
    double start_ = 0;
    bool running_ = false;
    std::optional<Motion::Animation> animation_;
};

}  // namespace ZantrelUI
