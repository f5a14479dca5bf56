#pragma once

// Every recognition request runs through one runner: a ceiling on each attempt, so a
// stuck recognizer releases its caller, and one retry on the CPU after a failure.

#include "platform/async/Cancellation.h"
#include "platform/async/Clock.h"
#include "platform/recognition/Observations.h"

#include <QCoroTask>
#include <QImage>

#include <chrono>
#include <concepts>
#include <coroutine>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>

namespace ZantrelText {

// What the runner can perform: a blocking `perform` that honours a stop token, and the
// compute devices it may be moved to.
template <class R>
concept ImageRequest = std::copy_constructible<R> && requires(R request, const R& constRequest, const QImage& image,
                                                              std::stop_token stop) {
    typename R::Result;
    { constRequest.perform(image, stop) } -> std::convertible_to<typename R::Result>;
    { constRequest.supportedComputeStageDevices() } -> std::convertible_to<Platform::Recognition::ComputeStageDevices>;
    request.setComputeDevice(Platform::Recognition::ComputeDevice::cpu, Platform::Recognition::ComputeStage::main);
};

namespace detail {

// The awaitable race of one attempt; resumes its awaiter on the GUI thread.
class RunAttempt {
public:
    using Duration = std::chrono::nanoseconds;

    RunAttempt(std::function<void(std::stop_token)> work, Duration ceiling, Platform::Clock& clock,
               std::stop_token caller);
    // A handle on the shared race state: the coroutine machinery may copy it.

    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> handle);
    // Throws the work's error, VisionRunner::Stalled or CancellationError.
    void await_resume();

    struct State;

private:
    std::shared_ptr<State> state_;
};

}  // namespace detail

class VisionRunner final {
public:
    using Duration = std::chrono::nanoseconds;

    // An attempt did not finish within the ceiling.
    struct Stalled : std::exception {
        const char* what() const noexcept override { return "the recognizer did not finish in time"; }
    };

    // `clock` nullptr: the process's shared clock at the time of each attempt.
    explicit VisionRunner(Duration ceiling, Platform::Clock* clock = nullptr) : ceiling_(ceiling), clock_(clock) {}

    // The process's runner: 300 seconds per attempt.
    static const VisionRunner& shared();

    Duration ceiling() const { return ceiling_; }

    // Performs the request; on failure once more pinned to the CPU. Throws Stalled, a
    // CancellationError when `stop` is requested, or the request's own error. Await it on
    // the GUI thread.
    template <ImageRequest R>
    QCoro::Task<typename R::Result> run(R request, QImage image, std::stop_token stop = {}) const {
        try {
            co_return co_await runOnce(request, image, false, stop);
        } catch (const Platform::CancellationError&) {
            throw;
        } catch (...) {
            if (stop.stop_requested())
                throw;
            // Any other failure, a stall included, earns the second attempt; its error
            // is dropped.
        }
        co_return co_await runOnce(std::move(request), std::move(image), true, stop);
    }

    // One attempt: the work on a worker thread races the ceiling; the first to finish
    // decides, and the other is stopped.
    template <ImageRequest R>
    QCoro::Task<typename R::Result> runOnce(R request, QImage image, bool cpuOnly, std::stop_token stop) const {
        if (cpuOnly)
            pinToCPU(request);
        auto result = std::make_shared<std::optional<typename R::Result>>();
        std::function<void(std::stop_token)> work = [request = std::move(request), image = std::move(image),
                                                     result](std::stop_token workStop) {
            result->emplace(request.perform(image, workStop));
        };
        auto attempt = detail::RunAttempt(std::move(work), ceiling_, clock(), stop);
        co_await attempt;
        co_return std::move(**result);
    }

    // Moves every stage that offers a CPU device onto it; other stages keep their default.
    template <ImageRequest R>
    static void pinToCPU(R& request) {
        using Platform::Recognition::ComputeDevice;
        for (const auto& [stage, devices] : request.supportedComputeStageDevices()) {
            for (const ComputeDevice device : devices) {
                if (device == ComputeDevice::cpu) {
                    request.setComputeDevice(device, stage);
                    break;
                }
            }
        }
    }

private:
    Platform::Clock& clock() const { return clock_ != nullptr ? *clock_ : Platform::Clock::shared(); }

    Duration ceiling_;
    Platform::Clock* clock_;
};

}  // namespace ZantrelText
