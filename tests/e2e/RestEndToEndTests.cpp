// The app waiting with no window open and no tray: nothing in it wakes it by itself.

#include "tests/e2e/AppDriver.h"
#include "tests/support/ProcessWaits.h"

#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <sstream>

namespace {

using RestEndToEnd = TestSupport::AppDriver;

TEST_F(RestEndToEnd, NothingWakesTheAppWhileItWaits) {
    QProcess& glyphnab = startApp();
    ASSERT_TRUE(waitForBusName());
    const long pid = static_cast<long>(glyphnab.processId());
    // Once it has started, every thread sleeps without a timeout. A polling timer keeps a
    // thread in a timed wait at nearly every look, so the app would never settle.
    std::vector<TestSupport::ThreadWait> timed;
    int settledLooks = 0;
    QElapsedTimer timer;
    timer.start();
    while (settledLooks < 3 && timer.elapsed() < 30000) {
        QThread::msleep(250);
        timed.clear();
        for (const TestSupport::ThreadWait& wait : TestSupport::threadWaits(pid))
            if (wait.timed)
                timed.push_back(wait);
        settledLooks = timed.empty() ? settledLooks + 1 : 0;
    }
    std::ostringstream waits;
    for (const TestSupport::ThreadWait& wait : timed)
        waits << wait.name.toStdString() << " in " << wait.call.toStdString() << "; ";
    EXPECT_EQ(settledLooks, 3) << "timed waits: " << waits.str();
    // A loop that sleeps on a timer file shows as one due soon; the start's own one-shot
    // timers (the warm-up, the first update check) are most of a minute away.
    for (const double seconds : TestSupport::armedTimerFiles(pid))
        EXPECT_GT(seconds, 5.0);
}

}  // namespace
