#pragma once

// A small layer model for painted widgets: model values by key path, and explicit
// animations added under keys that run on the shared MotionClock. The widget paints the
// presentation values; the keys say what is running, so tests can look.

#include "ZantrelKit/MotionSpec.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTransform>

#include <limits>
#include <map>
#include <optional>
#include <variant>
#include <vector>

namespace ZantrelUI {

using LayerValue = std::variant<double, QTransform, QList<double>>;

LayerValue interpolate(const LayerValue& from, const LayerValue& to, double fraction);

// A cubic timing curve through (0, 0) and (1, 1).
struct TimingFunction {
    float x1 = 0, y1 = 0, x2 = 1, y2 = 1;  // linear by default

    static constexpr TimingFunction linear() { return {0, 0, 1, 1}; }
    static constexpr TimingFunction easeIn() { return {0.42f, 0, 1, 1}; }
    static constexpr TimingFunction easeOut() { return {0, 0, 0.58f, 1}; }
    static constexpr TimingFunction easeInEaseOut() { return {0.42f, 0, 0.58f, 1}; }

    // Progress at the fraction `x` of the duration.
    double operator()(double x) const;

    friend constexpr bool operator==(const TimingFunction&, const TimingFunction&) = default;
};

struct LayerAnimation {
    static constexpr double forever = std::numeric_limits<double>::infinity();

    enum class Kind { basic, spring, group };

    Kind kind = Kind::basic;
    QString keyPath;
    LayerValue from = 0.0;
    LayerValue to = 1.0;
    double duration = 0.25;
    TimingFunction timing = TimingFunction::linear();
    bool autoreverses = false;
    double repeatCount = 1;  // `forever` loops without end
    bool fillForwards = false;
    bool removedOnCompletion = true;
    // Seconds after being added before it starts.
    double delay = 0;
    // Spring physics (unit mass unless set); the duration is the settling duration, unless
    // `fitsDuration` squeezes the spring's motion into the given duration.
    bool fitsDuration = false;
    double mass = 1;
    double stiffness = 0;
    double damping = 0;
    // Group members, timed inside the group.
    std::vector<LayerAnimation> animations;
    // Set when added to a layer.
    double beginTime = 0;

    static LayerAnimation basic(QString keyPath, LayerValue from, LayerValue to, double duration,
                                TimingFunction timing = TimingFunction::linear());
    static LayerAnimation group(std::vector<LayerAnimation> animations, double duration);

    bool repeatsForever() const { return repeatCount == forever; }
    // Seconds from the start to the end, `forever` for a loop.
    double activeDuration() const;
    // The value for `path` at `local` seconds after the start; none when this animation
    // does not drive the path then.
    std::optional<LayerValue> valueAt(const QString& path, double local) const;
    bool drives(const QString& path) const;
};

class MotionLayer final : public QObject {
    Q_OBJECT
public:
    explicit MotionLayer(QString name = {}, QObject* parent = nullptr);

    const QString& name() const { return name_; }

    // Model values; unset paths read their natural rest value (opacity 1, scale 1, …).
    void setValue(const QString& path, LayerValue value);
    LayerValue value(const QString& path) const;
    double number(const QString& path) const;

    void add(const QString& key, LayerAnimation animation);
    void remove(const QString& key);
    void removeAll();
    const LayerAnimation* animation(const QString& key) const;
    bool hasAnimation(const QString& key) const { return animation(key) != nullptr; }
    QStringList animationKeys() const;

    // What is on screen now: the model value, overridden by the running animations.
    LayerValue presentation(const QString& path) const;
    double presentationNumber(const QString& path) const;

Q_SIGNALS:
    // Something visible changed; the owner repaints.
    void changed();

private:
    void tick(double now);
    void keepFrames();

    QString name_;
    std::map<QString, LayerValue> values_;
    std::vector<std::pair<QString, LayerAnimation>> animations_;  // in the order added
    bool subscribed_ = false;
};

}  // namespace ZantrelUI
