#include "ZantrelKit/Deadline.h"

#include "platform/async/Clock.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <latch>
#include <limits>
#include <memory>
#include <stdexcept>

using namespace ZantrelKit;
using namespace std::chrono_literals;
using TestSupport::waitUntil;

namespace {

// What one awaited run delivered.
template <class T>
struct Delivered {
    bool done = false;
    int resumptions = 0;
    std::optional<T> value;
    std::exception_ptr error;
};

template <class T>
QCoro::Task<> deliverInto(std::shared_ptr<Delivered<T>> out, QCoro::Task<std::optional<T>> run) {
    try {
        out->value = co_await run;
    } catch (...) {
        out->error = std::current_exception();
    }
    out->done = true;
    ++out->resumptions;
}

template <class F>
auto start(double seconds, Deadline::Pool* pool, std::stop_token stop, F work) {
    using T = std::invoke_result_t<F&, const Deadline::IsSettled&>;
    auto out = std::make_shared<Delivered<T>>();
    QCoro::Task<> task = deliverInto(out, Deadline::run(seconds, pool, std::move(stop), std::move(work)));
    return out;
}

// Lets the event loop run a little, to see that nothing arrives.
void settle() { waitUntil([] { return false; }, 30ms); }

// Work that holds its worker until the test lets it go.
struct HeldWork {
    std::shared_ptr<std::latch> gate = std::make_shared<std::latch>(1);
    std::shared_ptr<std::atomic<int>> calls = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<std::atomic<bool>> finished = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<std::atomic<bool>> settledAtStart = std::make_shared<std::atomic<bool>>(true);
    std::shared_ptr<std::atomic<bool>> settledAtEnd = std::make_shared<std::atomic<bool>>(false);

    auto work(int value) const {
        return [*this, value](const Deadline::IsSettled& isSettled) {
            *settledAtStart = isSettled();
            ++*calls;  // after the look, so that a test seeing the call sees the look too
            gate->wait();
            *settledAtEnd = isSettled();
            *finished = true;
            return value;
        };
    }
    void release() const { gate->count_down(); }
};

class DeadlineRun : public testing::Test {
protected:
    Platform::ManualClock clock{false};
    Platform::ScopedClock installed{clock};
};

TEST_F(DeadlineRun, WorkInTimeGivesItsValueAndTheLimitChangesNothingLater) {
    auto out = start(5, nullptr, {}, [](const Deadline::IsSettled&) { return 42; });
    ASSERT_TRUE(waitUntil([&] { return out->done; }));
    EXPECT_EQ(out->value, 42);
    // The limit's timer is taken down with the run.
    EXPECT_TRUE(waitUntil([&] { return clock.sleeperCount() == 0; }));
    clock.advance(10s);
    settle();
    EXPECT_EQ(out->value, 42);
    EXPECT_EQ(out->resumptions, 1);
}

TEST_F(DeadlineRun, LateWorkGivesNothingAtTheLimitAndSeesItselfSettled) {
    const HeldWork held;
    auto out = start(2, nullptr, {}, held.work(7));
    ASSERT_TRUE(waitUntil([&] { return held.calls->load() == 1; }));
    EXPECT_FALSE(held.settledAtStart->load());
    settle();
    EXPECT_FALSE(out->done);
    clock.advance(2s);
    ASSERT_TRUE(waitUntil([&] { return out->done; }));
    EXPECT_FALSE(out->value);
    held.release();
    ASSERT_TRUE(waitUntil([&] { return held.finished->load(); }));
    EXPECT_TRUE(held.settledAtEnd->load());
    settle();
    EXPECT_FALSE(out->value);
    EXPECT_EQ(out->resumptions, 1);
}

TEST_F(DeadlineRun, AJobQueuedPastItsLimitNeverStartsTheWork) {
    Deadline::Pool pool(1);
    const HeldWork first;
    const HeldWork second;
    auto busy = start(100, &pool, {}, first.work(1));
    auto queued = start(1, &pool, {}, second.work(2));
    ASSERT_TRUE(waitUntil([&] { return first.calls->load() == 1; }));
    clock.advance(1s);
    ASSERT_TRUE(waitUntil([&] { return queued->done; }));
    EXPECT_FALSE(queued->value);
    EXPECT_FALSE(busy->done);

    first.release();
    ASSERT_TRUE(waitUntil([&] { return busy->done; }));
    EXPECT_EQ(busy->value, 1);
    second.release();
    EXPECT_TRUE(pool.waitForIdle(60s));
    EXPECT_EQ(second.calls->load(), 0);
}

TEST_F(DeadlineRun, CancellingTheCallerAnswersAtOnceWhileTheWorkRunsOn) {
    const HeldWork held;
    std::stop_source stop;
    auto out = start(60, nullptr, stop.get_token(), held.work(3));
    ASSERT_TRUE(waitUntil([&] { return held.calls->load() == 1; }));
    stop.request_stop();
    ASSERT_TRUE(waitUntil([&] { return out->done; }));
    EXPECT_FALSE(out->value);
    EXPECT_FALSE(held.finished->load());
    held.release();
    ASSERT_TRUE(waitUntil([&] { return held.finished->load(); }));
    EXPECT_TRUE(held.settledAtEnd->load());
    settle();
    EXPECT_EQ(out->resumptions, 1);
}

TEST_F(DeadlineRun, AnAlreadyCancelledCallerNeverStartsTheWork) {
    Deadline::Pool pool(2);
    const HeldWork held;
    std::stop_source stop;
    stop.request_stop();
    auto out = start(60, &pool, stop.get_token(), held.work(4));
    EXPECT_TRUE(out->done);  // answered without suspending
    EXPECT_FALSE(out->value);
    held.release();
    EXPECT_TRUE(pool.waitForIdle(60s));
    EXPECT_EQ(held.calls->load(), 0);
    EXPECT_EQ(clock.sleeperCount(), 0u);
}

TEST_F(DeadlineRun, AThrowingWorkRethrowsInTheCaller) {
    auto out = start(5, nullptr, {}, [](const Deadline::IsSettled&) -> int { throw std::runtime_error("broken"); });
    ASSERT_TRUE(waitUntil([&] { return out->done; }));
    ASSERT_TRUE(out->error);
    EXPECT_THROW(std::rethrow_exception(out->error), std::runtime_error);
}

TEST_F(DeadlineRun, MoveOnlyWorkRuns) {
    auto owned = std::make_unique<int>(11);
    auto out = start(5, nullptr, {}, [owned = std::move(owned)](const Deadline::IsSettled&) { return *owned; });
    ASSERT_TRUE(waitUntil([&] { return out->done; }));
    EXPECT_EQ(out->value, 11);
}

TEST(Deadline, AZeroOrNegativeLimitExpiresAtOnce) {
    for (const double seconds : {0.0, -3.0, std::numeric_limits<double>::quiet_NaN()}) {
        const HeldWork held;
        auto out = start(seconds, nullptr, {}, held.work(5));
        ASSERT_TRUE(waitUntil([&] { return out->done; })) << seconds;
        EXPECT_FALSE(out->value);
        held.release();
    }
}

TEST(Deadline, ManyRunsRacingTheirLimitsEachEndOnce) {
    Deadline::Pool pool(4);
    std::vector<std::shared_ptr<Delivered<int>>> runs;
    for (int i = 0; i < 60; ++i) {
        const double limit = 0.001 * (i % 7);
        runs.push_back(start(limit, i % 2 == 0 ? &pool : nullptr, {}, [i](const Deadline::IsSettled& isSettled) {
            std::this_thread::sleep_for(std::chrono::microseconds(200 * (i % 9)));
            (void)isSettled();
            return i;
        }));
    }
    ASSERT_TRUE(waitUntil([&] { return std::ranges::all_of(runs, [](const auto& run) { return run->done; }); }, 60s));
    for (int i = 0; i < 60; ++i) {
        EXPECT_EQ(runs[i]->resumptions, 1);
        if (runs[i]->value) {
            EXPECT_EQ(*runs[i]->value, i);
        }
    }
    EXPECT_TRUE(pool.waitForIdle(60s));
}

TEST(DeadlineBlocking, GivesTheValueInTimeAndNothingForHangingWork) {
    EXPECT_EQ(Deadline::runBlocking(60, [] { return 3; }), 3);

    auto gate = std::make_shared<std::latch>(1);
    auto finished = std::make_shared<std::atomic<bool>>(false);
    const auto begun = std::chrono::steady_clock::now();
    const std::optional<int> hung = Deadline::runBlocking(0.05, [gate, finished] {
        gate->wait();
        *finished = true;
        return 9;
    });
    const auto waited = std::chrono::steady_clock::now() - begun;
    EXPECT_FALSE(hung);
    EXPECT_GE(waited, 45ms);
    EXPECT_LT(waited, 30s);  // long before the worker would end
    EXPECT_FALSE(finished->load());  // the worker goes on
    gate->count_down();
    EXPECT_TRUE(waitUntil([&] { return finished->load(); }));

    EXPECT_THROW(Deadline::runBlocking(60, []() -> int { throw std::logic_error("bad"); }), std::logic_error);
    EXPECT_FALSE(Deadline::runBlocking(-1, [] {
        std::this_thread::sleep_for(50ms);
        return 1;
    }));
}

}  // namespace
