#include "text/VisionRunner.h"

#include "platform/async/Cancellation.h"
#include "platform/async/Clock.h"
#include "tests/support/TestSupport.h"
#include "tests/text/AwaitResult.h"

#include <QCoroTask>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace ZantrelText;
using namespace std::chrono_literals;
using Platform::Recognition::ComputeDevice;
using Platform::Recognition::ComputeStage;
using Platform::Recognition::ComputeStageDevices;

namespace {

// What the fake request does on each attempt, shared by every copy of the request.
struct Script {
    std::function<int(int attempt, std::stop_token stop)> behaviour;
    std::mutex mutex;
    std::vector<ComputeDevice> devices;  // one per attempt
    std::atomic<int> stopped{0};

    int attempts() {
        const std::lock_guard lock(mutex);
        return static_cast<int>(devices.size());
    }
};

struct FakeRequest {
    using Result = int;

    std::shared_ptr<Script> script;
    bool offersCPU = true;
    ComputeDevice device = ComputeDevice::sharedEngine;

    ComputeStageDevices supportedComputeStageDevices() const {
        if (offersCPU)
            return {{ComputeStage::main, {ComputeDevice::sharedEngine, ComputeDevice::cpu}}};
        return {{ComputeStage::main, {ComputeDevice::sharedEngine}}};
    }
    void setComputeDevice(ComputeDevice d, ComputeStage) { device = d; }

    int perform(const QImage&, std::stop_token stop) const {
        int attempt = 0;
        {
            const std::lock_guard lock(script->mutex);
            script->devices.push_back(device);
            attempt = static_cast<int>(script->devices.size());
        }
        return script->behaviour(attempt, stop);
    }
};

// A recognizer that hangs until it is told to stop.
int hangUntilStopped(Script& script, const std::stop_token& stop) {
    while (!stop.stop_requested())
        std::this_thread::sleep_for(1ms);
    ++script.stopped;
    throw Platform::CancellationError{};
}

std::shared_ptr<Script> scripted(std::function<int(Script&, int, std::stop_token)> behaviour) {
    auto script = std::make_shared<Script>();
    Script* raw = script.get();
    script->behaviour = [raw, behaviour](int attempt, std::stop_token stop) { return behaviour(*raw, attempt, stop); };
    return script;
}

TEST(VisionRunner, AQuickResultWinsAndStopsTheClock) {
    Platform::ManualClock clock(false);
    const VisionRunner runner(300s, &clock);
    auto script = scripted([](Script&, int, std::stop_token) { return 42; });
    EXPECT_EQ(TestAwait::result(runner.run(FakeRequest{script}, QImage())), 42);
    EXPECT_EQ(script->attempts(), 1);
    EXPECT_EQ(script->devices.front(), ComputeDevice::sharedEngine);
    // The clock's sleep ends without the ceiling ever being reached.
    EXPECT_TRUE(TestSupport::waitUntil([&] { return clock.sleeperCount() == 0; }));
    EXPECT_EQ(clock.now(), Platform::Clock::TimePoint{});
}

TEST(VisionRunner, AHangingRequestStallsTwiceAndIsReallyStopped) {
    Platform::ManualClock clock(false);
    const VisionRunner runner(300s, &clock);
    auto script = scripted([](Script& s, int, std::stop_token stop) { return hangUntilStopped(s, stop); });
    auto running = runner.run(FakeRequest{script}, QImage());
    ASSERT_TRUE(TestSupport::waitUntil([&] { return script->attempts() == 1 && clock.sleeperCount() == 1; }));
    clock.advance(300s);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return script->attempts() == 2 && clock.sleeperCount() == 1; }));
    clock.advance(300s);
    EXPECT_THROW(TestAwait::result(std::move(running)), VisionRunner::Stalled);
    EXPECT_EQ(clock.now(), std::chrono::nanoseconds(600s));
    EXPECT_EQ(script->devices[0], ComputeDevice::sharedEngine);
    EXPECT_EQ(script->devices[1], ComputeDevice::cpu);
    // Neither stalled attempt is left running.
    EXPECT_TRUE(TestSupport::waitUntil([&] { return script->stopped == 2; }));
}

TEST(VisionRunner, UnderAClockThatRunsAheadTheCallerIsReleasedAfterTwoCeilings) {
    Platform::ManualClock clock;  // every sleep reaches its end at once
    const VisionRunner runner(300s, &clock);
    auto script = scripted([](Script& s, int, std::stop_token stop) { return hangUntilStopped(s, stop); });
    EXPECT_THROW(TestAwait::result(runner.run(FakeRequest{script}, QImage())), VisionRunner::Stalled);
    EXPECT_EQ(clock.now(), std::chrono::nanoseconds(600s));
    EXPECT_LE(script->attempts(), 2);
}

TEST(VisionRunner, AStallThenASuccessOnTheCPUReturnsTheResult) {
    Platform::ManualClock clock(false);
    const VisionRunner runner(300s, &clock);
    auto script = scripted([](Script& s, int attempt, std::stop_token stop) {
        return attempt == 1 ? hangUntilStopped(s, stop) : 7;
    });
    auto running = runner.run(FakeRequest{script}, QImage());
    ASSERT_TRUE(TestSupport::waitUntil([&] { return clock.sleeperCount() == 1 && script->attempts() == 1; }));
    clock.advance(299s);
    QCoreApplication::processEvents();
    EXPECT_EQ(script->attempts(), 1);
    clock.advance(1s);
    EXPECT_EQ(TestAwait::result(std::move(running)), 7);
    EXPECT_EQ(script->attempts(), 2);
}

TEST(VisionRunner, AnOrdinaryFailureIsRetriedOnceAndTheSecondErrorWins) {
    Platform::ManualClock clock(false);
    const VisionRunner runner(300s, &clock);
    auto script = scripted([](Script&, int attempt, std::stop_token) -> int {
        throw std::runtime_error(attempt == 1 ? "first" : "second");
    });
    try {
        TestAwait::result(runner.run(FakeRequest{script}, QImage()));
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "second");
    }
    ASSERT_EQ(script->attempts(), 2);
    EXPECT_EQ(script->devices[1], ComputeDevice::cpu);

    auto recovers = scripted([](Script&, int attempt, std::stop_token) -> int {
        if (attempt == 1)
            throw std::runtime_error("first");
        return 5;
    });
    EXPECT_EQ(TestAwait::result(runner.run(FakeRequest{recovers}, QImage())), 5);
}

TEST(VisionRunner, WithoutACPUDeviceTheRetryKeepsTheDefault) {
    Platform::ManualClock clock(false);
    const VisionRunner runner(300s, &clock);
    auto script = scripted([](Script&, int, std::stop_token) -> int { throw std::runtime_error("no"); });
    EXPECT_THROW(TestAwait::result(runner.run(FakeRequest{script, false}, QImage())), std::runtime_error);
    ASSERT_EQ(script->attempts(), 2);
    EXPECT_EQ(script->devices[1], ComputeDevice::sharedEngine);
}

TEST(VisionRunner, CancellingTheCallerEndsTheWaitWithoutARetry) {
    Platform::ManualClock clock(false);
    const VisionRunner runner(300s, &clock);
    auto script = scripted([](Script& s, int, std::stop_token stop) { return hangUntilStopped(s, stop); });
    std::stop_source stop;
    std::thread canceller([&] {
        while (script->attempts() == 0)
            std::this_thread::sleep_for(1ms);
        stop.request_stop();
    });
    EXPECT_THROW(TestAwait::result(runner.run(FakeRequest{script}, QImage(), stop.get_token())),
                 Platform::CancellationError);
    canceller.join();
    EXPECT_EQ(script->attempts(), 1);
    EXPECT_TRUE(TestSupport::waitUntil([&] { return script->stopped == 1 && clock.sleeperCount() == 0; }));

    // Cancelled before it starts: no attempt at all.
    auto untouched = scripted([](Script&, int, std::stop_token) { return 1; });
    EXPECT_THROW(TestAwait::result(runner.run(FakeRequest{untouched}, QImage(), stop.get_token())),
                 Platform::CancellationError);
    EXPECT_EQ(untouched->attempts(), 0);
}

TEST(VisionRunner, TheSharedRunnerWaitsFiveMinutesPerAttempt) {
    EXPECT_EQ(VisionRunner::shared().ceiling(), std::chrono::nanoseconds(300s));
    EXPECT_EQ(&VisionRunner::shared(), &VisionRunner::shared());
}

}  // namespace
