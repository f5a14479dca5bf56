// The first-run window's pages, navigation and permission footer over a model whose
// permission answer the test flips, offscreen.

#include "tests/Glyphnab/WindowFixture.h"

#include "Glyphnab/shell/HotKeyBindings.h"
#include "ZantrelUI/desktop/HotKeys.h"
#include "ZantrelUI/settings/ShortcutField.h"
#include "tests/Glyphnab/DeskKeys.h"

#include "Glyphnab/windows/DeskCommand.h"
#include "Glyphnab/windows/GrantStatus.h"
#include "Glyphnab/windows/OnboardingPages.h"
#include "Glyphnab/windows/OnboardingView.h"
#include "Glyphnab/windows/RouteCard.h"
#include "Glyphnab/windows/ShortcutRow.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelUI/design/ChipPicker.h"
#include "ZantrelUI/design/MotionClock.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/desktop/KeyboardLayout.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/PlainButton.h"
#include "ZantrelUI/design/StepDots.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>

#include <memory>

namespace {

using namespace Glyphnab;
using GlyphnabCore::Command;
using GlyphnabCore::Route;
using WindowTest::press;
using WindowTest::settle;
namespace Words = GlyphnabCore::Words;

class OnboardingTest : public WindowTest::WindowFixture {
protected:
    OnboardingTest() { ShortcutRow::setSystemShortcuts([] { return ZantrelUI::SystemShortcuts::ShortcutSet(); }); }
    ~OnboardingTest() override { ShortcutRow::setSystemShortcuts({}); }

    OnboardingView& open(int step = 0) {
        if (!model)
            makeModel();
        view = std::make_unique<OnboardingView>(*model, [this] { ++finishes; },
                                                ZantrelKit::Onboarding(OnboardingView::steps, step));
        view->show();
        settle();
        return *view;
    }

    template <class Page>
    Page* page() const {
        return qobject_cast<Page*>(view->page());
    }

    void setRoute(Route route) {
        GlyphnabCore::Preferences prefs = model->prefs();
        prefs.route = route;
        model->setPrefs(prefs);
    }

    std::unique_ptr<OnboardingView> view;
    int finishes = 0;
};

TEST_F(OnboardingTest, ContinueBackAndDoneWalkTheThreeStepsAndFinishOnce) {
    OnboardingView& v = open();
    ASSERT_NE(page<WelcomePage>(), nullptr);
    EXPECT_TRUE(v.backButton()->isHidden());
    EXPECT_EQ(v.nextButton()->text(), Words::onboardingNext());
    EXPECT_TRUE(v.nextButton()->prominent());
    EXPECT_EQ(v.dots()->current(), 0);

    press(&v, Qt::Key_Return);
    ASSERT_NE(page<RoutePage>(), nullptr);
    EXPECT_FALSE(v.backButton()->isHidden());
    EXPECT_EQ(v.backButton()->text(), Words::onboardingBack());
    EXPECT_FALSE(v.backButton()->prominent());
    EXPECT_EQ(v.dots()->current(), 1);

    v.backButton()->click();
    EXPECT_EQ(v.flow().step(), 0);
    EXPECT_NE(page<WelcomePage>(), nullptr);
    v.goBack();  // never before the first
    EXPECT_EQ(v.flow().step(), 0);

    v.nextButton()->click();
    v.nextButton()->click();
    ASSERT_NE(page<KeysPage>(), nullptr);
    EXPECT_EQ(v.nextButton()->text(), Words::onboardingDone());
    EXPECT_EQ(finishes, 0);
    press(&v, Qt::Key_Return);
    EXPECT_EQ(finishes, 1);
    EXPECT_EQ(v.flow().step(), 2);
    v.nextButton()->click();  // pressed again before the window went
    EXPECT_EQ(finishes, 1);
    EXPECT_EQ(context.defaults().integer(onboardingStepKey), std::nullopt);
}

TEST_F(OnboardingTest, AFlowHandedInAtTheRouteStepOpensThereWithBack) {
    OnboardingView& v = open(1);
    EXPECT_NE(page<RoutePage>(), nullptr);
    EXPECT_FALSE(v.backButton()->isHidden());
    EXPECT_EQ(v.dots()->current(), 1);
    EXPECT_EQ(v.pageFade().value(), 1);  // the first page shows at once
}

TEST_F(OnboardingTest, RouteCardsFollowAndWriteTheRoute) {
    open(1);
    RoutePage* route = page<RoutePage>();
    ASSERT_NE(route, nullptr);
    EXPECT_TRUE(route->screenCard()->chosen());
    EXPECT_FALSE(route->clipboardCard()->chosen());
    EXPECT_EQ(route->clipboardCard()->footer(), nullptr);  // no permission controls there
    EXPECT_EQ(route->screenCard()->detailLabel()->text(), Words::routeScreenDetailX11()) << "X11 asks no permission";
    route->clipboardCard()->choose();
    EXPECT_EQ(model->prefs().route, Route::clipboard);
    EXPECT_TRUE(route->clipboardCard()->chosen());
    EXPECT_FALSE(route->screenCard()->chosen());
    route->screenCard()->choose();
    EXPECT_EQ(model->prefs().route, Route::screen);
}

// Whether a widget draws itself differently while it has the focus.
bool showsFocus(QWidget* widget) {
    const QImage focused = widget->grab().toImage();
    widget->clearFocus();
    settle();
    const QImage plain = widget->grab().toImage();
    widget->setFocus(Qt::TabFocusReason);
    settle();
    return focused != plain;
}

TEST_F(OnboardingTest, RouteCardsAreChosenAndWalkedFromTheKeyboard) {
    OnboardingView& v = open(1);
    RoutePage* route = page<RoutePage>();
    ASSERT_NE(route, nullptr);
    RouteCard* screen = route->screenCard();
    RouteCard* clipboard = route->clipboardCard();
    screen->setFocus(Qt::TabFocusReason);
    settle();
    ASSERT_TRUE(screen->hasFocus());
    EXPECT_TRUE(showsFocus(screen));

    press(screen, Qt::Key_Down);
    EXPECT_TRUE(clipboard->hasFocus());
    EXPECT_TRUE(showsFocus(clipboard)) << "the chosen look and the focus ring are not the same thing";
    press(clipboard, Qt::Key_Down);
    EXPECT_TRUE(clipboard->hasFocus()) << "the last card keeps the focus";
    press(clipboard, Qt::Key_Space);
    EXPECT_EQ(model->prefs().route, Route::clipboard);

    press(clipboard, Qt::Key_Left);
    EXPECT_TRUE(screen->hasFocus());
    press(screen, Qt::Key_Return);
    EXPECT_EQ(model->prefs().route, Route::screen);
    EXPECT_EQ(v.flow().step(), 1) << "Return on a card chooses it rather than moving on";
    EXPECT_TRUE(showsFocus(screen));
}

TEST_F(OnboardingTest, EveryTabStopOfEveryStepShowsItsFocus) {
    for (const int step : {0, 1, 2}) {
        OnboardingView& v = open(step);
        v.activateWindow();
        QApplication::setActiveWindow(&v);
        settle();
        QWidget* start = QApplication::focusWidget();
        ASSERT_NE(start, nullptr) << "step " << step;
        QList<QWidget*> seen;
        for (int tab = 0; tab < 20; ++tab) {
            press(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* stop = QApplication::focusWidget();
            ASSERT_NE(stop, nullptr);
            if (seen.contains(stop))
                break;
            seen.append(stop);
            EXPECT_TRUE(showsFocus(stop)) << "step " << step << ": " << stop->metaObject()->className() << " "
                                          << stop->accessibleName().toStdString();
        }
        EXPECT_GE(seen.size(), 1);
        if (step == 1) {
            EXPECT_EQ(std::ranges::count_if(seen, [](QWidget* w) { return qobject_cast<RouteCard*>(w) != nullptr; }), 2)
                << "both route cards are reached with Tab";
        }
    }
}

TEST_F(OnboardingTest, AllowWritesTheRouteAndTheResumeStepBeforeTheSystemPrompt) {
    makeModel();
    setRoute(Route::clipboard);
    open(1);
    GrantFooter* footer = page<RoutePage>()->grantFooter();
    ASSERT_EQ(footer->form(), GrantFooter::Form::status);
    EXPECT_EQ(footer->statusText(), Words::grantWaiting());
    EXPECT_FALSE(footer->status()->on());
    ASSERT_NE(footer->allowButton(), nullptr);
    EXPECT_FALSE(footer->allowButton()->isHidden());

    int stepAtAsk = -1;
    Route routeAtAsk = Route::clipboard;
    const int asksBefore = asks;
    onAsk = [&] {
        stepAtAsk = static_cast<int>(context.defaults().integer(onboardingStepKey).value_or(-1));
        routeAtAsk = model->prefs().route;
    };
    footer->allowButton()->click();
    EXPECT_EQ(asks, asksBefore + 1);
    EXPECT_EQ(stepAtAsk, 1);
    EXPECT_EQ(routeAtAsk, Route::screen);
    EXPECT_EQ(context.defaults().integer(onboardingStepKey), 1);

    // Asked, still off: the reopen hint with Open Settings and Quit and Reopen instead of Allow.
    footer = page<RoutePage>()->grantFooter();
    ASSERT_EQ(footer->form(), GrantFooter::Form::reopen);
    EXPECT_EQ(footer->statusText(), Words::grantReopen(QStringLiteral("Glyphnab")));
    EXPECT_EQ(footer->allowButton(), nullptr);
    ASSERT_NE(footer->settingsButton(), nullptr);
    footer->settingsButton()->click();
    EXPECT_EQ(asks, asksBefore + 2);
    EXPECT_EQ(opened.size(), 1);  // the second request opens the settings
    footer->quitReopenButton()->click();
    EXPECT_EQ(relaunches, 1);

    // On now: back to the status form, with no Allow.
    allowed = true;
    tick();
    ASSERT_EQ(footer->form(), GrantFooter::Form::status);
    EXPECT_EQ(footer->statusText(), Words::grantX11On()) << "X11 asks no permission";
    EXPECT_TRUE(footer->status()->on());
    EXPECT_TRUE(footer->allowButton()->isHidden());
}

TEST_F(OnboardingTest, KeysStepTryItLineFollowsRouteAndPermission) {
    makeModel();
    open(2);
    KeysPage* keys = page<KeysPage>();
    ASSERT_NE(keys, nullptr);
    const QString shortcut = ZantrelUI::KeyboardLayout::text(model->prefs().shortcuts.at(Command::grab));
    EXPECT_EQ(keys->tryItText(), Words::keysTryItNoGrant(shortcut));
    allowed = true;
    tick();
    EXPECT_EQ(keys->tryItText(), Words::keysTryIt(shortcut));
    setRoute(Route::clipboard);
    EXPECT_EQ(keys->tryItText(), Words::keysTryItClipboard(shortcut));

    // Without a grab shortcut there is nothing to try.
    GlyphnabCore::Preferences prefs = model->prefs();
    prefs.shortcuts.erase(Command::grab);
    model->setPrefs(prefs);
    EXPECT_EQ(keys->tryItText(), std::nullopt);
}

TEST_F(OnboardingTest, KeysStepShowsAGrabShortcutAnotherProgramHoldsAndOpensTheRecorder) {
    makeModel();
    allowed = true;
    Desk desk;
    desk.owned = {17};  // the default grab key
    ZantrelUI::HotKeys hotKeys{std::make_unique<DeskService>(desk)};
    HotKeyBindings bindings(*model, hotKeys);
    ASSERT_EQ(bindings.refused(), QSet<Command>{Command::grab});
    open(2);
    view->setHotKeyBindings(&bindings);
    tick();
    KeysPage* keys = page<KeysPage>();
    ASSERT_NE(keys, nullptr);
    const QString shortcut = ZantrelUI::KeyboardLayout::text(model->prefs().shortcuts.at(Command::grab));
    EXPECT_EQ(keys->tryItText(), Words::keysTryItRefused(shortcut)) << "no invitation to press dead keys";
    EXPECT_TRUE(keys->row(Command::grab)->isRefused());
    // Said once, in the try-it line, which looks like the problem it is.
    EXPECT_FALSE(keys->row(Command::grab)->refusedLabel()->isVisible());
    EXPECT_EQ(keys->tryItSymbol(), QStringLiteral("exclamationmark.triangle.fill"));
    EXPECT_FALSE(keys->row(Command::grabOther)->isRefused());

    ASSERT_TRUE(keys->changeButton()->isVisible());
    keys->row(Command::grab)->setHotKeys(&hotKeys);
    keys->changeButton()->click();
    ZantrelUI::ShortcutField* field = keys->row(Command::grab)->field();
    EXPECT_TRUE(field->isRecording());
    EXPECT_TRUE(field->hasFocus());
    field->stop();

    // Keys the desktop gives: the refusal goes, the invitation comes back.
    GlyphnabCore::Preferences prefs = model->prefs();
    prefs.shortcuts[Command::grab] = ZantrelKit::Shortcut{5, prefs.shortcuts.at(Command::grab).modifiers};
    model->setPrefs(prefs);
    settle();
    EXPECT_TRUE(bindings.refused().isEmpty());
    EXPECT_FALSE(keys->row(Command::grab)->isRefused());
    EXPECT_FALSE(keys->changeButton()->isVisible());
    EXPECT_EQ(keys->tryItText(), Words::keysTryIt(ZantrelUI::KeyboardLayout::text(prefs.shortcuts.at(Command::grab))));
    EXPECT_EQ(keys->tryItSymbol(), QStringLiteral("hand.point.right.fill"));
}

// The desktop answers the shortcut binding after the page opened: it binds nothing.
TEST_F(OnboardingTest, KeysStepFollowsADesktopThatTurnsOutToHaveNoGlobalKeys) {
    makeModel();
    Desk desk;
    desk.kind = Platform::HotKeyDesk::portal;
    ZantrelUI::HotKeys hotKeys{std::make_unique<DeskService>(desk)};
    HotKeyBindings bindings(*model, hotKeys);
    open(2);
    view->setHotKeyBindings(&bindings);
    tick();
    KeysPage* keys = page<KeysPage>();
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->body()->text(), Words::keysBodyDesk());
    EXPECT_FALSE(keys->row(Command::grab)->deskCommand()->isVisible());

    desk.kind = Platform::HotKeyDesk::none;
    ASSERT_TRUE(desk.changed);
    desk.changed();
    settle();
    EXPECT_EQ(keys->body()->text(), Words::keysBodyNoGlobalKeys());
    for (const Command command : GlyphnabCore::allCommands) {
        EXPECT_TRUE(keys->row(command)->deskCommand()->isVisible());
        // The page's text says it once, not each row again.
        EXPECT_FALSE(keys->row(command)->refusedLabel()->isVisible());
    }
    EXPECT_EQ(keys->tryItText(), Words::keysTryItCommand());
    // No tray host here: the page says how to reach the app instead of pointing at an icon.
    EXPECT_EQ(keys->menuBarLine()->text(), Words::keysNoTray(model->appName()));
}

TEST_F(OnboardingTest, KeysStepLineModeChoiceSwapsTheRowTitles) {
    open(2);
    KeysPage* keys = page<KeysPage>();
    EXPECT_EQ(keys->rowTitle(Command::grab)->text(), Words::shortcutTitle(false));
    EXPECT_EQ(keys->rowTitle(Command::grabOther)->text(), Words::shortcutTitle(true));
    keys->lineModes()->setSelection(QStringLiteral("join"));
    EXPECT_EQ(model->prefs().lineMode, ZantrelText::LineMode::join);
    EXPECT_EQ(keys->rowTitle(Command::grab)->text(), Words::shortcutTitle(true));
    EXPECT_EQ(keys->rowTitle(Command::grabOther)->text(), Words::shortcutTitle(false));
    EXPECT_EQ(keys->row(Command::grab)->field()->title(), Words::shortcutTitle(true));
}

TEST_F(OnboardingTest, HoldsTheGrantWatchWhileShown) {
    makeModel();
    OnboardingView& v = open();
    EXPECT_EQ(model->grantWatchers(), 1);
    v.hide();
    EXPECT_EQ(model->grantWatchers(), 0);
    v.show();
    EXPECT_EQ(model->grantWatchers(), 1);
    view.reset();
    EXPECT_EQ(model->grantWatchers(), 0);
    EXPECT_FALSE(model->pollingGrant());
}

TEST_F(OnboardingTest, UnderReducedMotionThePageChangeIsShort) {
    OnboardingView& v = open();
    ZantrelUI::Environment::setReduceMotionOverride(&v, true);
    v.goOn();
    if (v.pageFade().isAnimating()) {
        EXPECT_LE(v.pageFade().animation()->totalDuration(), 0.15 + 1e-9);
    }
    ZantrelUI::Environment::setReduceMotionOverride(&v, false);
    v.goOn();
    ASSERT_TRUE(v.pageFade().isAnimating());
    EXPECT_EQ(v.pageFade().animation()->kind, ZantrelUI::Motion::Animation::Kind::spring);
}

TEST_F(OnboardingTest, AStepChangeFadesTheOldPageOutAsTheNewOneFadesIn) {
    ZantrelUI::ManualMotionClock motion;
    const ZantrelUI::ScopedMotionClock scoped(motion);
    OnboardingView& v = open();
    QWidget* welcome = v.page();
    const QRect where = welcome->geometry();
    v.goOn();
    settle();
    ASSERT_EQ(v.leavingPage(), welcome);
    EXPECT_TRUE(welcome->isVisible());
    EXPECT_EQ(welcome->geometry(), where);
    motion.advance(0.08);
    settle();
    const auto opacity = [](QWidget* page) {
        auto* effect = qobject_cast<QGraphicsOpacityEffect*>(page->graphicsEffect());
        return effect ? effect->opacity() : 1.0;
    };
    ASSERT_NE(v.leavingPage(), nullptr);
    EXPECT_GT(opacity(v.leavingPage()), 0.0);
    EXPECT_LT(opacity(v.leavingPage()), 1.0);
    EXPECT_NEAR(opacity(v.leavingPage()) + opacity(v.page()), 1.0, 1e-6);
    // A second change mid-fade drops the first leaving page at once.
    v.goBack();
    settle();
    EXPECT_NE(v.leavingPage(), welcome);
    motion.advance(2);
    settle();
    EXPECT_EQ(v.leavingPage(), nullptr);
    EXPECT_EQ(v.page()->graphicsEffect(), nullptr);
}

}  // namespace
