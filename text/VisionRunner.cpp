#include "text/VisionRunner.h"

#include "platform/async/MainThread.h"
#include "platform/async/Worker.h"

#include <QCoreApplication>
#include <QtConcurrent/QtConcurrentRun>

#include <mutex>

namespace ZantrelText {

using namespace std::chrono_literals;

struct detail::RunAttempt::State {
    enum class Outcome { pending, finished, failed, stalled, cancelled };

    std::function<void(std::stop_token)> work;
    Duration ceiling{};
    Platform::Clock* clock = nullptr;
    std::stop_token caller;

    std::mutex mutex;
    Outcome outcome = Outcome::pending;
    std::exception_ptr error;
    std::coroutine_handle<> handle;

    std::stop_source workStop;
    std::stop_source clockStop;
    std::optional<std::stop_callback<std::function<void()>>> onCallerStop;
};

namespace {

using State = detail::RunAttempt::State;

// The first report decides the attempt; the awaiter resumes from a fresh event on the
// GUI thread, never from inside the worker, the timer or the stop callback.
void decide(const std::shared_ptr<State>& state, State::Outcome outcome, std::exception_ptr error = {}) {
    {
        const std::lock_guard lock(state->mutex);
        if (state->outcome != State::Outcome::pending)
            return;
        state->outcome = outcome;
        state->error = std::move(error);
    }
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [state] {
            state->handle.resume();
        },
        Qt::QueuedConnection);
}

QCoro::Task<> runClock(std::shared_ptr<State> state) {
    // Ended early or not, the end of the sleep reports a stall; after the first report
    // it changes nothing.
    co_await state->clock->sleep(state->ceiling, state->clockStop.get_token());
    decide(state, State::Outcome::stalled);
}

}  // namespace

const VisionRunner& VisionRunner::shared() {
    static const VisionRunner runner(300s);
    return runner;
}

detail::RunAttempt::RunAttempt(std::function<void(std::stop_token)> work, Duration ceiling, Platform::Clock& clock,
                               std::stop_token caller)
    : state_(std::make_shared<State>()) {
    state_->work = std::move(work);
    state_->ceiling = ceiling;
    state_->clock = &clock;
    state_->caller = std::move(caller);
}

void detail::RunAttempt::await_suspend(std::coroutine_handle<> handle) {
    Platform::assertMain();
    const std::shared_ptr<State> state = state_;
    state->handle = handle;
    if (state->caller.stop_requested()) {
        decide(state, State::Outcome::cancelled);
        return;
    }
    const std::weak_ptr<State> weak = state;
    state->onCallerStop.emplace(state->caller, std::function<void()>([weak] {
                                    if (const auto strong = weak.lock())
                                        decide(strong, State::Outcome::cancelled);
                                }));
    // The future is not kept: the attempt hears from the work through its state.
    (void)QtConcurrent::run(&Platform::workerPool(), [state, token = state->workStop.get_token()] {
        try {
            state->work(token);
            decide(state, State::Outcome::finished);
        } catch (...) {
            decide(state, State::Outcome::failed, std::current_exception());
        }
    });
    runClock(state);
}

void detail::RunAttempt::await_resume() {
    state_->onCallerStop.reset();
    // Whichever lost the race is stopped: a stalled recognizer ends its work, and the
    // clock of a finished one stops ticking.
    state_->workStop.request_stop();
    state_->clockStop.request_stop();
    State::Outcome outcome;
    std::exception_ptr error;
    {
        const std::lock_guard lock(state_->mutex);
        outcome = state_->outcome;
        error = state_->error;
    }
    switch (outcome) {
    case State::Outcome::finished:
        return;
    case State::Outcome::failed:
        std::rethrow_exception(error);
    case State::Outcome::stalled:
        throw VisionRunner::Stalled{};
    case State::Outcome::cancelled:
    case State::Outcome::pending:
        throw Platform::CancellationError{};
    }
}

}  // namespace ZantrelText
