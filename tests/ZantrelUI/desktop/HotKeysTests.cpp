// Global hot keys over a service of the test's own, which records what is registered and
// presses keys on request.

#include "ZantrelUI/desktop/HotKeys.h"
#include "platform/log/Log.h"

#include <gtest/gtest.h>

#include <functional>

#include <map>
#include <set>
#include <vector>

namespace {

using ZantrelKit::Shortcut;
using ZantrelUI::HotKeys;
using Modifiers = Shortcut::Modifiers;

struct Registration {
    std::uint16_t keyCode;
    std::uint32_t mask;
};

struct ServiceLog {
    std::map<std::uint32_t, Registration> live;
    std::vector<std::string> calls;
    std::set<std::uint16_t> refusedKeys;
    std::set<std::uint16_t> unavailableKeys;
    std::map<std::uint32_t, std::string> names;
    int handlersInstalled = 0;
    Platform::HotKeyService::Pressed pressed;
    std::function<void()> changed;

    void press(std::uint32_t id) const { pressed(id); }
};

class TestService final : public Platform::HotKeyService {
public:
    explicit TestService(ServiceLog& log) : log_(log) {}
    void installHandler(Pressed pressed) override {
        ++log_.handlersInstalled;
        log_.pressed = std::move(pressed);
    }
    Platform::HotKeyStatus registerKey(std::uint16_t keyCode, std::uint32_t mask, std::uint32_t id) override {
        log_.calls.push_back("register " + std::to_string(id));
        if (log_.refusedKeys.contains(keyCode))
            return Platform::HotKeyStatus::refused;
        if (log_.unavailableKeys.contains(keyCode))
            return Platform::HotKeyStatus::unavailable;
        log_.live[id] = {keyCode, mask};
        return Platform::HotKeyStatus::registered;
    }
    void unregisterKey(std::uint32_t id) override {
        log_.calls.push_back("unregister " + std::to_string(id));
        log_.live.erase(id);
    }
    void nameKey(std::uint32_t id, std::string_view name) override { log_.names[id] = std::string(name); }
    std::string trigger(std::uint32_t id) const override { return id == 1 ? "Super+G" : ""; }
    void installChangeHandler(std::function<void()> changed) override { log_.changed = std::move(changed); }

private:
    ServiceLog& log_;
};

const Shortcut grabKeys{17, {Modifiers::control, Modifiers::shift, Modifiers::command}};
const Shortcut otherKeys{38, {Modifiers::control, Modifiers::shift, Modifiers::command}};

class HotKeysTest : public testing::Test {
protected:
    void install() {
        hotKeys.set({{QStringLiteral("grab"), grabKeys}, {QStringLiteral("grabOther"), otherKeys}},
                    [this](const QString& name) { fired.push_back(name); });
    }

    ServiceLog service;
    HotKeys hotKeys{std::make_unique<TestService>(service)};
    std::vector<QString> fired;
};

TEST_F(HotKeysTest, BindingsGetIdsInNameOrderAndFireByName) {
    install();
    EXPECT_EQ(hotKeys.registeredCount(), 2);
    EXPECT_EQ(hotKeys.names().value(1), u"grab");
    EXPECT_EQ(hotKeys.names().value(2), u"grabOther");
    EXPECT_EQ(service.live.at(1).keyCode, 17);
    EXPECT_EQ(service.live.at(1).mask, 0x1300u);
    service.press(2);
    service.press(1);
    EXPECT_EQ(fired, (std::vector<QString>{QStringLiteral("grabOther"), QStringLiteral("grab")}));
    service.press(9);  // an id nobody has
    EXPECT_EQ(fired.size(), 2u);
}

TEST_F(HotKeysTest, AnEarlierNameShiftsTheIdsAndReplacedBindingsNoLongerFire) {
    install();
    service.calls.clear();
    hotKeys.set({{QStringLiteral("another"), Shortcut{0, {Modifiers::command}}}, {QStringLiteral("grab"), grabKeys}},
                [this](const QString& name) { fired.push_back(name); });
    // Everything earlier is released before anything is registered.
    EXPECT_EQ(service.calls, (std::vector<std::string>{"unregister 1", "unregister 2", "register 1", "register 2"}));
    EXPECT_EQ(hotKeys.names().value(2), u"grab");
    service.press(2);
    EXPECT_EQ(fired, (std::vector<QString>{QStringLiteral("grab")}));
    EXPECT_EQ(service.handlersInstalled, 1);  // installed once, however often reinstalled
}

TEST_F(HotKeysTest, HoldsRegisterNothingUntilTheLastOneEnds) {
    hotKeys.hold(QStringLiteral("recording"), true);
    EXPECT_TRUE(hotKeys.isHeld());
    install();
    EXPECT_EQ(hotKeys.registeredCount(), 0);
    EXPECT_TRUE(service.live.empty());
    EXPECT_EQ(service.handlersInstalled, 0);
    hotKeys.hold(QStringLiteral("recording"), true);  // the same reason twice is one hold
    hotKeys.hold(QStringLiteral("menu"), true);
    hotKeys.hold(QStringLiteral("recording"), false);
    EXPECT_TRUE(service.live.empty());
    hotKeys.hold(QStringLiteral("menu"), false);
    EXPECT_FALSE(hotKeys.isHeld());
    EXPECT_EQ(service.live.size(), 2u);
    hotKeys.hold(QStringLiteral("recording"), true);
    EXPECT_TRUE(service.live.empty());
    EXPECT_TRUE(hotKeys.reinstall().isEmpty());
}

TEST_F(HotKeysTest, RefusedShortcutsAreReportedAndLoggedTheOthersStillFire) {
    service.refusedKeys = {17};
    QSet<QString> told;
    hotKeys.setOnRefused([&](const QSet<QString>& names) { told = names; });
    Platform::LogStore::shared().clear();
    hotKeys.set({{QStringLiteral("grab"), grabKeys}, {QStringLiteral("grabOther"), otherKeys}},
                [this](const QString& name) { fired.push_back(name); });
    EXPECT_EQ(told, QSet<QString>{QStringLiteral("grab")});
    EXPECT_EQ(hotKeys.registeredCount(), 1);
    EXPECT_EQ(hotKeys.names().value(2), u"grabOther");  // keeps its position's id
    service.press(2);
    EXPECT_EQ(fired, (std::vector<QString>{QStringLiteral("grabOther")}));
    bool logged = false;
    for (const auto& entry : Platform::LogStore::shared().entries())
        logged = logged || entry.message == u"hot key refused: grab";
    EXPECT_TRUE(logged);
    EXPECT_EQ(hotKeys.reinstall(), QSet<QString>{QStringLiteral("grab")});
}

TEST_F(HotKeysTest, KeysNoAppCanHaveAreToldApartFromKeysAnotherProgramHolds) {
    service.refusedKeys = {17};
    service.unavailableKeys = {38};
    QSet<QString> told;
    hotKeys.setOnRefused([&](const QSet<QString>& names) { told = names; });
    install();
    EXPECT_EQ(told, (QSet<QString>{QStringLiteral("grab"), QStringLiteral("grabOther")}));
    EXPECT_EQ(hotKeys.unavailable(), QSet<QString>{QStringLiteral("grabOther")});
    // The desktop learns the names before the keys, so it can show them.
    EXPECT_EQ(service.names.at(1), "grab");
    EXPECT_EQ(service.names.at(2), "grabOther");
    service.refusedKeys.clear();
    service.unavailableKeys.clear();
    hotKeys.reinstall();
    EXPECT_TRUE(hotKeys.unavailable().isEmpty());
    EXPECT_EQ(hotKeys.trigger(QStringLiteral("grab")), QStringLiteral("Super+G"));
    EXPECT_EQ(hotKeys.trigger(QStringLiteral("nothing")), QString());
}

TEST_F(HotKeysTest, ADesktopThatChangesItsAnswerGetsTheKeysAgainUnlessHeld) {
    int changes = 0;
    hotKeys.setOnChanged([&] { ++changes; });
    install();
    ASSERT_TRUE(service.changed);
    service.unavailableKeys = {17};
    service.changed();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(hotKeys.unavailable(), QSet<QString>{QStringLiteral("grab")});
    hotKeys.hold(QStringLiteral("recording"), true);
    service.changed();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(hotKeys.registeredCount(), 0);
}

TEST_F(HotKeysTest, AHandlerMayReplaceTheBindings) {
    hotKeys.set({{QStringLiteral("grab"), grabKeys}}, [this](const QString& name) {
        fired.push_back(name);
        hotKeys.set({{QStringLiteral("grabOther"), otherKeys}}, [](const QString&) {});
    });
    service.press(1);
    EXPECT_EQ(fired, (std::vector<QString>{QStringLiteral("grab")}));
    EXPECT_EQ(hotKeys.names().value(1), u"grabOther");
}

TEST(HotKeysAllowed, TheGateTheBlockAndTheArgument) {
    EXPECT_TRUE(HotKeys::allowed({QStringLiteral("--no-hotkeys")}, false, true));
    EXPECT_FALSE(HotKeys::allowed({}, true, true));
    EXPECT_TRUE(HotKeys::allowed({QStringLiteral("--other")}, true, false));
    EXPECT_FALSE(HotKeys::allowed({QStringLiteral("--no-hotkeys")}, true, false));
}

}  // namespace
