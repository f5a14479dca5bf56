// The Settings window: four tabs in the family's shell, a fresh page at each change of tab,
// and the tab kept by the window set across closing and reopening.

#include "Glyphnab/windows/AppWindows.h"
#include "Glyphnab/windows/GeneralTab.h"
#include "Glyphnab/shell/HotKeyBindings.h"
#include "Glyphnab/windows/LanguagesTab.h"
#include "Glyphnab/windows/OnboardingView.h"
#include "Glyphnab/windows/SettingsRoot.h"
#include "Glyphnab/windows/ShortcutRow.h"
#include "Glyphnab/windows/ShortcutsTab.h"
#include "Glyphnab/shell/Updater.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/design/ChipPicker.h"
#include "ZantrelUI/pieces/FindField.h"
#include "ZantrelUI/settings/GeneralSettingsTab.h"
#include "ZantrelUI/design/GlassWindow.h"
#include "ZantrelUI/desktop/HotKeys.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/settings/SettingsShell.h"
#include "tests/Glyphnab/SettingsFixture.h"

#include <gtest/gtest.h>

namespace Glyphnab {
namespace {

using SettingsTesting::SettingsModel;
using SettingsTesting::settle;
using GlyphnabCore::Command;

// A desktop on which other programs hold some key codes, whatever the modifiers.
class TakenKeys final : public Platform::HotKeyService {
public:
    explicit TakenKeys(const QSet<std::uint16_t>& taken) : taken_(taken) {}
    void installHandler(Pressed) override {}
    Platform::HotKeyStatus registerKey(std::uint16_t keyCode, std::uint32_t, std::uint32_t) override {
        return taken_.contains(keyCode) ? Platform::HotKeyStatus::refused : Platform::HotKeyStatus::registered;
    }
    void unregisterKey(std::uint32_t) override {}

private:
    const QSet<std::uint16_t>& taken_;
};

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

TEST(SettingsRoot, TheTickBesideTheScreenStateIsInTheAppsAccentInSettingsAndInTheFirstRun) {
    Window w;
    w.fake.allowScreen(true);
    w.fake.model->refreshGrant();
    w.windows.showSettings();
    w.windows.showOnboarding();
    settle();
    // The route step is built when the user comes to it, as a page of a plain widget.
    auto* onboarding = w.windows.onboarding().window()->findChild<OnboardingView*>();
    ASSERT_NE(onboarding, nullptr);
    onboarding->nextButton()->click();
    settle();
    const QColor accent = w.fake.model->accent().top.resolve(ZantrelUI::ColorScheme::light);
    for (ZantrelUI::GlassWindow* window : {&w.windows.settings(), &w.windows.onboarding()}) {
        ASSERT_NE(window->window(), nullptr);
        for (const auto* check : window->window()->findChildren<ZantrelUI::CheckDrawView*>()) {
            if (check->isVisibleTo(window->window())) {
                EXPECT_EQ(check->colors().top.resolve(ZantrelUI::ColorScheme::light), accent)
                    << window->window()->windowTitle().toStdString();
            }
        }
    }
    EXPECT_FALSE(w.windows.settings().window()->findChildren<ZantrelUI::CheckDrawView*>().isEmpty());
    EXPECT_FALSE(w.windows.onboarding().window()->findChildren<ZantrelUI::CheckDrawView*>().isEmpty());
    w.windows.onboarding().close();
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

TEST(SettingsRoot, ARefusedShortcutIsToldUnderItsOwnRowAndTheLineFollowsTheDesktop) {
    Window w;
    const QSet<std::uint16_t> taken{17};  // the default grab key
    ZantrelUI::HotKeys hotKeys{std::make_unique<TakenKeys>(taken)};
    HotKeyBindings bindings(*w.fake.model, hotKeys);
    ASSERT_EQ(bindings.refused(), QSet<Command>{Command::grab});
    w.windows.setHotKeyBindings(&bindings);
    w.windows.selection().setTab(SettingsTab::shortcuts);
    w.windows.showSettings();
    settle();
    auto* tab = qobject_cast<ShortcutsTab*>(w.root()->page());
    ASSERT_NE(tab, nullptr);
    const ShortcutRow* grab = tab->recorder(Command::grab);
    const ShortcutRow* other = tab->recorder(Command::grabOther);
    EXPECT_EQ(grab->refusedText(), GlyphnabCore::Words::settingsShortcutRefused());
    EXPECT_TRUE(grab->refusedLabel()->isVisible());
    EXPECT_EQ(other->refusedText(), std::nullopt);
    // A refusal is not a clash between the two commands.
    EXPECT_EQ(grab->clashText(), std::nullopt);

    // Free keys clear the line in the open window; the other command taking the held key shows it there.
    const ZantrelKit::Shortcut grabKeys = w.fake.model->prefs().shortcuts.at(Command::grab);
    w.fake.change([&](GlyphnabCore::Preferences& p) {
        p.shortcuts[Command::grab] = ZantrelKit::Shortcut{5, grabKeys.modifiers};
        p.shortcuts[Command::grabOther] = ZantrelKit::Shortcut{17, ZantrelKit::Shortcut::Modifiers(5)};
    });
    settle();
    EXPECT_EQ(bindings.refused(), QSet<Command>{Command::grabOther});
    EXPECT_EQ(grab->refusedText(), std::nullopt);
    EXPECT_FALSE(grab->refusedLabel()->isVisible());
    EXPECT_EQ(other->refusedText(), GlyphnabCore::Words::settingsShortcutRefused());

    // A page built afresh starts from what the bindings know now.
    w.choose(SettingsTab::general);
    w.choose(SettingsTab::shortcuts);
    tab = qobject_cast<ShortcutsTab*>(w.root()->page());
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->recorder(Command::grab)->refusedText(), std::nullopt);
    EXPECT_EQ(tab->recorder(Command::grabOther)->refusedText(), GlyphnabCore::Words::settingsShortcutRefused());
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
