#include "platform/async/Cancellation.h"
#include "platform/async/Clock.h"
#include "platform/async/MainThread.h"
#include "platform/async/Worker.h"

#include <QCoroTask>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <vector>
#include <thread>

using namespace Platform;
using namespace std::chrono_literals;

namespace {

TEST(Clock, ALongSleepCompletesAtOnceUnderTheTestClock) {
    ManualClock clock;
    QElapsedTimer wall;
    wall.start();
    const bool completed = QCoro::waitFor(clock.sleep(300s));
    EXPECT_TRUE(completed);
    EXPECT_EQ(clock.now(), std::chrono::nanoseconds(300s));
    EXPECT_LT(wall.elapsed(), 30000);  // far less than the sleep, even on a busy machine
}

TEST(Clock, ManualSleepersWakeInOrderAsTimeAdvances) {
    ManualClock clock(false);
    std::vector<int> woke;
    auto sleeper = [&](std::chrono::seconds d, int id) -> QCoro::Task<> {
        if (co_await clock.sleep(d))
            woke.push_back(id);
    };
    auto a = sleeper(45s, 45);
    auto b = sleeper(3s, 3);
    EXPECT_EQ(clock.sleeperCount(), 2u);
    clock.advance(2s);
    QCoreApplication::processEvents();
    EXPECT_TRUE(woke.empty());
    clock.advance(40s);
    QCoro::waitFor(b);
    EXPECT_EQ(woke, std::vector<int>{3});
    clock.advance(3s);
    QCoro::waitFor(a);
    EXPECT_EQ(woke, (std::vector<int>{3, 45}));
}

TEST(Clock, AStopEndsTheSleepEarlyWithFalse) {
    for (Clock* clock : {static_cast<Clock*>(new ManualClock(false)), &Clock::system()}) {
        std::stop_source stop;
        QElapsedTimer wall;
        wall.start();
        auto sleeping = clock->sleep(300s, stop.get_token());
        std::thread other([&] {
            std::this_thread::sleep_for(20ms);
            stop.request_stop();
        });
        EXPECT_FALSE(QCoro::waitFor(sleeping));
        other.join();
        EXPECT_LT(wall.elapsed(), 30000);
        if (clock != &Clock::system())
            delete clock;
    }
}

TEST(Clock, SystemSleepWaitsRoughlyItsDuration) {
    QElapsedTimer wall;
    wall.start();
    EXPECT_TRUE(QCoro::waitFor(Clock::system().sleep(90ms)));
    EXPECT_GE(wall.elapsed(), 85);
    EXPECT_GT(Clock::system().now().count(), 0);
}

// The kernel's view of this process's timers: the clock of each timerfd it holds.
std::vector<int> timerClocks() {
    std::vector<int> clocks;
    for (const QFileInfo& fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
        if (!QFile::symLinkTarget(fd.filePath()).contains(u"timerfd"))
            continue;
        QFile info(QStringLiteral("/proc/self/fdinfo/") + fd.fileName());
        if (!info.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : info.readAll().split('\n')) {
            if (line.startsWith("clockid:"))
                clocks.push_back(line.mid(8).trimmed().toInt());
        }
    }
    return clocks;
}

TEST(Clock, SystemSleepCountsSuspendedTime) {
    // While the sleep waits, the process holds a timer on the clock that runs through
    // suspend, the one `now()` reads.
    auto sleeping = Clock::system().sleep(200ms);  // runs up to its wait at once
    const std::vector<int> during = timerClocks();
    EXPECT_TRUE(QCoro::waitFor(sleeping));
    EXPECT_NE(std::ranges::find(during, CLOCK_BOOTTIME), during.end());
}

TEST(Clock, SharedClockCanBeReplacedForAScope) {
    ManualClock clock;
    {
        const ScopedClock scoped(clock);
        EXPECT_EQ(&Clock::shared(), &clock);
    }
    EXPECT_EQ(&Clock::shared(), &Clock::system());
}

TEST(Cancellation, ACancelledTaskStopsAtItsNextCheck) {
    ManualClock clock;
    std::stop_source stop;
    int stepsDone = 0;
    auto task = [&]() -> QCoro::Task<bool> {
        try {
            for (int step = 0; step < 10; ++step) {
                checkCancellation(stop.get_token());
                co_await clock.sleep(1s);
                ++stepsDone;
                if (stepsDone == 3)
                    stop.request_stop();
            }
        } catch (const CancellationError&) {
            co_return false;
        }
        co_return true;
    };
    EXPECT_FALSE(QCoro::waitFor(task()));
    EXPECT_EQ(stepsDone, 3);
}

TEST(Worker, ResultsComeBackOnTheGuiThread) {
    ASSERT_TRUE(isMainThread());
    std::atomic<QThread*> ranOn{nullptr};
    auto task = [&]() -> QCoro::Task<int> {
        const int value = co_await runOnWorker([&] {
            ranOn = QThread::currentThread();
            return 6 * 7;
        });
        EXPECT_TRUE(isMainThread());
        co_return value;
    };
    EXPECT_EQ(QCoro::waitFor(task()), 42);
    EXPECT_NE(ranOn.load(), QThread::currentThread());
}

TEST(Worker, ExceptionsOfTheWorkAreRethrownToTheAwaiter) {
    auto task = []() -> QCoro::Task<QString> {
        try {
            co_await runOnWorker([] { throw std::runtime_error("decoder broke"); });
        } catch (const std::runtime_error& error) {
            co_return QString::fromUtf8(error.what());
        }
        co_return QString();
    };
    EXPECT_EQ(QCoro::waitFor(task()), QStringLiteral("decoder broke"));
}

TEST(MainThreadDeathTest, AssertMainStopsOffTheGuiThread) {
    EXPECT_DEATH(
        {
            std::thread worker([] { assertMain(); });
            worker.join();
        },
        "must run on the main thread");
}

}  // namespace
