// The app's General and Shortcuts tabs: what each control writes through the model, and
// what the rows show for the model's state.

#include "Glyphnab/windows/GeneralTab.h"
#include "Glyphnab/windows/ShortcutRow.h"
#include "Glyphnab/windows/ShortcutsTab.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelUI/design/ChipPicker.h"
#include "ZantrelUI/settings/GeneralSettingsTab.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/SettingsCard.h"
#include "tests/Glyphnab/SettingsFixture.h"
#include "tests/Glyphnab/WaylandScreen.h"

#include <QMouseEvent>

#include <gtest/gtest.h>

namespace Glyphnab {
namespace {

using GlyphnabCore::Command;
using GlyphnabCore::Preferences;
using GlyphnabCore::Route;
using SettingsTesting::ModelSetup;
using SettingsTesting::SettingsModel;
using SettingsTesting::settle;
using ZantrelKit::Shortcut;
using ZantrelText::LineMode;
namespace Words = GlyphnabCore::Words;

void clickChip(ZantrelUI::ChipPicker* picker, int index) {
    const QPointF at = picker->chipRects().at(static_cast<std::size_t>(index)).center();
    QMouseEvent down(QEvent::MouseButtonPress, at, picker->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(picker, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, at, picker->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                   Qt::NoModifier);
    QCoreApplication::sendEvent(picker, &up);
}

// Visible in the tab (not only not hidden itself).
bool shown(const QWidget* widget, const QWidget* tab) { return widget != nullptr && widget->isVisibleTo(tab); }

struct General {
    explicit General(bool allowed = false) : fake(ModelSetup{{}, {}, allowed}) {
        tab = std::make_unique<GeneralTab>(*fake.model, ZantrelUI::UpdatesState{});
        tab->resize(604, 700);
        tab->show();
        settle();
    }
    const Preferences& prefs() const { return fake.model->prefs(); }
    SettingsModel fake;
    std::unique_ptr<GeneralTab> tab;
};

TEST(GeneralTab, TheAppsRowsComeFirstAndWriteLineHandlingAndRouteThroughTheModel) {
    General g;
    ASSERT_FALSE(g.tab->shared()->extraWidgets().isEmpty());
    EXPECT_TRUE(g.tab->shared()->extraWidgets().front()->isAncestorOf(g.tab->lineBreaksPicker()));

    clickChip(g.tab->lineBreaksPicker(), 1);
    EXPECT_EQ(g.prefs().lineMode, LineMode::join);
    clickChip(g.tab->routePicker(), 1);
    EXPECT_EQ(g.prefs().route, Route::clipboard);
    g.tab->keepRecentsSwitch()->setOn(false);
    EXPECT_FALSE(g.prefs().keepRecents);

    // A change made elsewhere shows at once.
    g.fake.change([](Preferences& p) { p.lineMode = LineMode::keep; });
    EXPECT_EQ(g.tab->lineBreaksPicker()->selection().toInt(), static_cast<int>(LineMode::keep));
}

TEST(GeneralTab, TheRouteNoteSwapsBetweenTheClipboardNoteAndTheCaptureState) {
    General g;
    RouteNote* note = g.tab->routeNote();
    EXPECT_FALSE(note->showsClipboardNote());
    EXPECT_EQ(note->statusText(), Words::grantTitle());
    EXPECT_FALSE(note->statusMarkIsOn());
    ASSERT_TRUE(shown(note->openSettingsButton(), g.tab.get()));
    note->openSettingsButton()->click();
    EXPECT_EQ(g.fake.asks, 1);  // asked through the model

    clickChip(g.tab->routePicker(), 1);
    EXPECT_TRUE(note->showsClipboardNote());

    // Back to the screen, with capture on meanwhile: the status line shows the new state.
    g.fake.allowScreen(true);
    g.fake.model->refreshGrant();
    clickChip(g.tab->routePicker(), 0);
    EXPECT_FALSE(note->showsClipboardNote());
    EXPECT_EQ(note->statusText(), Words::grantX11On()) << "X11 asks no permission";
    EXPECT_TRUE(note->statusMarkIsOn());
    EXPECT_FALSE(shown(note->openSettingsButton(), g.tab.get()));
}

TEST(GeneralTab, AWaylandDesktopIsNamedForWhatItHasNotForAPermission) {
    {
        const WaylandTesting::ScreenOfSession session(QStringLiteral("No portal here"));
        General g;
        RouteNote* note = g.tab->routeNote();
        EXPECT_EQ(note->statusText(), Words::grantTitleUnavailable());
        // No settings switch on a service the desktop lacks.
        EXPECT_FALSE(shown(note->openSettingsButton(), g.tab.get()));
    }
    const WaylandTesting::ScreenOfSession session{QString()};
    General g(true);
    EXPECT_EQ(g.tab->routeNote()->statusText(), Words::grantPortalOn());
}

TEST(GeneralTab, ShowingTheTabReadsTheCaptureStateAgain) {
    General g;
    g.tab->hide();
    g.fake.allowScreen(true);
    EXPECT_FALSE(g.fake.model->screenAllowed());
    g.tab->show();
    settle();
    EXPECT_TRUE(g.fake.model->screenAllowed());
    EXPECT_EQ(g.tab->routeNote()->statusText(), Words::grantX11On());
}

TEST(GeneralTab, HidingTheIconOffersQuitWhichQuits) {
    General g;
    EXPECT_FALSE(shown(g.tab->quitButton(), g.tab.get()));
    g.tab->showIconSwitch()->setOn(false);
    settle();
    EXPECT_FALSE(g.prefs().showIcon);
    ASSERT_TRUE(shown(g.tab->quitButton(), g.tab.get()));
    EXPECT_EQ(g.tab->quitButton()->text(), Words::menuQuit(QStringLiteral("Glyphnab")));
    g.tab->quitButton()->click();
    EXPECT_EQ(g.fake.quits, 1);
    g.tab->showIconSwitch()->setOn(true);
    settle();
    EXPECT_FALSE(shown(g.tab->quitButton(), g.tab.get()));
}

TEST(ShortcutsTab, ResetIsOfferedOnlyAwayFromTheDefaults) {
    SettingsModel fake;
    ShortcutsTab tab(*fake.model);
    EXPECT_FALSE(tab.resetButton()->isEnabled());

    const Shortcut other{0, Shortcut::Modifiers::control | Shortcut::Modifiers::option};
    fake.change([&](Preferences& p) { p.shortcuts[Command::grab] = other; });
    EXPECT_TRUE(tab.resetButton()->isEnabled());
    tab.resetButton()->click();
    EXPECT_EQ(fake.model->prefs().shortcuts, Preferences::defaultShortcuts());
    EXPECT_FALSE(tab.resetButton()->isEnabled());

    // Restoring both by hand counts as the defaults too; a missing entry does not.
    fake.change([&](Preferences& p) { p.shortcuts[Command::grabOther] = other; });
    EXPECT_TRUE(tab.resetButton()->isEnabled());
    fake.change([&](Preferences& p) { p.shortcuts[Command::grabOther] = Preferences::defaultShortcuts().at(Command::grabOther); });
    EXPECT_FALSE(tab.resetButton()->isEnabled());
    fake.change([&](Preferences& p) { p.shortcuts.erase(Command::grabOther); });
    EXPECT_TRUE(tab.resetButton()->isEnabled());
}

TEST(ShortcutsTab, TheFirstRowNamesWhatTheFirstShortcutDoesNow) {
    SettingsModel fake;
    fake.change([](Preferences& p) { p.lineMode = LineMode::join; });
    ShortcutsTab tab(*fake.model);
    EXPECT_EQ(tab.rowTitle(Command::grab), Words::settingsShortcutJoin());
    EXPECT_EQ(tab.rowTitle(Command::grabOther), Words::settingsShortcutKeep());
    fake.change([](Preferences& p) { p.lineMode = LineMode::keep; });
    EXPECT_EQ(tab.rowTitle(Command::grab), Words::settingsShortcutKeep());
    EXPECT_EQ(tab.rowTitle(Command::grabOther), Words::settingsShortcutJoin());
}

}  // namespace
}  // namespace Glyphnab
