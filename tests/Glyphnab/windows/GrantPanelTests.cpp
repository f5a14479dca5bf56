// The Screen Recording grant panel and its status mark over a model whose permission
// answer the test flips, offscreen.

#include "tests/Glyphnab/WaylandScreen.h"
#include "tests/Glyphnab/WindowFixture.h"

#include "Glyphnab/windows/GrantPanelView.h"
#include "Glyphnab/windows/GrantStatus.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelKit/Copy.h"
#include "ZantrelKit/Permission.h"
#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/GlassWindow.h"
#include "ZantrelUI/design/LoopPieces.h"
#include "ZantrelUI/design/Motion.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/PlainButton.h"

#include <QPointer>

namespace {

using Glyphnab::GrantPanelView;
using Glyphnab::GrantStatus;
using WindowTest::press;
using WindowTest::settle;
namespace Words = GlyphnabCore::Words;

QStringList titles(const std::vector<ZantrelUI::PillButton*>& buttons) {
    QStringList list;
    for (const auto* button : buttons)
        list << button->text();
    return list;
}

class GrantPanelTest : public WindowTest::WindowFixture {
protected:
    // The panel in a window holder, as the window set shows it.
    GrantPanelView* open() {
        window.show(QStringLiteral("Screen Recording"), 560, 400, {}, {}, [this](QWidget* host) -> QWidget* {
            panel = new GrantPanelView(*model, [this] {
                ++closes;
                readsAtClose = reads;
                window.close();
            }, host);
            return panel;
        });
        settle();
        return panel;
    }

    ZantrelUI::GlassWindow window{false, false};
    QPointer<GrantPanelView> panel;
    int closes = 0;
    int readsAtClose = -1;
};

TEST_F(GrantPanelTest, AWaylandDesktopWithoutAScreenshotServiceSaysSoInsteadOfAskingForAPermission) {
    const WaylandTesting::ScreenOfSession session(QStringLiteral("This desktop has no screenshot service"));
    makeModel();
    GrantPanelView* view = open();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->titleText(), Words::grantTitleUnavailable());
    // Nothing to switch on, reopen for, or wait for.
    for (const ZantrelUI::PillButton* button : view->grantButtons())
        EXPECT_FALSE(button->isVisible());
    EXPECT_FALSE(view->showsStuckHint());
}

TEST_F(GrantPanelTest, FollowsThePermissionLiveWithoutAClick) {
    makeModel();
    GrantPanelView* view = open();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->titleText(), Words::grantTitle());
    EXPECT_FALSE(view->showsAgainDetail());
    EXPECT_TRUE(view->showsStuckHint());
    EXPECT_EQ(view->statusText(), Words::grantWaiting());
    EXPECT_FALSE(view->status()->on());
    EXPECT_EQ(view->notNowButton()->text(), Words::grantNotNow());
    EXPECT_EQ(view->clipboardButton()->text(), Words::grantClipboardInstead());
    EXPECT_EQ(titles(view->grantButtons()), (QStringList{Words::grantQuitReopen(), Words::grantOpenSettings()}));
    EXPECT_FALSE(view->grantButtons().front()->prominent());
    EXPECT_TRUE(view->defaultButton()->prominent());
    EXPECT_EQ(view->defaultButton()->text(), Words::grantOpenSettings());
    EXPECT_FALSE(view->notNowButton()->prominent());

    allowed = true;
    tick();
    EXPECT_EQ(view->titleText(), Words::grantOn());
    EXPECT_EQ(view->statusText(), Words::grantRelaunch());
    EXPECT_FALSE(view->showsStuckHint());
    EXPECT_TRUE(view->status()->on());
    ASSERT_EQ(titles(view->grantButtons()), QStringList{Words::grantQuitReopen()});
    EXPECT_TRUE(view->defaultButton()->prominent());
    EXPECT_EQ(closes, 0);  // it never closes by itself

    allowed = false;
    tick();
    EXPECT_EQ(view->titleText(), Words::grantTitle());
    EXPECT_EQ(titles(view->grantButtons()), (QStringList{Words::grantQuitReopen(), Words::grantOpenSettings()}));
}

TEST_F(GrantPanelTest, AllowAgainCaseShowsItsTitleAndDetailOnlyWhileOff) {
    auto& m = makeModel();
    allowed = true;
    m.refreshGrant();  // seen on in an earlier run
    allowed = false;
    ASSERT_TRUE(m.checkGrantAtLaunch());
    GrantPanelView* view = open();
    const auto& screen = ZantrelKit::Permission::screenRecording();
    EXPECT_EQ(view->titleText(), ZantrelKit::Copy::Permission::againTitle(screen));
    EXPECT_TRUE(view->showsAgainDetail());
    allowed = true;
    tick();
    EXPECT_EQ(view->titleText(), Words::grantOn());
    EXPECT_FALSE(view->showsAgainDetail());
}

TEST_F(GrantPanelTest, EscapePressesNotNowAndTheWatchGoesBackToItsBaseline) {
    auto& m = makeModel();
    m.watchGrant(true);  // someone else watches too
    GrantPanelView* view = open();
    EXPECT_TRUE(view->holdsWatch());
    EXPECT_EQ(m.grantWatchers(), 2);
    press(view, Qt::Key_Escape);
    settle();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(m.grantWatchers(), 1);
    EXPECT_TRUE(m.pollingGrant());
    m.watchGrant(false);
    EXPECT_FALSE(m.pollingGrant());

    // Shown again: a fresh panel takes the watch, closing the window by hand ends it.
    open();
    EXPECT_EQ(m.grantWatchers(), 1);
    window.close();
    settle();
    EXPECT_EQ(m.grantWatchers(), 0);
    EXPECT_FALSE(m.pollingGrant());
}

TEST_F(GrantPanelTest, ReturnPressesTheProminentButtonOfEachState) {
    makeModel();
    GrantPanelView* view = open();
    press(view, Qt::Key_Return);
    EXPECT_EQ(asks, 1);  // Open Settings: the request first
    EXPECT_EQ(relaunches, 0);
    view->grantButtons().front()->click();
    EXPECT_EQ(relaunches, 1);
    allowed = true;
    tick();
    press(view, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(relaunches, 2);
    EXPECT_EQ(asks, 1);
    EXPECT_EQ(closes, 0);
}

TEST_F(GrantPanelTest, ClipboardInsteadClosesFirstThenReadsTheClipboardPicture) {
    makeModel();
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::white);
    board->setImage(picture);
    GrantPanelView* view = open();
    view->clipboardButton()->click();
    ASSERT_TRUE(TestSupport::waitUntil([this] { return reads == 1; }));
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(readsAtClose, 0);
    EXPECT_FALSE(window.isVisible());
}

TEST(GrantStatus, CrossFadesFromTheDotToTheCheckAndDropsWhatFadedOut) {
    QWidget host;
    auto* status = new GrantStatus(false, &host);
    ZantrelUI::Environment::setReduceMotionOverride(&host, false);
    host.show();
    settle();
    EXPECT_EQ(status->sizeHint(), QSize(14, 14));
    ASSERT_NE(status->dot(), nullptr);
    EXPECT_EQ(status->check(), nullptr);
    status->setOn(true);
    ASSERT_NE(status->check(), nullptr);
    ASSERT_TRUE(status->fade().isAnimating());
    EXPECT_NEAR(status->fade().animation()->totalDuration(), 0.28, 1e-9);
    EXPECT_NE(status->dot(), nullptr);  // both while they cross-fade
    ASSERT_TRUE(TestSupport::waitUntil([&] { return !status->fade().isAnimating(); }));
    settle();
    EXPECT_EQ(status->dot(), nullptr);
    EXPECT_EQ(status->check()->geometry(), QRect(0, 0, 14, 14));

    ZantrelUI::Environment::setReduceMotionOverride(&host, true);
    status->setOn(false);
    settle();
    ASSERT_NE(status->dot(), nullptr);
    EXPECT_EQ(status->dot()->geometry(), QRect(3, 3, 8, 8));
    if (status->fade().isAnimating()) {
        EXPECT_LT(status->fade().animation()->totalDuration(), 0.28);
    }
}

}  // namespace
