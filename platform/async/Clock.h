#pragma once

// Every wait of the app goes through a Clock, so tests can run minutes of waiting at once.

#include <QCoroTask>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <stop_token>

namespace Platform {

class Clock {
public:
    using Duration = std::chrono::nanoseconds;
    // Time since an arbitrary start, counting time the machine was suspended.
    using TimePoint = std::chrono::nanoseconds;

    virtual ~Clock() = default;

    virtual TimePoint now() const = 0;

    // Resumes on the calling thread's event loop after `duration`; false when the stop
    // was requested first (the wait then ends early).
    virtual QCoro::Task<bool> sleep(Duration duration, std::stop_token stop = {}) = 0;

    // The process's clock: the system clock unless a test installed another.
    static Clock& shared();
    static void setShared(Clock* clock);  // nullptr restores the system clock
    static Clock& system();
};

// Time that moves only when told to. With `autoAdvance`, a sleep moves the time to its
// own end at once (on the next turn of the event loop), so long waits cost nothing.
class ManualClock final : public Clock {
public:
    explicit ManualClock(bool autoAdvance = true);
    ~ManualClock() override;

    TimePoint now() const override { return now_; }
    QCoro::Task<bool> sleep(Duration duration, std::stop_token stop = {}) override;

    // Moves the time forward and wakes every sleeper whose end has come, in order.
    void advance(Duration duration);
    std::size_t sleeperCount() const { return sleepers_.size(); }
    void setAutoAdvance(bool on) { autoAdvance_ = on; }

private:
    struct Sleeper;
    void wake(std::uint64_t id, bool completed);

    TimePoint now_{};
    bool autoAdvance_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    std::uint64_t nextId_ = 0;
    std::multimap<TimePoint, std::shared_ptr<Sleeper>> sleepers_;
};

// Installs a clock as the shared one for a scope.
class ScopedClock {
public:
    explicit ScopedClock(Clock& clock) { Clock::setShared(&clock); }
    ~ScopedClock() { Clock::setShared(nullptr); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

}  // namespace Platform
