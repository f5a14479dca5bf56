#include "Glyphnab/shell/HotKeyBindings.h"

#include "ZantrelUI/desktop/HotKeys.h"
#include "platform/log/Log.h"
#include "tests/Glyphnab/DeskKeys.h"
#include "tests/Glyphnab/RecordingModel.h"

#include <gtest/gtest.h>

#include <map>

namespace Glyphnab {
namespace {

using GlyphnabCore::Command;
using ZantrelKit::Shortcut;
using Modifiers = Shortcut::Modifiers;

bool logged(const QString& message) {
    for (const auto& entry : Platform::LogStore::shared().entries())
        if (entry.message == message)
            return true;
    return false;
}

class HotKeyBindingsTests : public ::testing::Test {
protected:
    std::map<std::uint32_t, std::uint16_t> held() const { return desk.held; }
    void setShortcut(Command command, Shortcut shortcut) {
        fake.changePrefs([&](auto& prefs) { prefs.shortcuts[command] = shortcut; });
    }

    Testing::RecordingModel fake{QStringLiteral("org.glyphnab.hotkeybindingstest")};
    Desk desk;
    ZantrelUI::HotKeys hotKeys{std::make_unique<DeskService>(desk)};
};

TEST_F(HotKeyBindingsTests, RegistersBothGrabsAtOnceAndEachPressStartsItsGrab) {
    fake.changePrefs([](auto& prefs) { prefs.lineMode = ZantrelText::LineMode::join; });
    HotKeyBindings bindings(fake.model(), hotKeys);
    const std::map<std::uint32_t, std::uint16_t> both{{1, 17}, {2, 38}};
    EXPECT_EQ(held(), both);
    EXPECT_TRUE(bindings.refused().isEmpty());

    desk.press(2);
    fake.settle();
    desk.press(1);
    fake.settle();
    desk.press(7);
    fake.settle();
    const QList<std::optional<ZantrelText::LineMode>> modes{ZantrelText::LineMode::keep,
                                                            ZantrelText::LineMode::join};
    EXPECT_EQ(fake.recorded().doneModes, modes);
}

TEST_F(HotKeyBindingsTests, RegistersAgainOnlyWhenTheShortcutsReallyChange) {
    HotKeyBindings bindings(fake.model(), hotKeys);
    fake.settle();
    const int atStart = desk.registrations;

    fake.changePrefs([](auto& prefs) { prefs.lineMode = ZantrelText::LineMode::join; });
    fake.changePrefs([](auto& prefs) { prefs.showIcon = false; });
    setShortcut(Command::grab, GlyphnabCore::Preferences::defaultShortcuts().at(Command::grab));
    EXPECT_EQ(desk.registrations, atStart) << "an unrelated or empty change registers nothing";

    setShortcut(Command::grab, Shortcut{0, {Modifiers::control, Modifiers::option}});  // A
    EXPECT_EQ(desk.registrations, atStart + 2);
    const std::map<std::uint32_t, std::uint16_t> moved{{1, 0}, {2, 38}};
    EXPECT_EQ(held(), moved);

    fake.changePrefs([](auto& prefs) { prefs.shortcuts.erase(Command::grabOther); });
    const std::map<std::uint32_t, std::uint16_t> one{{1, 0}};
    EXPECT_EQ(held(), one) << "a removed shortcut no longer holds its key";
}

TEST_F(HotKeyBindingsTests, AStoredShortcutWithoutACommandKeyIsNotRegistered) {
    setShortcut(Command::grab, Shortcut{17, {Modifiers::shift}});
    HotKeyBindings bindings(fake.model(), hotKeys);
    const std::map<std::uint32_t, std::uint16_t> onlyOther{{1, 38}};
    EXPECT_EQ(held(), onlyOther);
    EXPECT_TRUE(logged(QStringLiteral("hot key not allowed: grab")));
    EXPECT_TRUE(bindings.refused().isEmpty());

    // A function key needs no modifier.
    setShortcut(Command::grab, Shortcut{122, {}});  // F1
    const std::map<std::uint32_t, std::uint16_t> withF1{{1, 122}, {2, 38}};
    EXPECT_EQ(held(), withF1);
}

TEST_F(HotKeyBindingsTests, KeysTheDesktopCannotRegisterAreNotBlamedOnAnotherProgram) {
    desk.owned = {17};
    desk.missing = {38};
    HotKeyBindings bindings(fake.model(), hotKeys);
    EXPECT_EQ(bindings.refused(), QSet<Command>{Command::grab});
    EXPECT_EQ(bindings.unavailable(), QSet<Command>{Command::grabOther});
    desk.owned.clear();
    desk.missing = {17, 38};
    int changes = 0;
    QObject::connect(&bindings, &HotKeyBindings::refusedChanged, [&changes] { ++changes; });
    bindings.registerHotKeys();
    EXPECT_TRUE(bindings.refused().isEmpty());
    EXPECT_EQ(bindings.unavailable(), (QSet<Command>{Command::grab, Command::grabOther}));
    EXPECT_EQ(changes, 1);
}

TEST_F(HotKeyBindingsTests, ReportsTheShortcutsTheDesktopRefusedAndWhenThatChanges) {
    desk.owned = {38};
    HotKeyBindings bindings(fake.model(), hotKeys);
    int changes = 0;
    QObject::connect(&bindings, &HotKeyBindings::refusedChanged, [&changes] { ++changes; });
    EXPECT_EQ(bindings.refused(), QSet<Command>{Command::grabOther});
    EXPECT_TRUE(logged(QStringLiteral("hot key refused: grabOther")));
    const std::map<std::uint32_t, std::uint16_t> onlyGrab{{1, 17}};
    EXPECT_EQ(held(), onlyGrab);

    setShortcut(Command::grabOther, Shortcut{40, {Modifiers::control, Modifiers::command}});  // K
    EXPECT_TRUE(bindings.refused().isEmpty());
    EXPECT_EQ(changes, 1);

    // While a recording holds the keys nothing counts as refused or free; the hold's end
    // tells again.
    hotKeys.hold(QStringLiteral("recording"), true);
    desk.owned = {17};
    setShortcut(Command::grabOther, Shortcut{38, {Modifiers::control, Modifiers::command}});
    EXPECT_TRUE(held().empty());
    EXPECT_TRUE(bindings.refused().isEmpty());
    hotKeys.hold(QStringLiteral("recording"), false);
    EXPECT_EQ(bindings.refused(), QSet<Command>{Command::grab});
    EXPECT_EQ(changes, 2);
}

TEST_F(HotKeyBindingsTests, LetsTheKeysGoWhenItEnds) {
    {
        HotKeyBindings bindings(fake.model(), hotKeys);
        EXPECT_EQ(hotKeys.registeredCount(), 2);
    }
    EXPECT_TRUE(held().empty());
    EXPECT_FALSE(static_cast<bool>(hotKeys.onRefused()));
}

}  // namespace
}  // namespace Glyphnab
