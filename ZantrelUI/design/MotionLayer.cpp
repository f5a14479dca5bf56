#include "ZantrelUI/design/MotionLayer.h"

#include "ZantrelUI/design/MotionClock.h"

#include <algorithm>
#include <cmath>

namespace ZantrelUI {

namespace {

double lerp(double a, double b, double f) { return a + (b - a) * f; }

double asNumber(const LayerValue& value) {
    if (const double* number = std::get_if<double>(&value))
        return *number;
    return 0;
}

LayerValue restValue(const QString& path) {
    if (path == QLatin1String("transform"))
        return QTransform();
    if (path == QLatin1String("opacity") || path == QLatin1String("transform.scale") ||
        path == QLatin1String("strokeEnd"))
        return 1.0;
    return 0.0;
}

}  // namespace

LayerValue interpolate(const LayerValue& from, const LayerValue& to, double f) {
    if (from.index() != to.index())
        return f < 1 ? from : to;
    if (const double* a = std::get_if<double>(&from))
        return lerp(*a, std::get<double>(to), f);
    if (const QTransform* a = std::get_if<QTransform>(&from)) {
        const QTransform& b = std::get<QTransform>(to);
        return QTransform(lerp(a->m11(), b.m11(), f), lerp(a->m12(), b.m12(), f), lerp(a->m13(), b.m13(), f),
                          lerp(a->m21(), b.m21(), f), lerp(a->m22(), b.m22(), f), lerp(a->m23(), b.m23(), f),
                          lerp(a->m31(), b.m31(), f), lerp(a->m32(), b.m32(), f), lerp(a->m33(), b.m33(), f));
    }
    const QList<double>& a = std::get<QList<double>>(from);
    const QList<double>& b = std::get<QList<double>>(to);
    QList<double> mixed;
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
        mixed << lerp(a[i], b[i], f);
    return mixed;
}

double TimingFunction::operator()(double x) const {
    x = std::clamp(x, 0.0, 1.0);
    if (x1 == y1 && x2 == y2)
        return x;  // linear
    // Solve bx(t) = x for t, then answer by(t).
    const auto bezier = [](double t, double p1, double p2) {
        const double u = 1 - t;
        return 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t;
    };
    double lo = 0, hi = 1, t = x;
    for (int i = 0; i < 60; ++i) {
        const double bx = bezier(t, x1, x2);
        if (std::abs(bx - x) < 1e-7)
            break;
        if (bx < x)
            lo = t;
        else
            hi = t;
        t = (lo + hi) / 2;
    }
    return bezier(t, y1, y2);
}

LayerAnimation LayerAnimation::basic(QString keyPath, LayerValue from, LayerValue to, double duration,
                                     TimingFunction timing) {
    LayerAnimation animation;
    animation.keyPath = std::move(keyPath);
    animation.from = std::move(from);
    animation.to = std::move(to);
    animation.duration = duration;
    animation.timing = timing;
    return animation;
}

LayerAnimation LayerAnimation::group(std::vector<LayerAnimation> animations, double duration) {
    LayerAnimation animation;
    animation.kind = Kind::group;
    animation.animations = std::move(animations);
    animation.duration = duration;
    return animation;
}

double LayerAnimation::activeDuration() const {
    if (repeatsForever())
        return forever;
    return duration * (autoreverses ? 2 : 1) * std::max(repeatCount, 0.0);
}

bool LayerAnimation::drives(const QString& path) const {
    if (kind != Kind::group)
        return keyPath == path;
    return std::any_of(animations.begin(), animations.end(), [&](const LayerAnimation& a) { return a.drives(path); });
}

std::optional<LayerValue> LayerAnimation::valueAt(const QString& path, double local) const {
    if (!drives(path) || local < 0)
        return std::nullopt;
    if (kind == Kind::spring) {
        if (local >= duration && !fillForwards)
            return std::nullopt;
        const ZantrelKit::MotionSpec::SpringSolver solver(stiffness, damping, mass);
        const double settling = solver.settlingDuration();
        const double t = fitsDuration && duration > 0 ? local * settling / duration : local;
        return interpolate(from, to, solver.fraction(t));
    }
    double progress;  // 0…1 inside one cycle
    const double total = activeDuration();
    if (local >= total) {
        if (!fillForwards)
            return std::nullopt;
        progress = autoreverses ? 0 : 1;
    } else if (duration <= 0) {
        progress = 1;
    } else {
        const double cycle = duration * (autoreverses ? 2 : 1);
        double phase = std::fmod(local, cycle) / duration;
        if (phase > 1)
            phase = 2 - phase;
        progress = phase;
    }
    const double eased = timing(progress);
    if (kind == Kind::group) {
        std::optional<LayerValue> found;
        for (const LayerAnimation& member : animations) {
            if (auto value = member.valueAt(path, eased * duration))
                found = std::move(value);
        }
        return found;
    }
    return interpolate(from, to, eased);
}

MotionLayer::MotionLayer(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {}

void MotionLayer::setValue(const QString& path, LayerValue value) {
    values_[path] = std::move(value);
    Q_EMIT changed();
}

LayerValue MotionLayer::value(const QString& path) const {
    const auto found = values_.find(path);
    return found == values_.end() ? restValue(path) : found->second;
}

double MotionLayer::number(const QString& path) const { return asNumber(value(path)); }

void MotionLayer::add(const QString& key, LayerAnimation animation) {
    remove(key);
    animation.beginTime = MotionClock::shared().now() + std::max(0.0, animation.delay);
    if (animation.kind == LayerAnimation::Kind::spring && !animation.fitsDuration)
        animation.duration = ZantrelKit::MotionSpec::SpringSolver(animation.stiffness, animation.damping, animation.mass)
                                 .settlingDuration();
    animations_.emplace_back(key, std::move(animation));
    keepFrames();
    Q_EMIT changed();
}

void MotionLayer::remove(const QString& key) {
    const auto before = animations_.size();
    std::erase_if(animations_, [&](const auto& entry) { return entry.first == key; });
    if (animations_.size() != before) {
        keepFrames();
        Q_EMIT changed();
    }
}

void MotionLayer::removeAll() {
    if (animations_.empty())
        return;
    animations_.clear();
    keepFrames();
    Q_EMIT changed();
}

const LayerAnimation* MotionLayer::animation(const QString& key) const {
    for (const auto& [name, animation] : animations_) {
        if (name == key)
            return &animation;
    }
    return nullptr;
}

QStringList MotionLayer::animationKeys() const {
    QStringList keys;
    for (const auto& entry : animations_)
        keys << entry.first;
    return keys;
}

LayerValue MotionLayer::presentation(const QString& path) const {
    LayerValue shown = value(path);
    const double now = MotionClock::shared().now();
    for (const auto& [key, animation] : animations_) {
        if (auto animated = animation.valueAt(path, now - animation.beginTime))
            shown = std::move(*animated);
    }
    return shown;
}

double MotionLayer::presentationNumber(const QString& path) const { return asNumber(presentation(path)); }

void MotionLayer::tick(double now) {
    // Finished animations leave, unless they asked to stay.
    std::erase_if(animations_, [now](const auto& entry) {
        const LayerAnimation& a = entry.second;
        return a.removedOnCompletion && now - a.beginTime >= a.activeDuration();
    });
    keepFrames();
    Q_EMIT changed();
}

void MotionLayer::keepFrames() {
    MotionClock& clock = MotionClock::shared();
    const double now = clock.now();
    const bool moving = std::any_of(animations_.begin(), animations_.end(), [now](const auto& entry) {
        return now - entry.second.beginTime < entry.second.activeDuration() || entry.second.removedOnCompletion;
    });
    if (moving && !subscribed_) {
        connect(&clock, &MotionClock::frame, this, &MotionLayer::tick);
        clock.requestFrames(this);
        subscribed_ = true;
    } else if (!moving && subscribed_) {
        disconnect(&clock, &MotionClock::frame, this, &MotionLayer::tick);
        clock.releaseFrames(this);
        subscribed_ = false;
    }
}

}  // namespace ZantrelUI
