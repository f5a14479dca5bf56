#include "ZantrelKit/ShortcutConflict.h"
#include "ZantrelKit/ShortcutRecording.h"

#include <QSet>

#include <gtest/gtest.h>

#include <ostream>
#include <unordered_set>

namespace ZantrelKit {
void PrintTo(const Shortcut::Recording& recording, std::ostream* out) {
    *out << "Recording(" << int(recording.kind());
    if (recording.shortcut())
        *out << ", " << recording.shortcut()->keyCode << ", " << recording.shortcut()->modifiers.rawValue();
    *out << ")";
}
}  // namespace ZantrelKit

using namespace ZantrelKit;
using Modifiers = Shortcut::Modifiers;
using Recording = Shortcut::Recording;

namespace {

// Stands in for the app's commands: ordered by declaration.
enum class TestCommand { first, second, third };

TEST(ShortcutRecording, ModifierKeysAloneKeepWaiting) {
    EXPECT_EQ(Recording(59, Modifiers::command, false), Recording::waiting());
    for (std::uint16_t code = 54; code <= 63; ++code) {
        EXPECT_EQ(Recording(code, Modifiers(), true), Recording::waiting()) << code;
        EXPECT_EQ(Recording(code, Modifiers(15), false), Recording::waiting()) << code;
    }
}

TEST(ShortcutRecording, EscapeAndDeletesActOnlyWhenPressedAlone) {
    EXPECT_EQ(Recording(53, Modifiers(), false), Recording::cancel());
    EXPECT_EQ(Recording(53, Modifiers(), true), Recording::cancel());
    EXPECT_EQ(Recording(51, Modifiers(), false), Recording::clear());
    EXPECT_EQ(Recording(117, Modifiers(), true), Recording::clear());
    EXPECT_EQ(Recording(117, Modifiers::option, false), Recording::set({117, Modifiers::option}));
    EXPECT_EQ(Recording(53, Modifiers::command, false), Recording::set({53, Modifiers::command}));
    EXPECT_EQ(Recording(51, Modifiers::control, false), Recording::set({51, Modifiers::control}));
    EXPECT_EQ(Recording(53, Modifiers::shift, false), Recording::needsModifier());
    EXPECT_EQ(Recording(53, Modifiers::shift, true), Recording::set({53, Modifiers::shift}));
}

TEST(ShortcutRecording, PlainKeysNeedACommandModifierUnlessBareKeysAreAllowed) {
    EXPECT_EQ(Recording(17, Modifiers::shift, false), Recording::needsModifier());
    const Recording taken(17, Modifiers{Modifiers::shift, Modifiers::command}, false);
    ASSERT_EQ(taken.kind(), Recording::Kind::set);
    EXPECT_EQ(taken.shortcut()->modifiers.rawValue(), 12);
    EXPECT_EQ(Recording(0, Modifiers(), false), Recording::needsModifier());
    EXPECT_EQ(Recording(0, Modifiers(), true), Recording::set({0, Modifiers()}));
    // An unknown bit alone is no modifier that counts.
    EXPECT_EQ(Recording(0, Modifiers(16), false), Recording::needsModifier());
    EXPECT_FALSE(Recording::needsModifier().shortcut());
}

TEST(ShortcutRecording, FunctionKeysNeedNoModifier) {
    EXPECT_EQ(Recording(96, Modifiers(), false), Recording::set({96, Modifiers()}));
    EXPECT_EQ(Recording(90, Modifiers::shift, false), Recording::set({90, Modifiers::shift}));
    EXPECT_EQ(Recording(122, Modifiers(), false), Recording::set({122, Modifiers()}));
}

TEST(ShortcutConflicts, CommandsOnTheSameKeysNameEachOther) {
    const Shortcut grab{17, Modifiers(13)};
    using Conflict = ShortcutConflict<TestCommand>;
    const auto found = ShortcutConflicts::find<TestCommand>(
        {{TestCommand::first, grab}, {TestCommand::second, grab}}, QSet<Shortcut>{grab});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found.at(TestCommand::first), Conflict::sameAs({TestCommand::second}));
    EXPECT_EQ(found.at(TestCommand::second), Conflict::sameAs({TestCommand::first}));

    // Same key code, different raw modifiers (an unknown bit included): no clash.
    EXPECT_TRUE(ShortcutConflicts::find<TestCommand>({{TestCommand::first, grab},
                                                      {TestCommand::second, {17, Modifiers(13 | 16)}},
                                                      {TestCommand::third, {38, Modifiers(13)}}},
                                                     QSet<Shortcut>{})
                    .empty());
}

TEST(ShortcutConflicts, ThreeOnOneShortcutGiveThreeSortedEntries) {
    const Shortcut shared{0, Modifiers::command};
    const auto found = ShortcutConflicts::find<TestCommand>(
        {{TestCommand::third, shared}, {TestCommand::first, shared}, {TestCommand::second, shared}},
        std::unordered_set<Shortcut>{});
    using Conflict = ShortcutConflict<TestCommand>;
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found.at(TestCommand::first), Conflict::sameAs({TestCommand::second, TestCommand::third}));
    EXPECT_EQ(found.at(TestCommand::second), Conflict::sameAs({TestCommand::first, TestCommand::third}));
    EXPECT_EQ(found.at(TestCommand::third), Conflict::sameAs({TestCommand::first, TestCommand::second}));
}

TEST(ShortcutConflicts, TheSystemCountsOnlyWithoutADuplicate) {
    const Shortcut system{21, Modifiers{Modifiers::shift, Modifiers::command}};
    const auto found = ShortcutConflicts::find<TestCommand>(
        {{TestCommand::first, system}, {TestCommand::second, {38, Modifiers(13)}}}, QSet<Shortcut>{system});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.at(TestCommand::first), ShortcutConflict<TestCommand>::system());
    EXPECT_TRUE(ShortcutConflicts::find<TestCommand>({}, QSet<Shortcut>{system}).empty());
}

}  // namespace
