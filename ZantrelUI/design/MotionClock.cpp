#include "ZantrelUI/design/MotionClock.h"

#include <QElapsedTimer>
#include <QTimer>

#include <unordered_map>

namespace ZantrelUI {

namespace {
MotionClock* installed = nullptr;
}

MotionClock& MotionClock::shared() {
    if (installed != nullptr)
        return *installed;
    static SystemMotionClock* system = new SystemMotionClock();  // lives for the process
    return *system;
}

void MotionClock::setShared(MotionClock* clock) { installed = clock; }

void MotionClock::requestFrames(QObject* who) {
    if (who == nullptr || subscribers_.contains(who))
        return;
    const bool first = subscribers_.empty();
    subscribers_.insert(who);
    connect(who, &QObject::destroyed, this, [this, who] { releaseFrames(who); });
    if (first)
        framesWanted(true);
}

void MotionClock::releaseFrames(QObject* who) {
    if (subscribers_.erase(who) == 0)
        return;
    disconnect(who, &QObject::destroyed, this, nullptr);
    if (subscribers_.empty())
        framesWanted(false);
}

struct SystemMotionClock::Impl {
    QElapsedTimer elapsed;
    QTimer ticker;
    TimerId nextId = 1;
    std::unordered_map<TimerId, QPointer<QTimer>> timers;
};

SystemMotionClock::SystemMotionClock() : impl_(std::make_shared<Impl>()) {
    impl_->elapsed.start();
    impl_->ticker.setInterval(16);
    impl_->ticker.setTimerType(Qt::PreciseTimer);
    connect(&impl_->ticker, &QTimer::timeout, this, [this] { Q_EMIT frame(now()); });
}

double SystemMotionClock::now() const { return impl_->elapsed.nsecsElapsed() / 1e9; }

void SystemMotionClock::framesWanted(bool wanted) {
    if (wanted)
        impl_->ticker.start();
    else
        impl_->ticker.stop();
}

MotionClock::TimerId SystemMotionClock::schedule(double seconds, QObject* guard, std::function<void()> action) {
    const TimerId id = impl_->nextId++;
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QPointer<QObject> watched(guard);
    const bool guarded = guard != nullptr;
    std::weak_ptr<Impl> weak = impl_;
    connect(timer, &QTimer::timeout, this, [weak, id, timer, watched, guarded, action = std::move(action)] {
        if (const auto impl = weak.lock())
            impl->timers.erase(id);
        timer->deleteLater();
        if (!guarded || watched)
            action();
    });
    impl_->timers.emplace(id, timer);
    timer->start(static_cast<int>(std::max(0.0, seconds) * 1000 + 0.5));
    return id;
}

void SystemMotionClock::cancel(TimerId id) {
    const auto found = impl_->timers.find(id);
    if (found == impl_->timers.end())
        return;
    if (found->second) {
        found->second->stop();
        found->second->deleteLater();
    }
    impl_->timers.erase(found);
}

MotionClock::TimerId ManualMotionClock::schedule(double seconds, QObject* guard, std::function<void()> action) {
    const TimerId id = nextId_++;
    timers_.emplace(now_ + std::max(0.0, seconds), Timer{id, guard, guard != nullptr, std::move(action)});
    return id;
}

void ManualMotionClock::cancel(TimerId id) {
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->second.id == id) {
            timers_.erase(it);
            return;
        }
    }
}

void ManualMotionClock::fireDue() {
    while (!timers_.empty() && timers_.begin()->first <= now_ + 1e-9) {
        Timer timer = std::move(timers_.begin()->second);
        timers_.erase(timers_.begin());
        if (!timer.guarded || timer.guard)
            timer.action();
    }
}

void ManualMotionClock::advance(double seconds) {
    const double end = now_ + seconds;
    while (now_ < end - 1e-12) {
        double next = std::min(end, now_ + frameInterval);
        if (!timers_.empty() && timers_.begin()->first < next)
            next = std::max(now_, timers_.begin()->first);
        now_ = next;
        fireDue();
        if (wantsFrames())
            Q_EMIT frame(now_);
    }
    fireDue();
}

}  // namespace ZantrelUI
