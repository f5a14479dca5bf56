#pragma once

// The time every animation of the kit runs on: frames while something moves, and
// one-shot timers. The app uses the system clock; tests install a manual one and move it
// by hand, so no test waits in real time.

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <map>
#include <set>

namespace ZantrelUI {

class MotionClock : public QObject {
    Q_OBJECT
public:
    using TimerId = std::uint64_t;

    static MotionClock& shared();
    static void setShared(MotionClock* clock);  // nullptr restores the system clock

    // Seconds since an arbitrary start.
    virtual double now() const = 0;

    // `who` wants a frame signal on every tick until it releases them (or is destroyed).
    void requestFrames(QObject* who);
    void releaseFrames(QObject* who);
    bool wantsFrames() const { return !subscribers_.empty(); }

    // Runs `action` once after `seconds`, unless `guard` is gone by then or it is cancelled.
    virtual TimerId schedule(double seconds, QObject* guard, std::function<void()> action) = 0;
    virtual void cancel(TimerId id) = 0;

Q_SIGNALS:
    void frame(double now);

protected:
    virtual void framesWanted(bool wanted) = 0;

private:
    std::set<QObject*> subscribers_;
};

// Real time: frames from a 60 Hz timer while wanted; timers from QTimer.
class SystemMotionClock final : public MotionClock {
public:
    SystemMotionClock();
    double now() const override;
    TimerId schedule(double seconds, QObject* guard, std::function<void()> action) override;
    void cancel(TimerId id) override;

protected:
    void framesWanted(bool wanted) override;

private:
    struct Impl;
    std::shared_ptr<Impl> impl_;
};

// Time that moves only when told: `advance` steps through it frame by frame, firing the
// timers that fall due in order.
class ManualMotionClock final : public MotionClock {
public:
    static constexpr double frameInterval = 1.0 / 60;

    double now() const override { return now_; }
    TimerId schedule(double seconds, QObject* guard, std::function<void()> action) override;
    void cancel(TimerId id) override;

    void advance(double seconds);
    std::size_t pendingTimers() const { return timers_.size(); }

protected:
    void framesWanted(bool) override {}

private:
    struct Timer {
        TimerId id;
        QPointer<QObject> guard;
        bool guarded;
        std::function<void()> action;
    };
    void fireDue();

    double now_ = 0;
    TimerId nextId_ = 1;
    std::multimap<double, Timer> timers_;
};

// Installs a clock as the shared one for a scope.
class ScopedMotionClock {
public:
    explicit ScopedMotionClock(MotionClock& clock) { MotionClock::setShared(&clock); }
    ~ScopedMotionClock() { MotionClock::setShared(nullptr); }
    ScopedMotionClock(const ScopedMotionClock&) = delete;
    ScopedMotionClock& operator=(const ScopedMotionClock&) = delete;
};

}  // namespace ZantrelUI
