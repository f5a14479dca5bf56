// What the Settings window hands the support report and the General tab.

#include "Glyphnab/windows/SettingsFacts.h"
#include "Glyphnab/shell/Updater.h"

#include <gtest/gtest.h>

namespace Glyphnab {
namespace {

using Fact = ZantrelKit::DiagnosticReport::Fact;

TEST(SettingsReportFields, FourLinesInOrderAndLanguagesReadSystemWhileFollowing) {
    GlyphnabCore::Preferences prefs;
    prefs.route = GlyphnabCore::Route::clipboard;
    prefs.lineMode = ZantrelText::LineMode::join;
    prefs.followSystemLanguages = true;
    prefs.languages = {QStringLiteral("de-Latn-DE"), QStringLiteral("en-Latn-US")};  // ignored while following
    EXPECT_EQ(reportFields(prefs, true),
              (QList<Fact>{{"Route", "clipboard"}, {"Screen Recording", "on"}, {"Line mode", "join"},
                           {"Languages", "system"}}));

    prefs.followSystemLanguages = false;
    prefs.route = GlyphnabCore::Route::screen;
    prefs.lineMode = ZantrelText::LineMode::keep;
    const QList<Fact> picked = reportFields(prefs, false);
    EXPECT_EQ(picked[0].value, "screen");
    EXPECT_EQ(picked[1].value, "off");
    EXPECT_EQ(picked[2].value, "keep");
    EXPECT_EQ(picked[3], (Fact{"Languages", "de-Latn-DE,en-Latn-US"}));

    prefs.languages.clear();
    EXPECT_EQ(reportFields(prefs, false)[3], (Fact{"Languages", ""}));
}

TEST(SettingsUpdatesState, NoFeedMeansNotConfiguredAndNoCheck) {
    Updater bare{ZantrelKit::OwnerConfig(QVariantMap{{QStringLiteral("SUFeedURL"), QStringLiteral("https://example.org/feed")},
                                                     {QStringLiteral("SUPublicEDKey"), QStringLiteral("PLACEHOLDER")}})};
    const ZantrelUI::UpdatesState state = updatesState(bare);
    EXPECT_FALSE(state.configured);
    EXPECT_FALSE(state.canCheck);

    Updater set{ZantrelKit::OwnerConfig(QVariantMap{{QStringLiteral("SUFeedURL"), QStringLiteral("https://example.org/feed")},
                                                    {QStringLiteral("SUPublicEDKey"), QStringLiteral("key")}}),
                std::nullopt};  // no background checks
    EXPECT_TRUE(updatesState(set).configured);
}

TEST(SettingsUpdatesState, TheCheckOutlivingItsUpdaterDoesNothing) {
    std::function<void()> check;
    {
        Updater gone{ZantrelKit::OwnerConfig(QVariantMap{})};
        check = updatesState(gone).check;
    }
    ASSERT_TRUE(check);
    check();  // must not reach a destroyed updater
}

}  // namespace
}  // namespace Glyphnab
