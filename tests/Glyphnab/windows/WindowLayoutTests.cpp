// Every window laid out whole, at the size it opens with, under whatever fonts the machine
// has (CTest runs these again under DejaVu only and Noto only): no text is cut, no piece
// sticks out of its parent, and the fixed sizes hold.

#include "tests/Glyphnab/WindowFixture.h"
#include "tests/support/LayoutCheck.h"
#include "tests/Glyphnab/DeskKeys.h"

#include "Glyphnab/shell/HotKeyBindings.h"
#include "Glyphnab/shell/Updater.h"
#include "Glyphnab/windows/DeskCommand.h"
#include "Glyphnab/windows/AppWindows.h"
#include "Glyphnab/windows/GrabIllustration.h"
#include "Glyphnab/windows/GrantPanelView.h"
#include "Glyphnab/windows/OnboardingPages.h"
#include "Glyphnab/windows/OnboardingView.h"
#include "Glyphnab/windows/RouteCard.h"
#include "Glyphnab/windows/SettingsRoot.h"
#include "Glyphnab/windows/ShortcutRow.h"
#include "ZantrelUI/design/GlassWindow.h"
#include "ZantrelUI/desktop/HotKeys.h"
#include "ZantrelUI/design/GlowSwitch.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/PlainButton.h"
#include "ZantrelUI/settings/AboutSettingsTab.h"
#include "ZantrelUI/settings/GeneralSettingsTab.h"
#include "ZantrelUI/settings/SettingsShell.h"
#include "ZantrelUI/settings/ShortcutField.h"
#include "ZantrelUI/settings/TabScroll.h"

#include <QApplication>
#include <QPointer>
#include <QResizeEvent>

#include <string>
#include <vector>

namespace {

using namespace Glyphnab;
using WindowTest::settle;

using TestSupport::describe;
using TestSupport::joined;
using TestSupport::layoutFaults;

// The widgets that Tab stops at whose look does not change when they take the focus.
std::vector<std::string> unmarkedTabStops(QWidget* window) {
    QApplication::setActiveWindow(window);
    std::vector<std::string> unmarked;
    // Letting events run may rebuild parts of the window: hold the widgets weakly.
    std::vector<QPointer<QWidget>> widgets;
    for (QWidget* w : window->findChildren<QWidget*>())
        widgets.emplace_back(w);
    for (const QPointer<QWidget>& w : widgets) {
        if (!w || !w->isVisibleTo(window) || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus) ||
            w->focusProxy() != nullptr)
            continue;
        window->setFocus(Qt::OtherFocusReason);
        settle();
        if (!w)
            continue;
        const QImage before = w->grab().toImage();
        w->setFocus(Qt::TabFocusReason);
        settle();
        if (!w || !w->hasFocus())
            continue;
        if (w->grab().toImage() == before)
            unmarked.push_back(describe(w));
    }
    return unmarked;
}

class WindowLayoutTest : public WindowTest::WindowFixture {
protected:
    WindowLayoutTest() {
        ShortcutRow::setSystemShortcuts([] { return ZantrelUI::SystemShortcuts::ShortcutSet(); });
        makeModel();
        windows = std::make_unique<AppWindows>(*model, updater);
    }
    ~WindowLayoutTest() override {
        windows.reset();
        ShortcutRow::setSystemShortcuts({});
    }

    // Lets queued measurements and window fitting run.
    static void settleLayout() {
        for (int i = 0; i < 4; ++i)
            settle();
    }

    Updater updater{ZantrelKit::OwnerConfig(QVariantMap())};
    std::unique_ptr<AppWindows> windows;
};

TEST_F(WindowLayoutTest, SettingsShowsEveryTabWholeAtItsWidth) {
    windows->showSettings();
    settleLayout();
    QWidget* window = windows->settings().window();
    ASSERT_NE(window, nullptr);
    for (const SettingsTab tab : allSettingsTabs) {
        windows->selection().setTab(tab);
        settleLayout();
        auto* root = window->findChild<SettingsRoot*>();
        ASSERT_NE(root, nullptr);
        SCOPED_TRACE(settingsTabTitle(tab).toStdString());
        EXPECT_EQ(window->width(), AppWindows::settingsWidth);
        EXPECT_EQ(layoutFaults(window), std::vector<std::string>()) << joined(layoutFaults(window));
        // The controls keep their own sizes whatever the texts around them need.
        // A shortcut field is as high as its capsule, and wide enough for the keys written out.
        for (const ZantrelUI::ShortcutField* field : window->findChildren<ZantrelUI::ShortcutField*>()) {
            EXPECT_EQ(field->height(), ZantrelUI::ShortcutField::fieldSize.height());
            EXPECT_GE(field->width(), ZantrelUI::ShortcutField::fieldSize.width());
            EXPECT_GE(field->width(), field->sizeHint().width());
        }
        for (const ZantrelUI::GlowSwitch* toggle : window->findChildren<ZantrelUI::GlowSwitch*>())
            EXPECT_EQ(toggle->switchRect().size(), ZantrelUI::GlowSwitch::switchSize);
        // The page is as high as its content up to the cap; the window is as high as the shell.
        auto* scroll = window->findChild<ZantrelUI::TabScroll*>();
        ASSERT_NE(scroll, nullptr);
        QWidget* page = scroll->page();
        ASSERT_NE(page, nullptr);
        if (!scroll->overflows()) {
            EXPECT_GE(scroll->height(), page->heightForWidth(page->width()));
        }
        EXPECT_GE(window->height(), root->sizeHint().height() - 1);
    }
}

// Every height a window takes, in order.
class HeightLog final : public QObject {
public:
    explicit HeightLog(QWidget* window) { window->installEventFilter(this); }
    std::vector<int> heights;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize)
            heights.push_back(static_cast<QResizeEvent*>(event)->size().height());
        return false;
    }
};

TEST_F(WindowLayoutTest, SettingsTakesEachTabsHeightInOneStep) {
    windows->showSettings();
    settleLayout();
    QWidget* window = windows->settings().window();
    for (const SettingsTab tab : {SettingsTab::about, SettingsTab::shortcuts, SettingsTab::languages, SettingsTab::general}) {
        SCOPED_TRACE(settingsTabTitle(tab).toStdString());
        HeightLog log(window);
        windows->selection().setTab(tab);
        settleLayout();
        auto* root = window->findChild<SettingsRoot*>();
        const int fitting = root->heightForWidth(window->width()) > 0 ? root->heightForWidth(window->width())
                                                                      : root->sizeHint().height();
        EXPECT_EQ(window->height(), fitting);
        // One step to the page's height; on About a second one when the family's other
        // apps arrive, as the page grows by their card.
        const auto* about = window->findChild<ZantrelUI::AboutSettingsTab*>();
        const std::size_t steps = about != nullptr && about->othersCard() && about->othersCard()->isVisible() ? 2 : 1;
        EXPECT_LE(log.heights.size(), steps) << "heights taken: " << ::testing::PrintToString(log.heights);
    }
}

TEST_F(WindowLayoutTest, ClashLinesWrapInsideTheirRows) {
    GlyphnabCore::Preferences prefs = model->prefs();
    prefs.shortcuts[GlyphnabCore::Command::grabOther] = prefs.shortcuts.at(GlyphnabCore::Command::grab);
    model->setPrefs(prefs);
    windows->selection().setTab(SettingsTab::shortcuts);
    windows->showSettings();
    settleLayout();
    QWidget* window = windows->settings().window();
    const auto rows = window->findChildren<ShortcutRow*>();
    ASSERT_EQ(rows.size(), 2);
    for (const ShortcutRow* row : rows)
        EXPECT_TRUE(row->clashText().has_value());
    EXPECT_EQ(layoutFaults(window), std::vector<std::string>()) << joined(layoutFaults(window));
}

TEST_F(WindowLayoutTest, EveryTabStopShowsWhenItHasTheFocus) {
    windows->showSettings();
    settleLayout();
    QWidget* window = windows->settings().window();
    for (const SettingsTab tab : allSettingsTabs) {
        SCOPED_TRACE(settingsTabTitle(tab).toStdString());
        windows->selection().setTab(tab);
        settleLayout();
        EXPECT_EQ(unmarkedTabStops(window), std::vector<std::string>()) << joined(unmarkedTabStops(window));
    }
    windows->showOnboarding();
    settleLayout();
    QWidget* firstRun = windows->onboarding().window();
    auto* view = firstRun->findChild<OnboardingView*>();
    for (int step = 0; step < OnboardingView::steps; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        EXPECT_EQ(unmarkedTabStops(firstRun), std::vector<std::string>()) << joined(unmarkedTabStops(firstRun));
        view->goOn();
        settleLayout();
    }
    windows->showGrant();
    settleLayout();
    QWidget* grant = windows->grant().window();
    EXPECT_EQ(unmarkedTabStops(grant), std::vector<std::string>()) << joined(unmarkedTabStops(grant));
}

TEST_F(WindowLayoutTest, GeneralTabKeepsItsGlassLookAfterATabSwitch) {
    windows->showSettings();
    settleLayout();
    QWidget* window = windows->settings().window();
    for (const SettingsTab tab : {SettingsTab::about, SettingsTab::general, SettingsTab::shortcuts, SettingsTab::general}) {
        windows->selection().setTab(tab);
        settleLayout();
    }
    auto* shared = window->findChild<ZantrelUI::GeneralSettingsTab*>();
    ASSERT_NE(shared, nullptr);
    EXPECT_TRUE(shared->glass());
    // No control in the desktop's own look: every one is drawn by the kit.
    for (const char* plain : {"QCheckBox", "QPushButton", "QGroupBox"}) {
        for (const QWidget* w : window->findChildren<QWidget*>()) {
            if (w->isVisibleTo(window) && w->metaObject()->className() == std::string(plain))
                ADD_FAILURE() << describe(w) << " in the desktop's look";
        }
    }
}

TEST_F(WindowLayoutTest, FirstRunShowsEveryStepWholeInItsWindow) {
    windows->showOnboarding();
    settleLayout();
    QWidget* window = windows->onboarding().window();
    ASSERT_NE(window, nullptr);
    auto* view = window->findChild<OnboardingView*>();
    ASSERT_NE(view, nullptr);
    for (int step = 0; step < OnboardingView::steps; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        EXPECT_EQ(window->size(), OnboardingView::windowSize);
        EXPECT_EQ(layoutFaults(window), std::vector<std::string>()) << joined(layoutFaults(window));
        view->goOn();
        settleLayout();
    }
    // The route step once the desktop was asked and the permission is still off: the
    // screen card's footer grows by the reopen hint and its two buttons.
    model->askForScreenRecording();
    context.defaults().setInteger(onboardingStepKey, 1);
    windows->showOnboarding();
    settleLayout();
    window = windows->onboarding().window();
    ASSERT_NE(window->findChild<RoutePage*>(), nullptr);
    EXPECT_EQ(layoutFaults(window), std::vector<std::string>()) << joined(layoutFaults(window));
}

// Where the desktop lets apps set no global keys, each row of the shortcuts step carries
// the command to bind in the desktop's settings: chips, commands and the explanation whole.
TEST_F(WindowLayoutTest, FirstRunShortcutsStepIsWholeWhereTheDesktopHasNoGlobalKeys) {
    Desk desk;
    desk.kind = Platform::HotKeyDesk::none;
    ZantrelUI::HotKeys hotKeys{std::make_unique<DeskService>(desk)};
    HotKeyBindings bindings(*model, hotKeys);
    windows->setHotKeyBindings(&bindings);
    context.defaults().setInteger(onboardingStepKey, 2);
    windows->showOnboarding();
    settleLayout();
    QWidget* window = windows->onboarding().window();
    ASSERT_NE(window, nullptr);
    auto* keys = window->findChild<KeysPage*>();
    ASSERT_NE(keys, nullptr);
    ASSERT_TRUE(keys->row(GlyphnabCore::Command::grabOther)->deskCommand()->isVisible());
    EXPECT_EQ(window->size(), OnboardingView::windowSize);
    EXPECT_EQ(layoutFaults(window), std::vector<std::string>()) << joined(layoutFaults(window));
    windows->setHotKeyBindings(nullptr);
}

TEST_F(WindowLayoutTest, WelcomeDrawingKeepsItsSize) {
    windows->showOnboarding();
    settleLayout();
    GrabIllustration* drawing = nullptr;
    for (QWidget* child : windows->onboarding().window()->findChildren<QWidget*>())
        if (auto* found = dynamic_cast<GrabIllustration*>(child))
            drawing = found;
    ASSERT_NE(drawing, nullptr);
    EXPECT_EQ(drawing->screenCardRect().size(), QSizeF(270, 132));
    EXPECT_EQ(drawing->height(), drawing->sizeHint().height());
    EXPECT_TRUE(QRectF(drawing->rect()).contains(drawing->screenCardRect()));
}

TEST_F(WindowLayoutTest, RouteCardsLineUpWithThePageAndSit16Apart) {
    context.defaults().setInteger(onboardingStepKey, 1);
    windows->showOnboarding();
    settleLayout();
    QWidget* window = windows->onboarding().window();
    auto* page = window->findChild<RoutePage*>();
    ASSERT_NE(page, nullptr);
    const QRectF screen = page->screenCard()->cardRect().translated(page->screenCard()->mapTo(window, QPoint()));
    const QRectF clipboard =
        page->clipboardCard()->cardRect().translated(page->clipboardCard()->mapTo(window, QPoint()));
    EXPECT_EQ(screen.left(), 36);
    EXPECT_EQ(screen.right(), OnboardingView::windowSize.width() - 36);
    EXPECT_EQ(clipboard.left(), screen.left());
    EXPECT_EQ(clipboard.width(), screen.width());
    EXPECT_EQ(clipboard.top() - screen.bottom(), 16);
}

TEST_F(WindowLayoutTest, GrantPanelShowsWholeInEveryState) {
    // Off, on, and off again after an earlier run had it on (the longest texts).
    for (const int state : {0, 1, 2}) {
        SCOPED_TRACE(std::to_string(state));
        if (state == 2) {
            allowed = true;
            model->refreshGrant();
            allowed = false;
            model->checkGrantAtLaunch();
            ASSERT_TRUE(model->grantAgain());
        }
        allowed = state == 1;
        model->refreshGrant();
        windows->showGrant();
        settleLayout();
        QWidget* window = windows->grant().window();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->width(), GrantPanelView::panelWidth);
        EXPECT_EQ(layoutFaults(window), std::vector<std::string>()) << joined(layoutFaults(window));
        // The buttons share no space, whether they fit on one line or take two.
        auto* view = window->findChild<GrantPanelView*>();
        ASSERT_NE(view, nullptr);
        std::vector<QRect> buttons{view->notNowButton()->geometry(), view->clipboardButton()->geometry()};
        for (const ZantrelUI::PillButton* button : view->grantButtons())
            buttons.push_back(button->geometry());
        for (std::size_t i = 0; i < buttons.size(); ++i)
            for (std::size_t j = i + 1; j < buttons.size(); ++j)
                EXPECT_FALSE(buttons[i].intersects(buttons[j])) << i << " and " << j;
        windows->closeGrant();
        settleLayout();
    }
}

}  // namespace
