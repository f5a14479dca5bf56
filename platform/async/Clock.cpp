#include "platform/async/Clock.h"

#include "platform/async/MainThread.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <sys/timerfd.h>
#include <unistd.h>

#include <atomic>
#include <coroutine>
#include <ctime>
#include <mutex>
#include <optional>

namespace Platform {
namespace {

// A one-shot timer on CLOCK_BOOTTIME: time the machine spends suspended counts towards it,
// as it does for `now()`. (A QTimer runs on CLOCK_MONOTONIC, which stops in suspend.)
class BootTimer {
public:
    BootTimer(std::chrono::nanoseconds after, std::function<void()> fired)
        : fd_(timerfd_create(CLOCK_BOOTTIME, TFD_NONBLOCK | TFD_CLOEXEC)) {
        if (fd_ < 0) {
            // No timer to be had: fire at once rather than never.
            QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(fired), Qt::QueuedConnection);
            return;
        }
        // An all-zero value would disarm the timer: wait at least a nanosecond.
        const auto wait = std::max(after, std::chrono::nanoseconds(1));
        itimerspec spec{};
        spec.it_value.tv_sec = static_cast<time_t>(std::chrono::duration_cast<std::chrono::seconds>(wait).count());
        spec.it_value.tv_nsec = static_cast<long>((wait % std::chrono::seconds(1)).count());
        timerfd_settime(fd_, 0, &spec, nullptr);
        notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this, fired = std::move(fired)] {
            notifier_->setEnabled(false);
            fired();
        });
    }
    ~BootTimer() {
        notifier_.reset();
        if (fd_ >= 0)
            ::close(fd_);
    }
    BootTimer(const BootTimer&) = delete;
    BootTimer& operator=(const BootTimer&) = delete;

    void stop() {
        if (notifier_)
            notifier_->setEnabled(false);
    }

private:
    int fd_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

// One suspended sleep. The coroutine is always resumed from a fresh event on the GUI
// thread, never from inside the timer or the stop callback, so whatever the coroutine
// tears down afterwards is not on the stack.
struct SleepState {
    std::coroutine_handle<> handle;
    std::mutex mutex;
    bool finished = false;
    bool completed = false;
    std::unique_ptr<BootTimer> timer;
};

void finish(const std::shared_ptr<SleepState>& state, bool completed) {
    {
        const std::lock_guard lock(state->mutex);
        if (state->finished)
            return;
        state->finished = true;
        state->completed = completed;
    }
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [state] {
            if (state->timer)
                state->timer->stop();
            if (state->handle)
                state->handle.resume();
        },
        Qt::QueuedConnection);
}

struct SleepAwaiter {
    std::shared_ptr<SleepState> state;
    std::function<void(std::shared_ptr<SleepState>)> start;

    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> handle) {
        state->handle = handle;
        start(state);
    }
    bool await_resume() const noexcept { return state->completed; }
};

class SystemClock final : public Clock {
public:
    TimePoint now() const override {
        timespec ts{};
        clock_gettime(CLOCK_BOOTTIME, &ts);
        return std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec);
    }

    QCoro::Task<bool> sleep(Duration duration, std::stop_token stop) override {
        assertMain();
        if (stop.stop_requested())
            co_return false;
        auto state = std::make_shared<SleepState>();
        std::weak_ptr<SleepState> weak = state;
        std::stop_callback onStop(stop, [weak] {
            if (auto strong = weak.lock())
                finish(strong, false);
        });
        const Duration wait = std::max(duration, Duration::zero());
        // A named awaiter: g++ 12 destroys a temporary one twice.
        SleepAwaiter awaiter{state, [wait](std::shared_ptr<SleepState> s) {
            std::weak_ptr<SleepState> weakState = s;
            s->timer = std::make_unique<BootTimer>(wait, [weakState] {
                if (auto strong = weakState.lock())
                    finish(strong, true);
            });
        }};
        const bool completed = co_await awaiter;
        co_return completed;
    }
};

std::atomic<Clock*> sharedClock{nullptr};

}  // namespace

Clock& Clock::system() {
    static SystemClock clock;
    return clock;
}

Clock& Clock::shared() {
    Clock* clock = sharedClock.load();
    return clock != nullptr ? *clock : system();
}

void Clock::setShared(Clock* clock) { sharedClock.store(clock); }

struct ManualClock::Sleeper {
    std::uint64_t id = 0;
    std::shared_ptr<SleepState> state;
};

ManualClock::ManualClock(bool autoAdvance) : autoAdvance_(autoAdvance) {}

ManualClock::~ManualClock() {
    // Sleepers left at the end never resume; their frames belong to their tasks.
    sleepers_.clear();
}

QCoro::Task<bool> ManualClock::sleep(Duration duration, std::stop_token stop) {
    assertMain();
    if (stop.stop_requested())
        co_return false;
    auto state = std::make_shared<SleepState>();
    const std::uint64_t id = ++nextId_;
    const TimePoint end = now_ + std::max(duration, Duration::zero());
    std::weak_ptr<int> alive = alive_;
    std::stop_callback onStop(stop, [this, id, alive] {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [this, id, alive] {
                if (!alive.expired())
                    wake(id, false);
            },
            Qt::QueuedConnection);
    });
    SleepAwaiter awaiter{state, [this, id, end, alive](std::shared_ptr<SleepState> s) {
        sleepers_.emplace(end, std::make_shared<Sleeper>(Sleeper{id, s}));
        if (autoAdvance_) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [this, end, alive] {
                    if (alive.expired())
                        return;
                    if (end > now_)
                        advance(end - now_);
                    else
                        advance(Duration::zero());
                },
                Qt::QueuedConnection);
        }
    }};
    const bool completed = co_await awaiter;
    co_return completed;
}

void ManualClock::advance(Duration duration) {
    now_ += std::max(duration, Duration::zero());
    while (!sleepers_.empty() && sleepers_.begin()->first <= now_) {
        const auto sleeper = sleepers_.begin()->second;
        sleepers_.erase(sleepers_.begin());
        finish(sleeper->state, true);
    }
}

void ManualClock::wake(std::uint64_t id, bool completed) {
    for (auto it = sleepers_.begin(); it != sleepers_.end(); ++it) {
        if (it->second->id == id) {
            const auto sleeper = it->second;
            sleepers_.erase(it);
            finish(sleeper->state, completed);
            return;
        }
    }
}

}  // namespace Platform
