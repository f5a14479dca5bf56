#include "ZantrelKit/Copy.h"
#include "ZantrelKit/Formatting.h"
#include "ZantrelKit/Localization.h"

#include <gtest/gtest.h>

using namespace ZantrelKit;

namespace {

// The kit ships English only, so every text here is its English default.
class CopyTest : public testing::Test {
protected:
    void SetUp() override { Formatting::setLocale(QLocale(QStringLiteral("en_US"))); }
    void TearDown() override { Formatting::setLocale(QLocale(QStringLiteral("en_US"))); }
};

TEST_F(CopyTest, DefaultsTakeTheirArgumentsInOrder) {
    EXPECT_EQ(Copy::stepOf(2, 4), QStringLiteral("Step 2 of 4"));
    EXPECT_EQ(Copy::Settings::version(QStringLiteral("1.2")), QStringLiteral("Version 1.2"));
    EXPECT_EQ(Copy::Menus::quit(QStringLiteral("Glyphnab")), QStringLiteral("Quit Glyphnab"));
    EXPECT_EQ(Copy::Permission::stuckAddAgain(QStringLiteral("G")),
              QStringLiteral("Switched on, but G doesn't see it? Quit and reopen G, then allow it again when "
                             "your desktop asks."));
    EXPECT_EQ(Copy::Permission::againDetail(Permission::screenRecording(), QStringLiteral("Glyphnab")),
              QStringLiteral("Glyphnab had Screen Recording before, and it's off now. Your system can turn it "
                             "off after an update or a change in Settings."));
    EXPECT_EQ(Copy::Flow::busy(25), QStringLiteral("25% done"));
    EXPECT_EQ(Copy::Flow::skipped(3), QStringLiteral("Skipped: 3"));
    EXPECT_EQ(Copy::Menus::settings(), QStringLiteral("Settings\u2026"));
    EXPECT_EQ(Copy::Diagnostics::footer(QStringLiteral("Glyphnab")).left(64),
              QStringLiteral("Log since Glyphnab last opened, newest last, up to 200 lines. Th"));
}

TEST_F(CopyTest, PlainTexts) {
    EXPECT_EQ(Copy::Diagnostics::subject(QStringLiteral("Glyphnab"), QStringLiteral("1.2"), QStringLiteral("34")),
              QStringLiteral("Glyphnab report 1.2 (34)"));
    EXPECT_EQ(Copy::Settings::supportSubject(QStringLiteral("Glyphnab")), QStringLiteral("Glyphnab support"));
}

TEST_F(CopyTest, PermissionNameAndPath) {
    const Permission noPath{QStringLiteral("custom"), {}};
    EXPECT_EQ(Copy::Permission::name(noPath), QStringLiteral("custom"));
    const Permission threeSteps{QStringLiteral("x"),
                                {QStringLiteral("System Settings"), QStringLiteral("Privacy & Security"),
                                 QStringLiteral("Screen & System Audio Recording")}};
    EXPECT_EQ(Copy::Permission::name(threeSteps), QStringLiteral("Screen & System Audio Recording"));
    EXPECT_EQ(Copy::Permission::goTo(threeSteps),
              QStringLiteral("Go to System Settings > Privacy & Security > Screen & System Audio Recording."));
}

TEST_F(CopyTest, ShortNamesByIdElseThePaneName) {
    EXPECT_EQ(Copy::Permission::shortName(Permission::screenRecording()), QStringLiteral("Screen Recording"));
    EXPECT_EQ(Copy::Permission::shortName(Permission::accessibility(27)), QStringLiteral("Accessibility"));
    EXPECT_EQ(Copy::Permission::shortName(Permission::fullDiskAccess()), QStringLiteral("Full Disk Access"));
    EXPECT_EQ(Copy::Permission::shortName(Permission::camera()), QStringLiteral("Camera"));
    EXPECT_EQ(Copy::Permission::againTitle(Permission::fullDiskAccess()), QStringLiteral("Allow Full Disk Access again"));
}

TEST_F(CopyTest, KeyNamesOnlyForTheSpecialKeys) {
    EXPECT_EQ(Copy::Keys::name(0), std::nullopt);
    EXPECT_EQ(Copy::Keys::name(17), std::nullopt);
    EXPECT_EQ(Copy::Keys::name(36), QStringLiteral("Return"));
    EXPECT_EQ(Copy::Keys::name(76), QStringLiteral("Enter"));
    EXPECT_EQ(Copy::Keys::name(126), QStringLiteral("Up Arrow"));
    // The PC keyboard's names for the two delete keys.
    EXPECT_EQ(Copy::Keys::name(51), QStringLiteral("Backspace"));
    EXPECT_EQ(Copy::Keys::name(117), QStringLiteral("Delete"));
}

TEST_F(CopyTest, CountsAndShownRows) {
    EXPECT_EQ(Copy::Find::shown(5, 5), QStringLiteral("5 shown"));
    EXPECT_EQ(Copy::Find::shown(2, 5), QStringLiteral("2 of 5 shown"));
    EXPECT_EQ(Copy::Ticks::count(2, 7), QStringLiteral("2 of 7 ticked"));
    EXPECT_EQ(Copy::Ticks::count(2, 7, QStringLiteral("1.5 MB")), QStringLiteral("2 of 7 ticked, 1.5 MB"));
    EXPECT_EQ(Copy::Ticks::selected(4), QStringLiteral("4 selected"));
    EXPECT_EQ(Copy::Ticks::state(TickState::mixed), QStringLiteral("Some ticked"));
    EXPECT_EQ(Copy::MenuBar::status(QStringLiteral("G"), true), QStringLiteral("G, paused"));
    EXPECT_EQ(Copy::MenuBar::status(QStringLiteral("G"), false), QStringLiteral("G, needs attention"));
}

TEST_F(CopyTest, ListsFollowTheFormattingLocaleNotTheTextLocale) {
    const QString a = QStringLiteral("A"), b = QStringLiteral("B"), c = QStringLiteral("C");
    EXPECT_EQ(Copy::joinedList({a, b, c}), QStringLiteral("A, B, and C"));
    EXPECT_EQ(Copy::joinedList({a, b}), QStringLiteral("A and B"));
    EXPECT_EQ(Copy::joinedList({a}), QStringLiteral("A"));
    EXPECT_EQ(Copy::joinedList({}), QString());
    EXPECT_EQ(Copy::Shortcuts::sameAs({QStringLiteral("Grab"), QStringLiteral("Grab Other Way")}),
              QStringLiteral("Also set for Grab and Grab Other Way."));

    Localization::setLocale(QLocale(QStringLiteral("en_GB")));
    EXPECT_EQ(Copy::joinedList({a, b, c}), QStringLiteral("A, B, and C"));
    Localization::resetLocale();
    Formatting::setLocale(QLocale(QStringLiteral("de_DE")));
    EXPECT_EQ(Copy::joinedList({a, b, c}), QStringLiteral("A, B und C"));
}

}  // namespace
