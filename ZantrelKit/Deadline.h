#pragma once

// Blocking work with an answer in time: the work's value when it is done within the
// limit, nothing when the limit passes (or the caller stops waiting) first. The work
// itself is never stopped; a value that arrives late is dropped. The state a run shares
// with its worker is reference-counted, so a late worker never touches freed memory.
//
// A work that throws has its exception rethrown to the caller when it comes in time (and
// dropped when late), rather than ending the process on the worker thread.

#include "platform/async/Clock.h"

#include <QCoroTask>

#include <chrono>
#include <condition_variable>
#include <coroutine>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <type_traits>
#include <utility>

namespace ZantrelKit::Deadline {

// Asked by long work whether its answer still counts: true once the run is settled (the
// limit passed or the caller stopped waiting). It never turns false again.
using IsSettled = std::function<bool()>;

// A bounded set of workers shared by its callers: at most `width` works run at once, the
// rest wait in line. Workers start when there is work and end when the line is empty;
// they share the line with the pool, so destroying the pool never waits for a hung work
// and queued jobs still run.
class Pool {
public:
    explicit Pool(int width);
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

    int width() const;
    void enqueue(std::function<void()> job);
    // Test hook: waits until no job is queued or running; false at the timeout.
    bool waitForIdle(std::chrono::milliseconds timeout);

    struct Line;  // the queue the pool shares with its workers

private:
    std::shared_ptr<Line> line_;
};

namespace detail {

template <class T>
struct Outcome {
    std::optional<T> value;
    std::exception_ptr error;
};

template <class T, class F, class... Args>
Outcome<T> capture(F& work, Args&&... args) {
    try {
        return {std::optional<T>(work(std::forward<Args>(args)...)), nullptr};
    } catch (...) {
        return {std::nullopt, std::current_exception()};
    }
}

template <class T>
std::optional<T> deliver(Outcome<T> outcome) {
    if (outcome.error)
        std::rethrow_exception(outcome.error);
    return std::move(outcome.value);
}

// A limit in seconds as a duration: negative and NaN are zero, and very long limits are
// capped at about thirty years so that no clock arithmetic overflows.
std::chrono::nanoseconds limit(double seconds);

// Resumes a suspended caller from a fresh event on the GUI thread.
void resumeOnMain(std::coroutine_handle<> handle);

// Starts a job on a thread of its own.
void startThread(std::function<void()> job);

// The one outcome of an asynchronous run: whichever of the job, the limit and the
// caller's stop comes first settles it; the caller is resumed once, outside the lock.
template <class T>
class Once {
public:
    // Keeps the suspended caller; false when the run is settled already (do not suspend).
    bool install(std::coroutine_handle<> continuation) {
        const std::lock_guard guard(lock_);
        if (result_)
            return false;
        continuation_ = continuation;
        return true;
    }

    void finish(Outcome<T> outcome) {
        std::coroutine_handle<> continuation;
        {
            const std::lock_guard guard(lock_);
            if (result_)
                return;  // settled already: this outcome is dropped
            result_ = std::move(outcome);
            continuation = std::exchange(continuation_, {});
        }
        if (continuation)
            resumeOnMain(continuation);
    }

    // Starting the run failed after the caller was kept: settles it with the error and
    // lets the caller go on at once. True when a resumption is already on its way (the
    // caller must stay suspended for it).
    bool abandon(std::exception_ptr error) {
        const std::lock_guard guard(lock_);
        if (result_)
            return true;
        result_ = Outcome<T>{std::nullopt, std::move(error)};
        continuation_ = {};
        return false;
    }

    bool isSettled() const {
        const std::lock_guard guard(lock_);
        return result_.has_value();
    }

    Outcome<T> take() {
        const std::lock_guard guard(lock_);
        return result_ ? std::move(*result_) : Outcome<T>{};
    }

private:
    mutable std::mutex lock_;
    std::coroutine_handle<> continuation_;
    std::optional<Outcome<T>> result_;
};

template <class T>
struct SuspendAwaiter {
    std::shared_ptr<Once<T>> once;
    std::function<void()> start;

    bool await_ready() const noexcept { return false; }
    bool await_suspend(std::coroutine_handle<> continuation) {
        if (!once->install(continuation))
            return false;
        try {
            start();  // no thread to be had, for instance
        } catch (...) {
            return once->abandon(std::current_exception());
        }
        return true;
    }
    void await_resume() const noexcept {}
};

// The time limit: settles the run with nothing unless `stop` ends the wait first.
template <class T>
QCoro::Task<> expire(std::shared_ptr<Once<T>> once, std::chrono::nanoseconds after, std::stop_token stop) {
    const bool elapsed = co_await Platform::Clock::shared().sleep(after, stop);
    if (elapsed)
        once->finish({});
}

// Holds the one value of a blocking run between the worker and the waiting caller.
template <class T>
class Box {
public:
    void store(Outcome<T> outcome) {
        {
            const std::lock_guard guard(lock_);
            stored_ = std::move(outcome);
        }
        ready_.notify_all();
    }

    std::optional<Outcome<T>> waitFor(std::chrono::nanoseconds timeout) {
        std::unique_lock guard(lock_);
        if (!ready_.wait_for(guard, timeout, [this] { return stored_.has_value(); }))
            return std::nullopt;
        return std::move(stored_);
    }

private:
    std::mutex lock_;
    std::condition_variable ready_;
    std::optional<Outcome<T>> stored_;
};

}  // namespace detail

// Runs `work(isSettled)` on the pool (or on a thread of its own without one) and suspends
// the caller, on the GUI thread, until the value, the limit or a stop request: nothing for
// the last two. The limit is measured on the shared Clock.
template <class F, class T = std::invoke_result_t<F&, const IsSettled&>>
QCoro::Task<std::optional<T>> run(double seconds, Pool* pool, std::stop_token stop, F work) {
    static_assert(!std::is_void_v<T>, "the work must return a value");
    auto once = std::make_shared<detail::Once<T>>();
    std::stop_source timerStop;
    {
        std::stop_callback onStop(stop, [once] { once->finish({}); });
        // Shared so that a move-only work still fits the queue's copyable jobs.
        auto shared = std::make_shared<F>(std::move(work));
        std::function<void()> job = [once, shared] {
            if (once->isSettled())
                return;  // the run ended before a worker was free: the work never starts
            const IsSettled isSettled = [once] { return once->isSettled(); };
            once->finish(detail::capture<T>(*shared, isSettled));
        };
        const std::chrono::nanoseconds after = detail::limit(seconds);
        const std::stop_token timerToken = timerStop.get_token();
        // A named awaiter: g++ 12 destroys a temporary one twice.
        detail::SuspendAwaiter<T> suspend{once, [&] {
            if (pool != nullptr)
                pool->enqueue(std::move(job));
            else
                detail::startThread(std::move(job));
            // The timer task ends by itself once it has fired or been stopped.
            QCoro::Task<> timer = detail::expire(once, after, timerToken);
        }};
        co_await suspend;
    }
    timerStop.request_stop();  // a pending limit has nothing left to decide
    co_return detail::deliver(once->take());
}

// Runs `work()` on a thread of its own and blocks the calling thread until its value or
// the limit, whichever comes first; nothing at the limit, and the worker goes on.
template <class F, class T = std::invoke_result_t<F&>>
std::optional<T> runBlocking(double seconds, F work) {
    static_assert(!std::is_void_v<T>, "the work must return a value");
    auto box = std::make_shared<detail::Box<T>>();
    auto shared = std::make_shared<F>(std::move(work));
    detail::startThread([box, shared] { box->store(detail::capture<T>(*shared)); });
    std::optional<detail::Outcome<T>> outcome = box->waitFor(detail::limit(seconds));
    if (!outcome)
        return std::nullopt;
    return detail::deliver(std::move(*outcome));
}

}  // namespace ZantrelKit::Deadline
