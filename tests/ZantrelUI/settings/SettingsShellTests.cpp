#include "tests/ZantrelUI/DesignFixture.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/design/ChipPicker.h"
#include "ZantrelUI/settings/GeneralSettingsTab.h"
#include "ZantrelUI/design/GlowSwitch.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/context/MacCalls.h"
#include "ZantrelUI/design/SettingsCard.h"
#include "ZantrelUI/settings/SettingsShell.h"
#include "ZantrelUI/settings/TabScroll.h"

#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollArea>
#include <QTest>
#include <QVBoxLayout>

using namespace ZantrelUI;
using DesignTest::DesignFixture;

namespace {

// A page of a known height.
class FixedPage final : public QWidget {
public:
    explicit FixedPage(int height, QWidget* parent = nullptr) : QWidget(parent), height_(height) {}
    QSize sizeHint() const override { return {200, height_}; }

private:
    int height_;
};

QList<qreal> oneScreen() { return {860}; }  // cap 600

enum class Pane { first, second, third };

TEST(TabScrollCap, FollowsTheSmallestScreen) {
    EXPECT_DOUBLE_EQ(TabScroll::cap({}), 600);
    EXPECT_DOUBLE_EQ(TabScroll::cap({1080, 860}), 600);
    EXPECT_DOUBLE_EQ(TabScroll::cap({700, 900}), 540);
    EXPECT_DOUBLE_EQ(TabScroll::cap({900, 700}), 540);
    // A tiny display still leaves room for a few rows.
    EXPECT_DOUBLE_EQ(TabScroll::cap({161}), TabScroll::minimumCap);
}

using TabScrollTest = DesignFixture;

TEST_F(TabScrollTest, AShortPageIsShownWhole) {
    TabScroll scroll(nullptr, oneScreen);
    scroll.resize(400, 10);
    scroll.setPage(new FixedPage(240));
    EXPECT_FALSE(scroll.overflows());
    EXPECT_DOUBLE_EQ(scroll.bottomInset(), 0);
    EXPECT_FALSE(scroll.fades());
    EXPECT_EQ(scroll.height(), 240);
    EXPECT_DOUBLE_EQ(scroll.measuredHeight(), 240);
    EXPECT_EQ(scroll.scrollArea()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    // A page just under the cap after having overflowed keeps no stale inset.
    scroll.setPage(new FixedPage(700));
    ASSERT_TRUE(scroll.overflows());
    scroll.setPage(new FixedPage(590));
    EXPECT_FALSE(scroll.overflows());
    EXPECT_EQ(scroll.height(), 590);
}

TEST_F(TabScrollTest, ATallPageScrollsFadesAndGetsRoomBelow) {
    TabScroll scroll(nullptr, oneScreen);
    scroll.resize(400, 10);
    scroll.setPage(new FixedPage(900));
    scroll.show();
    EXPECT_TRUE(scroll.overflows());
    EXPECT_DOUBLE_EQ(scroll.bottomInset(), 32);
    EXPECT_DOUBLE_EQ(scroll.measuredHeight(), 932);
    EXPECT_EQ(scroll.height(), 600);
    EXPECT_TRUE(scroll.fades());
    EXPECT_EQ(scroll.scrollArea()->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return scroll.scrollArea()->widget()->height() >= 932; }));
}

TEST_F(TabScrollTest, AnEmptyPageLeavesOnePoint) {
    TabScroll scroll(nullptr, oneScreen);
    scroll.setPage(new FixedPage(0));
    EXPECT_EQ(scroll.height(), 1);
    scroll.setPage(nullptr);
    EXPECT_EQ(scroll.height(), 1);
}

TEST_F(TabScrollTest, FollowsThePageWhenItGrows) {
    TabScroll scroll(nullptr, oneScreen);
    scroll.resize(400, 10);
    auto* page = new QWidget();
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(new FixedPage(100));
    scroll.setPage(page);
    scroll.show();
    const int before = scroll.height();
    column->addWidget(new FixedPage(100));
    ASSERT_TRUE(TestSupport::waitUntil([&] { return scroll.height() > before + 90; }));
}

TEST_F(TabScrollTest, APageThatWrapsTakesItsHeightAtTheWidthItIsShownAt) {
    // Built before layout, the page is first measured at a narrow default width where its
    // text wraps onto many lines; shown at 640 it needs far less.
    QWidget window;
    auto* column = new QVBoxLayout(&window);
    column->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new TabScroll(&window, oneScreen);
    column->addWidget(scroll);
    auto* page = new QWidget();
    auto* lines = new QVBoxLayout(page);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->addWidget(new InkLabel(QStringLiteral("Shortcuts work in every app, with no extra permission. Click a "
                                                 "shortcut, then press the new keys. Delete clears it, Escape cancels."),
                                  Fonts::system(13), Ink::primary(), true));
    scroll->setPage(page, 18);
    const qreal narrow = scroll->measuredHeight();
    window.setFixedWidth(640);
    window.show();
    QCoreApplication::processEvents();

    const int wide = page->heightForWidth(640 - 2 * 18);
    ASSERT_LT(wide, narrow);
    EXPECT_DOUBLE_EQ(scroll->measuredHeight(), wide);
    EXPECT_EQ(scroll->height(), wide);
    // The scroll area and the page holder follow, so the page is not stretched over the
    // narrow height and clipped.
    EXPECT_EQ(scroll->scrollArea()->height(), wide);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return scroll->scrollArea()->widget()->height() == wide; }));
    EXPECT_EQ(page->height(), wide);
    EXPECT_FALSE(scroll->overflows());
}

using SettingsShellTest = DesignFixture;

std::vector<SettingsShellTab> threeTabs(int* builds) {
    std::vector<SettingsShellTab> tabs;
    for (const auto& [id, title] : {std::pair{QStringLiteral("one"), QStringLiteral("One")},
                                    std::pair{QStringLiteral("two"), QStringLiteral("Two")},
                                    std::pair{QStringLiteral("three"), QStringLiteral("Three")}})
        tabs.push_back({id, title, [builds, id] {
                            ++*builds;
                            auto* page = new QLineEdit();
                            page->setObjectName(id);
                            return page;
                        }});
    return tabs;
}

TEST_F(SettingsShellTest, SwitchingTabsBuildsAFreshPage) {
    int builds = 0;
    SettingsShell shell(QStringLiteral("Glyphnab"), threeTabs(&builds), QStringLiteral("two"), 640, nullptr, oneScreen);
    EXPECT_EQ(shell.width(), 640);
    EXPECT_EQ(shell.nameLabel()->text(), "Glyphnab");
    EXPECT_EQ(shell.chips()->title(), "Glyphnab");
    EXPECT_EQ(shell.chips()->options().size(), 3);
    ASSERT_NE(shell.page(), nullptr);
    EXPECT_EQ(shell.page()->objectName(), "two");
    EXPECT_EQ(builds, 1);

    QPointer<QWidget> old = shell.page();
    static_cast<QLineEdit*>(old.data())->setText(QStringLiteral("typing"));
    std::vector<QVariant> reported;
    QObject::connect(&shell, &SettingsShell::selectionChanged, [&](const QVariant& tab) { reported.push_back(tab); });
    shell.chips()->setSelection(QStringLiteral("three"));
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(shell.page()->objectName(), "three");
    EXPECT_EQ(shell.selection(), QVariant(QStringLiteral("three")));
    ASSERT_EQ(reported.size(), 1u);

    // Back again: the typed text is gone with the old page.
    shell.setSelection(QStringLiteral("two"));
    EXPECT_TRUE(static_cast<QLineEdit*>(shell.page())->text().isEmpty());
    EXPECT_EQ(builds, 3);
    // The same tab or one not in the list changes nothing.
    shell.setSelection(QStringLiteral("two"));
    shell.setSelection(QStringLiteral("four"));
    EXPECT_EQ(builds, 3);
    EXPECT_EQ(reported.size(), 2u);
}

TEST_F(SettingsShellTest, CtrlTabStepsThroughTheTabsFromAnywhereInTheWindow) {
    int builds = 0;
    SettingsShell shell(QStringLiteral("Glyphnab"), threeTabs(&builds), QStringLiteral("two"), 640, nullptr, oneScreen);
    shell.show();
    QApplication::setActiveWindow(&shell);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return shell.isActiveWindow(); }));
    shell.page()->setFocus();  // typing in a page's field
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(shell.selection(), QVariant(QStringLiteral("three")));
    QTest::keyClick(&shell, Qt::Key_Tab, Qt::ControlModifier);  // past the last, to the first
    EXPECT_EQ(shell.selection(), QVariant(QStringLiteral("one")));
    EXPECT_EQ(shell.chips()->selection(), QVariant(QStringLiteral("one")));
    // X11 reports Ctrl+Shift+Tab as Backtab with both modifiers.
    QTest::keyClick(&shell, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(shell.selection(), QVariant(QStringLiteral("three")));
    QTest::keyClick(&shell, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(shell.selection(), QVariant(QStringLiteral("two")));
}

TEST_F(SettingsShellTest, PagesDrawGlassAndTheShellKeepsItsIdealHeight) {
    int builds = 0;
    auto tabs = threeTabs(&builds);
    tabs[0].page = [] { return new FixedPage(200); };
    SettingsShell shell(QStringLiteral("Glyphnab"), std::move(tabs), QStringLiteral("nowhere"), 640, nullptr, oneScreen);
    EXPECT_EQ(shell.selection(), QVariant(QStringLiteral("one")));  // an unknown selection shows the first
    EXPECT_TRUE(Environment::of(shell.page()).settingsGlass);
    QWidget outside;
    EXPECT_FALSE(Environment::of(&outside).settingsGlass);
    // Header (8 + 30 + 16), the page and 18 below.
    EXPECT_EQ(shell.sizeHint().height(), 8 + 30 + 16 + 200 + 18);
}

TEST_F(SettingsShellTest, TypedTabsRoundTripThroughTheShell) {
    const std::vector<Pane> panes{Pane::first, Pane::second, Pane::third};
    auto tabs = SettingsShell::tabsOf<Pane>(
        panes, [](Pane p) { return QString::number(static_cast<int>(p)); },
        [](Pane p) {
            auto* page = new FixedPage(50);
            page->setObjectName(QString::number(static_cast<int>(p)));
            return page;
        });
    SettingsShell shell(QStringLiteral("App"), std::move(tabs), QVariant::fromValue(Pane::third), 500, nullptr,
                        oneScreen);
    EXPECT_EQ(shell.page()->objectName(), "2");
    shell.setSelection(QVariant::fromValue(Pane::first));
    EXPECT_EQ(shell.selection().value<Pane>(), Pane::first);
    EXPECT_EQ(shell.page()->objectName(), "0");
}

TEST(SettingsTabValues, RawValuesAndTheRememberedTab) {
    EXPECT_EQ(SettingsTabs::fromRawValue(QStringLiteral("about")), SettingsTab::about);
    EXPECT_EQ(SettingsTabs::fromRawValue(QStringLiteral("general")), SettingsTab::general);
    EXPECT_FALSE(SettingsTabs::fromRawValue(QStringLiteral("About")));
    EXPECT_FALSE(SettingsTabs::fromRawValue(QString()));
    EXPECT_EQ(SettingsTabs::defaultsKey(), "settings.tab");

    ZantrelKit::MemoryDefaultsStore defaults;
    EXPECT_EQ(SettingsTabs::remembered(defaults), SettingsTab::general);
    defaults.setString(QStringLiteral("settings.tab"), QStringLiteral("shortcuts"));
    EXPECT_EQ(SettingsTabs::remembered(defaults), SettingsTab::general);
    SettingsTabs::remember(defaults, SettingsTab::about);
    EXPECT_EQ(defaults.string(QStringLiteral("settings.tab")), QStringLiteral("about"));
}

TEST_F(SettingsShellTest, TheKitShellRemembersItsTab) {
    ZantrelKit::MemoryDefaultsStore defaults;
    defaults.setString(QStringLiteral("settings.tab"), QStringLiteral("about"));
    auto general = [] {
        auto* page = new FixedPage(80);
        page->setObjectName(QStringLiteral("general"));
        return page;
    };
    auto about = [] {
        auto* page = new FixedPage(80);
        page->setObjectName(QStringLiteral("about"));
        return page;
    };
    std::unique_ptr<SettingsShell> shell(
        SettingsTabs::rememberingShell(QStringLiteral("App"), general, about, defaults, 600));
    EXPECT_EQ(shell->page()->objectName(), "about");
    EXPECT_EQ(shell->chips()->options().size(), 2);
    shell->setSelection(QVariant::fromValue(SettingsTab::general));
    EXPECT_EQ(defaults.string(QStringLiteral("settings.tab")), QStringLiteral("general"));
    shell.reset();
    shell.reset(SettingsTabs::rememberingShell(QStringLiteral("App"), general, about, defaults, 600));
    EXPECT_EQ(shell->page()->objectName(), "general");
}

TEST_F(SettingsShellTest, HiddenCardRowsTakeTheirHairlineAlong) {
    SettingsCard card;
    auto* a = new QLabel(QStringLiteral("a"));
    auto* b = new QLabel(QStringLiteral("b"));
    auto* c = new QLabel(QStringLiteral("c"));
    for (QWidget* row : {static_cast<QWidget*>(a), static_cast<QWidget*>(b), static_cast<QWidget*>(c)})
        card.addRow(row);
    EXPECT_EQ(card.separatorCount(), 2);
    card.setRowShown(b, false);
    EXPECT_EQ(card.separatorCount(), 1);
    card.setRowShown(a, false);
    EXPECT_EQ(card.separatorCount(), 0);  // c is first now
    card.setRowShown(a, true);
    card.setRowShown(b, true);
    EXPECT_EQ(card.separatorCount(), 2);
}

// The login item as the desktop answers it, with a switch that can be made to refuse.
struct LoginDesk {
    LoginItem::Status status = LoginItem::Status::off;
    bool refuses = false;
    int reads = 0;
    int opens = 0;
    std::vector<bool> asked;

    std::shared_ptr<const MacCalls> calls() {
        return std::make_shared<const MacCalls>(
            false,
            [this] {
                ++reads;
                return status;
            },
            [this](bool on) {
                asked.push_back(on);
                if (refuses)
                    throw LoginItem::Failure("cannot write the autostart entry");
                status = on ? LoginItem::Status::on : LoginItem::Status::off;
            },
            [this] { ++opens; }, [] {}, [](const QUrl&) {}, [](const QList<QUrl>&) {},
            [](const OpenAsk&) { return QList<QUrl>(); }, [](const SaveAsk&) { return std::optional<QUrl>(); },
            std::make_shared<Platform::MemoryPasteboard>());
    }
};

class GeneralTabTest : public DesignFixture {
protected:
    // A host that carries the desk's calls, glass or not.
    QWidget* host(bool glass) {
        host_ = std::make_unique<QWidget>();
        Environment::setMacCalls(host_.get(), desk.calls());
        Environment::setSettingsGlass(host_.get(), glass);
        new QVBoxLayout(host_.get());
        return host_.get();
    }

    GeneralSettingsTab* tab(bool glass, UpdatesState updates = {true, true, {}}, bool offersLogin = true,
                            GeneralSettingsTab::Extra extra = {}) {
        auto* parent = host(glass);
        auto* made = new GeneralSettingsTab(std::move(updates), offersLogin, std::move(extra));
        parent->layout()->addWidget(made);
        return made;
    }

    LoginDesk desk;
    std::unique_ptr<QWidget> host_;
};

TEST_F(GeneralTabTest, WithoutTheLoginItemNothingAsksTheDesktop) {
    for (bool glass : {true, false}) {
        GeneralSettingsTab* page = tab(glass, {true, true, {}}, false);
        host_->show();
        EXPECT_EQ(page->glass(), glass);
        EXPECT_EQ(page->loginToggle(), nullptr);
        EXPECT_EQ(page->approvalRow(), nullptr);
        page->setLogin(true);
    }
    EXPECT_EQ(desk.reads, 0);
    EXPECT_TRUE(desk.asked.empty());
}

TEST_F(GeneralTabTest, TheStatusIsReadWhenShownAndApprovalIsOffered) {
    desk.status = LoginItem::Status::needsApproval;
    for (bool glass : {true, false}) {
        GeneralSettingsTab* page = tab(glass);
        EXPECT_FALSE(page->login());  // not read before it is shown
        EXPECT_FALSE(page->loginSwitchOn());
        EXPECT_FALSE(page->approvalRow()->isVisibleTo(page));
        host_->show();
        EXPECT_EQ(page->login(), LoginItem::Status::needsApproval);
        EXPECT_TRUE(page->loginToggle()->isChecked());
        EXPECT_TRUE(page->approvalRow()->isVisibleTo(page));
        page->openLoginItemsButton()->click();
    }
    EXPECT_EQ(desk.opens, 2);
}

TEST_F(GeneralTabTest, ARefusedChangeShowsTheFailureAndTheRealState) {
    for (bool glass : {true, false}) {
        desk.status = LoginItem::Status::off;
        desk.refuses = true;
        GeneralSettingsTab* page = tab(glass);
        host_->show();
        page->loginToggle()->click();  // the user turns it on
        EXPECT_EQ(desk.asked.back(), true);
        EXPECT_FALSE(page->loginToggle()->isChecked());
        EXPECT_EQ(page->loginError(), ZantrelKit::Copy::Settings::loginFailed());
        EXPECT_EQ(page->shownLoginError(), ZantrelKit::Copy::Settings::loginFailed());

        desk.refuses = false;
        page->loginToggle()->click();
        EXPECT_TRUE(page->loginToggle()->isChecked());
        EXPECT_EQ(page->login(), LoginItem::Status::on);
        EXPECT_FALSE(page->loginError());
        EXPECT_FALSE(page->shownLoginError());
    }
}

TEST_F(GeneralTabTest, TheUpdatesRowFollowsTheUpdater) {
    int checks = 0;
    for (bool glass : {true, false}) {
        GeneralSettingsTab* page = tab(glass, {false, false, [&] { ++checks; }});
        EXPECT_EQ(page->shownUpdatesDetail(), "Updates aren't set up in this build yet.");
        EXPECT_FALSE(page->checkButton()->isEnabled());
        page->setUpdates({true, true, [&] { ++checks; }});
        EXPECT_EQ(page->shownUpdatesDetail(), ZantrelKit::Copy::Settings::updatesDetail());
        EXPECT_TRUE(page->checkButton()->isEnabled());
        page->checkButton()->click();
    }
    EXPECT_EQ(checks, 2);
}

TEST_F(GeneralTabTest, TheAppsRowsComeFirstInEitherLayout) {
    std::vector<bool> asked;
    auto extra = [&](bool glass) {
        asked.push_back(glass);
        auto* row = new QLabel(QStringLiteral("Line breaks"));
        row->setObjectName(QStringLiteral("appRow"));
        return QList<QWidget*>{row};
    };
    for (bool glass : {true, false}) {
        GeneralSettingsTab* page = tab(glass, {true, true, {}}, true, extra);
        host_->show();
        EXPECT_EQ(asked.back(), glass);  // built for the layout it sits in
        ASSERT_EQ(page->extraWidgets().size(), 1);
        QWidget* appRow = page->extraWidgets().front();
        const QPoint appAt = appRow->mapTo(page, QPoint(0, 0));
        const QPoint loginAt = page->loginToggle()->mapTo(page, QPoint(0, 0));
        const QPoint updatesAt = page->checkButton()->mapTo(page, QPoint(0, 0));
        EXPECT_LT(appAt.y(), loginAt.y());
        EXPECT_LT(loginAt.y(), updatesAt.y());
        if (!glass)
            EXPECT_NE(qobject_cast<QCheckBox*>(page->loginToggle()), nullptr);
        else
            EXPECT_NE(qobject_cast<GlowSwitch*>(page->loginToggle()), nullptr);
    }
}

TEST_F(GeneralTabTest, MovingIntoTheShellRebuildsTheGlassLayout) {
    int builds = 0;
    auto* page = new GeneralSettingsTab({true, true, {}}, false, [&](bool) {
        ++builds;
        return QList<QWidget*>{};
    });
    EXPECT_FALSE(page->glass());
    std::vector<SettingsShellTab> tabs{{QStringLiteral("general"), QStringLiteral("General"), [page] { return page; }}};
    SettingsShell shell(QStringLiteral("App"), std::move(tabs), QStringLiteral("general"), 640, nullptr, oneScreen);
    EXPECT_TRUE(page->glass());
    EXPECT_EQ(builds, 2);
}

}  // namespace
