// The window set over a recording model: where onboarding resumes, how it finishes, the
// grant panel's size and title, and the reopen rule.

#include "tests/Glyphnab/WindowFixture.h"

#include "Glyphnab/windows/AppWindows.h"
#include "Glyphnab/windows/GrantPanelView.h"
#include "Glyphnab/windows/OnboardingPages.h"
#include "Glyphnab/windows/OnboardingView.h"
#include "Glyphnab/windows/ShortcutRow.h"
#include "Glyphnab/shell/Updater.h"
#include "ZantrelKit/DefaultsStore.h"
#include "ZantrelUI/design/GlassWindow.h"
#include "ZantrelUI/design/PillButton.h"

#include <QPointer>

namespace {

using namespace Glyphnab;
using WindowTest::settle;

class AppWindowsTest : public WindowTest::WindowFixture {
protected:
    AppWindowsTest() {
        ShortcutRow::setSystemShortcuts([] { return ZantrelUI::SystemShortcuts::ShortcutSet(); });
        makeModel();
        windows = std::make_unique<AppWindows>(*model, updater);
    }
    ~AppWindowsTest() override {
        windows.reset();
        ShortcutRow::setSystemShortcuts({});
    }

    template <class View>
    View* hosted(ZantrelUI::GlassWindow& holder) const {
        return holder.window() ? holder.window()->findChild<View*>() : nullptr;
    }

    Updater updater{ZantrelKit::OwnerConfig(QVariantMap())};
    std::unique_ptr<AppWindows> windows;
};

TEST_F(AppWindowsTest, ResumeStepIsClampedIntoTheThreeSteps) {
    ZantrelKit::MemoryDefaultsStore store;
    EXPECT_EQ(AppWindows::resumeStep(store), 0);
    store.setInteger(onboardingStepKey, 7);
    EXPECT_EQ(AppWindows::resumeStep(store), 2);
    store.setInteger(onboardingStepKey, -3);
    EXPECT_EQ(AppWindows::resumeStep(store), 0);
    store.setString(onboardingStepKey, QStringLiteral("1"));  // as the INI file keeps it
    EXPECT_EQ(AppWindows::resumeStep(store), 1);
    store.setString(onboardingStepKey, QStringLiteral("two"));
    EXPECT_EQ(AppWindows::resumeStep(store), 0);

    context.defaults().setInteger(onboardingStepKey, 7);
    windows->showOnboarding();
    settle();
    auto* view = hosted<OnboardingView>(windows->onboarding());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->flow().step(), 2);
    EXPECT_EQ(view->flow().steps(), 3);
    EXPECT_NE(qobject_cast<KeysPage*>(view->page()), nullptr);
    EXPECT_EQ(windows->onboarding().window()->windowTitle(), QStringLiteral("Glyphnab"));
    EXPECT_EQ(windows->onboarding().window()->size(), QSize(580, 530));
}

TEST_F(AppWindowsTest, FinishingSavesOnboardedResetsTheStepAndCloses) {
    context.defaults().setInteger(onboardingStepKey, 2);
    int changes = 0;
    QObject::connect(model.get(), &GlyphnabModel::changed, [&] { ++changes; });
    windows->showOnboarding();
    settle();
    auto* view = hosted<OnboardingView>(windows->onboarding());
    ASSERT_NE(view, nullptr);
    view->nextButton()->click();  // Done on the keys step
    settle();
    EXPECT_TRUE(model->prefs().onboarded);
    EXPECT_TRUE(GlyphnabCore::Preferences::load(context.defaults()).onboarded);
    EXPECT_EQ(context.defaults().integer(onboardingStepKey), 0);
    EXPECT_FALSE(windows->onboarding().isVisible());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(model->grantWatchers(), 0);
}

TEST_F(AppWindowsTest, ClosingOnboardingWithoutDoneKeepsItUnfinishedAtItsStep) {
    context.defaults().setInteger(onboardingStepKey, 1);
    windows->showOnboarding();
    settle();
    windows->onboarding().close();
    settle();
    EXPECT_FALSE(model->prefs().onboarded);
    EXPECT_EQ(context.defaults().integer(onboardingStepKey), 1);
    // Shown again: fresh content at the stored step.
    windows->showOnboarding();
    settle();
    auto* view = hosted<OnboardingView>(windows->onboarding());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->flow().step(), 1);
}

TEST_F(AppWindowsTest, ShowingTheGrantPanelTwiceKeepsItsSizeAndContent) {
    windows->showGrant();
    settle();
    ZantrelUI::GlassWindow& grant = windows->grant();
    ASSERT_TRUE(grant.isVisible());
    EXPECT_EQ(grant.window()->windowTitle(), AppWindows::grantTitle());
    const QSize size = grant.window()->size();
    QPointer<GrantPanelView> first = hosted<GrantPanelView>(grant);
    ASSERT_TRUE(first);
    EXPECT_EQ(size.width(), first->panelWidthNow());
    EXPECT_GE(size.width(), GrantPanelView::panelWidth);
    EXPECT_GE(size.height(), first->sizeHint().height());
    EXPECT_EQ(model->grantWatchers(), 1);  // only the shown panel watches, not the measured one

    windows->showGrant();
    settle();
    EXPECT_EQ(grant.window()->size(), size);
    EXPECT_EQ(hosted<GrantPanelView>(grant), first.data());
    EXPECT_EQ(model->grantWatchers(), 1);

    first->notNowButton()->click();
    settle();
    EXPECT_FALSE(grant.isVisible());
    EXPECT_EQ(model->grantWatchers(), 0);
}

TEST_F(AppWindowsTest, ReopeningWithTheIconHiddenLandsOnGeneral) {
    windows->selection().setTab(SettingsTab::languages);
    windows->reopen();
    settle();
    EXPECT_EQ(windows->selection().tab(), SettingsTab::languages);  // the icon shows
    EXPECT_EQ(windows->settings().window()->windowTitle(), QStringLiteral("Glyphnab Settings"));
    EXPECT_EQ(windows->settings().window()->width(), AppWindows::settingsWidth);

    GlyphnabCore::Preferences prefs = model->prefs();
    prefs.showIcon = false;
    model->setPrefs(prefs);
    windows->reopen();
    EXPECT_EQ(windows->selection().tab(), SettingsTab::general);
}

}  // namespace
