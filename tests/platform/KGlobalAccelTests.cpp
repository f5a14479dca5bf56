// Plasma's global keys through KGlobalAccel, against a service of the test's own on a
// private bus: the app's component and its actions, keys another component holds, the
// pressed signal, and when the session counts as Plasma's.

#include "platform/hotkeys/KGlobalAccelHotKeyService.h"
#include "tests/Glyphnab/PrivateBus.h"
#include "tests/platform/FakeGlobalAccel.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t control = 0x1000, option = 0x800, shift = 0x200, command = 0x100;
constexpr int ctrlShiftMetaT = (Qt::ControlModifier | Qt::ShiftModifier | Qt::MetaModifier | Qt::Key_T).toCombined();

class KGlobalAccelTest : public testing::Test {
protected:
    void SetUp() override {
        if (!daemon_.isRunning())
            GTEST_SKIP() << "no dbus-daemon";
        accel_ = std::make_unique<FakeGlobalAccel>(daemon_.connect(QStringLiteral("fake-kglobalaccel")));
        ASSERT_TRUE(accel_->isServing());
        client_ = std::make_unique<QDBusConnection>(daemon_.connect(QStringLiteral("kglobalaccel-client")));
        ASSERT_TRUE(client_->isConnected());
        service_ = std::make_unique<Platform::KGlobalAccelHotKeyService>(
            *client_, QStringLiteral("org.glyphnab.Glyphnab"), QStringLiteral("Glyphnab"));
        service_->installHandler([this](std::uint32_t id) { pressed_.push_back(id); });
        service_->nameKey(1, "grab");
        service_->nameKey(2, "grabOther");
    }
    void TearDown() override {
        service_.reset();
        client_.reset();
        accel_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("kglobalaccel-client"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-kglobalaccel"));
    }

    PrivateBus::Daemon daemon_;
    std::unique_ptr<FakeGlobalAccel> accel_;
    std::unique_ptr<QDBusConnection> client_;
    std::unique_ptr<Platform::KGlobalAccelHotKeyService> service_;
    std::vector<std::uint32_t> pressed_;
};

TEST_F(KGlobalAccelTest, BindingsAreActionsOfTheAppsComponentAndFireByName) {
    EXPECT_EQ(service_->registerKey(17, control | shift | command, 1), Platform::HotKeyStatus::registered);
    EXPECT_EQ(service_->registerKey(38, control | shift | command, 2), Platform::HotKeyStatus::registered);
    EXPECT_EQ(service_->desk(), Platform::HotKeyDesk::grabs);

    const auto seen = accel_->seen();
    ASSERT_EQ(seen.registered.size(), 2);
    // Component, action, and the names System Settings shows for them.
    EXPECT_EQ(seen.registered[0].value(0), QStringLiteral("org.glyphnab.Glyphnab"));
    EXPECT_EQ(seen.registered[0].value(1), QStringLiteral("grab"));
    EXPECT_EQ(seen.registered[0].value(2), QStringLiteral("Glyphnab"));
    EXPECT_FALSE(seen.registered[0].value(3).isEmpty());
    EXPECT_EQ(seen.keys.at(QStringLiteral("grab")), QList<int>{ctrlShiftMetaT});

    accel_->press(QStringLiteral("org.glyphnab.Glyphnab"), QStringLiteral("grabOther"));
    ASSERT_TRUE(TestSupport::waitUntil([&] { return pressed_.size() == 1; }));
    EXPECT_EQ(pressed_.front(), 2u);

    // Another app's action of the same name is not ours; a taken-back key does not fire.
    service_->unregisterKey(1);
    EXPECT_TRUE(accel_->seen().inactive.contains(QStringLiteral("grab")));
    accel_->press(QStringLiteral("org.kde.spectacle"), QStringLiteral("grabOther"));
    accel_->press(QStringLiteral("org.glyphnab.Glyphnab"), QStringLiteral("grab"));
    accel_->press(QStringLiteral("org.glyphnab.Glyphnab"), QStringLiteral("grabOther"));
    ASSERT_TRUE(TestSupport::waitUntil([&] { return pressed_.size() == 2; }));
    EXPECT_EQ(pressed_.back(), 2u);
}

TEST_F(KGlobalAccelTest, KeysAnotherComponentHoldsAreRefusedAndKeysWithoutASymbolUnavailable) {
    accel_->holdElsewhere(ctrlShiftMetaT);
    EXPECT_EQ(service_->registerKey(17, control | shift | command, 1), Platform::HotKeyStatus::refused);
    accel_->press(QStringLiteral("org.glyphnab.Glyphnab"), QStringLiteral("grab"));
    // F5 has no letter or digit; a number never named has no action.
    EXPECT_EQ(service_->registerKey(96, control, 2), Platform::HotKeyStatus::unavailable);
    EXPECT_EQ(service_->registerKey(38, control, 9), Platform::HotKeyStatus::unavailable);
    EXPECT_EQ(service_->registerKey(38, option, 2), Platform::HotKeyStatus::registered);
    accel_->press(QStringLiteral("org.glyphnab.Glyphnab"), QStringLiteral("grabOther"));
    ASSERT_TRUE(TestSupport::waitUntil([&] { return !pressed_.empty(); }));
    EXPECT_EQ(pressed_, std::vector<std::uint32_t>{2u});
}

TEST_F(KGlobalAccelTest, OnlyAPlasmaSessionWithKGlobalAccelRunningCountsAsPlasma) {
    const QByteArray before = qgetenv("XDG_CURRENT_DESKTOP");
    qputenv("XDG_CURRENT_DESKTOP", "KDE");
    EXPECT_TRUE(Platform::plasmaGlobalAccelRuns(*client_));
    qputenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    EXPECT_FALSE(Platform::plasmaGlobalAccelRuns(*client_));
    qputenv("XDG_CURRENT_DESKTOP", "KDE");
    accel_.reset();
    EXPECT_FALSE(Platform::plasmaGlobalAccelRuns(*client_));
    qputenv("XDG_CURRENT_DESKTOP", before);
}

TEST(KGlobalAccelKey, IsQtsKeyCodeWithQtsModifierBits) {
    EXPECT_EQ(Platform::kglobalaccelKey(17, control | shift | command), ctrlShiftMetaT);
    EXPECT_EQ(Platform::kglobalaccelKey(18, option), (Qt::AltModifier | Qt::Key_1).toCombined());
    EXPECT_FALSE(Platform::kglobalaccelKey(122, control).has_value());
}

}  // namespace
