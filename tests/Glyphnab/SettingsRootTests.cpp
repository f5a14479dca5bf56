// The Settings window: four tabs in the family's shell, a fresh page at each change of tab,
// and the tab kept by the window set across closing and reopening.

#include "Glyphnab/AppWindows.h"
#include "Glyphnab/GeneralTab.h"
#include "Glyphnab/LanguagesTab.h"
#include "Glyphnab/SettingsRoot.h"
#include "Glyphnab/ShortcutsTab.h"
#include "Glyphnab/Updater.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelUI/ChipPicker.h"
#include "ZantrelUI/FindField.h"
#include "ZantrelUI/GeneralSettingsTab.h"
#include "ZantrelUI/GlassWindow.h"
#include "ZantrelUI/SettingsShell.h"
#include "tests/Glyphnab/SettingsFixture.h"

#include <gtest/gtest.h>

namespace Glyphnab {
namespace {

using SettingsTesting::SettingsModel;
using SettingsTesting::settle;

struct Window {
    Window() : updater(ZantrelKit::OwnerConfig(QVariantMap{})), windows(*fake.model, updater) {}
    ~Window() { windows.settings().close(); }

    SettingsRoot* root() const {
        QWidget* window = windows.settings().window();
        return window ? window->findChild<SettingsRoot*>() : nullptr;
    }
    void choose(SettingsTab tab) {
        root()->shell()->setSelection(QVariant::fromValue(tab));
        settle();
    }

    SettingsModel fake;
    Updater updater;
    AppWindows windows;
};

TEST(SettingsRoot, TheWindowShowsFourTabsAndTheGeneralPageKnowsUpdatesAreNotSetUp) {
    Window w;
    w.windows.showSettings();
    settle();
    ASSERT_NE(w.root(), nullptr);
    EXPECT_EQ(w.windows.settings().window()->width(), 640);
    const ZantrelUI::ChipPicker* chips = w.root()->shell()->chips();
    ASSERT_EQ(chips->options().size(), 4);
    QStringList titles;
    for (const SettingsTab tab : allSettingsTabs)
        titles.append(settingsTabTitle(tab));
    EXPECT_EQ(titles, (QStringList{"General", "Shortcuts", "Languages", "About"}));

    auto* general = qobject_cast<GeneralTab*>(w.root()->page());
    ASSERT_NE(general, nullptr);
    EXPECT_FALSE(general->shared()->updates().configured);  // no feed in the Info.plist
    EXPECT_FALSE(general->shared()->updates().canCheck);
}

TEST(SettingsRoot, SwitchingTabsBuildsAFreshPageAndTheTabSurvivesClosingTheWindow) {
    Window w;
    w.windows.showSettings();
    settle();
    w.choose(SettingsTab::languages);
    EXPECT_EQ(w.windows.selection().tab(), SettingsTab::languages);
    auto* languages = qobject_cast<LanguagesTab*>(w.root()->page());
    ASSERT_NE(languages, nullptr);
    languages->findField()->setText(QStringLiteral("fre"));

    w.choose(SettingsTab::shortcuts);
    EXPECT_NE(qobject_cast<ShortcutsTab*>(w.root()->page()), nullptr);
    w.choose(SettingsTab::languages);
    languages = qobject_cast<LanguagesTab*>(w.root()->page());
    ASSERT_NE(languages, nullptr);
    EXPECT_TRUE(languages->query().isEmpty());  // the search does not survive a switch

    w.windows.settings().close();
    settle();
    w.windows.showSettings();
    settle();
    ASSERT_NE(w.root(), nullptr);
    EXPECT_NE(qobject_cast<LanguagesTab*>(w.root()->page()), nullptr);
}

TEST(SettingsRoot, ReopeningWithTheIconHiddenTurnsAnOpenWindowToGeneral) {
    Window w;
    w.windows.showSettings();
    settle();
    w.choose(SettingsTab::languages);
    w.fake.change([](GlyphnabCore::Preferences& p) { p.showIcon = false; });
    w.windows.reopen();
    settle();
    EXPECT_EQ(w.windows.selection().tab(), SettingsTab::general);
    EXPECT_NE(qobject_cast<GeneralTab*>(w.root()->page()), nullptr);
}

}  // namespace
}  // namespace Glyphnab
