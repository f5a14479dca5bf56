#include "ZantrelKit/GrantMemory.h"
#include "ZantrelUI/desktop/PermissionMonitor.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using ZantrelKit::GrantWatch;
using ZantrelKit::Permission;
using ZantrelUI::PermissionMonitor;

// A permission the test flips, polled on a clock that moves only when told.
class PermissionMonitorTest : public ::testing::Test {
protected:
    void advance(std::chrono::milliseconds by) {
        clock.advance(by);
        // The sleepers resume on fresh events.
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    std::unique_ptr<PermissionMonitor> make(ZantrelKit::DefaultsStore* memory = nullptr) {
        auto monitor = std::make_unique<PermissionMonitor>(
            Permission::screenRecording(), [this] {
                ++probes;
                return switchOn;
            },
            memory, &clock);
        monitor->onChange = [this](GrantWatch::Change change) { changes.push_back(change); };
        QObject::connect(monitor.get(), &PermissionMonitor::grantedChanged,
                         [this](bool granted) { published.push_back(granted); });
        return monitor;
    }

    Platform::ManualClock clock{false};
    bool switchOn = false;
    int probes = 0;
    std::vector<GrantWatch::Change> changes;
    std::vector<bool> published;
};

TEST_F(PermissionMonitorTest, MissingPermissionPollsEverySecondUntilItLands) {
    const auto monitor = make();
    EXPECT_FALSE(monitor->granted());
    EXPECT_TRUE(monitor->isPolling());
    EXPECT_EQ(probes, 1);
    advance(std::chrono::milliseconds(999));
    EXPECT_EQ(probes, 1);
    advance(std::chrono::milliseconds(1));
    EXPECT_EQ(probes, 2);
    // The same answer twice: nothing published, nothing told.
    EXPECT_TRUE(published.empty());
    EXPECT_TRUE(changes.empty());

    switchOn = true;
    advance(std::chrono::seconds(1));
    EXPECT_TRUE(monitor->granted());
    EXPECT_EQ(published, std::vector<bool>{true});
    EXPECT_EQ(changes, std::vector<GrantWatch::Change>{GrantWatch::Change::landed});
    EXPECT_FALSE(monitor->isPolling());
    const int afterLanding = probes;
    advance(std::chrono::seconds(5));
    EXPECT_EQ(probes, afterLanding);
    EXPECT_EQ(clock.sleeperCount(), 0u);
}

TEST_F(PermissionMonitorTest, GrantedAtStartDoesNotPollAndAWithdrawalIsSeenOnTheRecheck) {
    switchOn = true;
    const auto monitor = make();
    EXPECT_TRUE(monitor->granted());
    EXPECT_FALSE(monitor->isPolling());
    EXPECT_TRUE(changes.empty());  // never at construction

    switchOn = false;
    advance(std::chrono::seconds(3));
    EXPECT_TRUE(monitor->granted());  // nobody looked

    monitor->recheckSoon();
    advance(std::chrono::milliseconds(399));
    EXPECT_TRUE(monitor->granted());
    advance(std::chrono::milliseconds(1));
    EXPECT_FALSE(monitor->granted());
    EXPECT_EQ(changes, std::vector<GrantWatch::Change>{GrantWatch::Change::lost});
    EXPECT_EQ(published, std::vector<bool>{false});
    EXPECT_TRUE(monitor->isPolling());
    const int before = probes;
    advance(std::chrono::seconds(1));
    EXPECT_EQ(probes, before + 1);
}

TEST_F(PermissionMonitorTest, DroppingTheMonitorLeavesNoPollBehind) {
    auto monitor = make();
    monitor->recheckSoon();
    EXPECT_EQ(clock.sleeperCount(), 2u);
    monitor.reset();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(clock.sleeperCount(), 0u);
    const int before = probes;
    advance(std::chrono::seconds(3));
    EXPECT_EQ(probes, before);
}

TEST_F(PermissionMonitorTest, RemembersGrantsAndReportsALossOnce) {
    ZantrelKit::MemoryDefaultsStore memory;
    switchOn = true;
    const auto monitor = make(&memory);
    EXPECT_EQ(memory.boolValue(ZantrelKit::GrantMemory::key(Permission::screenRecording())), true);
    EXPECT_FALSE(monitor->grantLost());  // still on

    switchOn = false;
    EXPECT_TRUE(monitor->grantLost());
    EXPECT_FALSE(monitor->grantLost());  // the mark was cleared
    EXPECT_FALSE(memory.contains(ZantrelKit::GrantMemory::key(Permission::screenRecording())));
}

TEST_F(PermissionMonitorTest, WithoutMemoryNothingIsWrittenAndNothingIsLost) {
    switchOn = true;
    const auto monitor = make();
    switchOn = false;
    EXPECT_FALSE(monitor->grantLost());
}

}  // namespace
