#include "tests/ZantrelUI/DesignFixture.h"

#include "ZantrelUI/design/GlassWindow.h"
#include "ZantrelUI/desktop/MenuBarPanel.h"
#include "ZantrelUI/design/PanelMotion.h"
#include "platform/screen/X11CurrentDesktop.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QSystemTrayIcon>
#include <QVBoxLayout>

#include <xcb/xcb.h>

#include <memory>

using namespace ZantrelUI;
using DesignTest::DesignFixture;
using Screen = MenuBarPanel::Screen;

namespace {

// One 1440 × 900 screen with a 25-point bar at the top.
const QList<Screen> oneScreen{{QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 875)}};

TEST(MenuBarPanelPlacement, CentresUnderTheIconAndKeepsEightFromEitherSide) {
    const QSize size(300, 200);
    // An icon 100 points from the left edge: centring would start left of the screen.
    auto placed = MenuBarPanel::placement(size, QRect(100, 2, 22, 22), {}, oneScreen);
    ASSERT_TRUE(placed);
    EXPECT_EQ(placed->frame.x(), 8);
    EXPECT_EQ(placed->frame.y(), 24 + 6);  // 6 under the icon's bottom edge
    EXPECT_TRUE(placed->below);
    EXPECT_EQ(placed->edge, 30);
    EXPECT_EQ(placed->frame.size(), size);

    // At the right end it stops 8 short of the visible edge.
    placed = MenuBarPanel::placement(size, QRect(1420, 2, 20, 22), {}, oneScreen);
    EXPECT_EQ(placed->frame.x() + placed->frame.width(), 1440 - 8);

    // In the middle it is centred on the icon.
    placed = MenuBarPanel::placement(size, QRect(700, 2, 40, 22), {}, oneScreen);
    EXPECT_EQ(placed->frame.x(), 720 - 150);
}

TEST(MenuBarPanelPlacement, APanelWiderThanTheRoomSticksToTheRightMargin) {
    const QList<Screen> narrow{{QRect(0, 0, 400, 900), QRect(0, 25, 400, 875)}};
    const auto placed = MenuBarPanel::placement(QSize(390, 100), QRect(50, 2, 22, 22), {}, narrow);
    ASSERT_TRUE(placed);
    EXPECT_EQ(placed->frame.x(), 400 - 390 - 8);  // starts left of the visible area
}

TEST(MenuBarPanelPlacement, ATrayAtTheBottomGetsThePanelAboveTheIcon) {
    const QList<Screen> bottomBar{{QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 870)}};
    const auto placed = MenuBarPanel::placement(QSize(300, 200), QRect(1300, 874, 22, 22), {}, bottomBar);
    ASSERT_TRUE(placed);
    EXPECT_FALSE(placed->below);
    EXPECT_EQ(placed->frame.y() + placed->frame.height(), 874 - 6);
    EXPECT_EQ(placed->edge, 868);
    // Taller than either side: pinned inside the available area, top first.
    const auto tall = MenuBarPanel::placement(QSize(300, 880), QRect(700, 400, 22, 22), {}, bottomBar);
    EXPECT_EQ(tall->frame.y(), 0);
}

TEST(MenuBarPanelPlacement, WithoutAnIconRectangleThePointerStandsInAndScreensFollowIt) {
    const QList<Screen> two{{QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 875)},
                            {QRect(1440, 0, 1920, 1080), QRect(1440, 30, 1920, 1050)}};
    auto placed = MenuBarPanel::placement(QSize(200, 100), QRect(), QPoint(2000, 10), two);
    ASSERT_TRUE(placed);
    EXPECT_EQ(placed->frame.topLeft(), QPoint(2000 - 100, 10 + 6));
    // Near the second screen's right edge the second screen's margin applies.
    placed = MenuBarPanel::placement(QSize(200, 100), QRect(3350, 0, 10, 28), {}, two);
    EXPECT_EQ(placed->frame.right() + 1, 3360 - 8);
    EXPECT_FALSE(MenuBarPanel::placement(QSize(200, 100), QRect(0, 0, 10, 10), {}, {}));
}

// Content whose preferred size the test sets.
class Sized final : public QWidget {
public:
    explicit Sized(QSize hint) : hint_(hint) {}
    QSize sizeHint() const override { return hint_; }
    void setHint(QSize hint) {
        hint_ = hint;
        updateGeometry();
    }

private:
    QSize hint_;
};

// A panel over a fake tray icon, a fake pointer and the one screen above.
class MenuBarPanelTest : public DesignFixture {
protected:
    MenuBarPanelTest() {
        content = new Sized(QSize(300, 200));
        panel = std::make_unique<MenuBarPanel>(&item, content, surroundings());
    }

    MenuBarPanel::Surroundings surroundings() {
        return {[this] { return iconRect; }, [this] { return pointer; }, [] { return oneScreen; },
                [this] { return reduce; }};
    }

    void settle(double seconds = 0) {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        if (seconds > 0)
            advance(seconds);
        QCoreApplication::processEvents();
    }

    void press(Qt::Key key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(panel->panel(), &event);
    }

    void deactivate() {
        QEvent event(QEvent::WindowDeactivate);
        QCoreApplication::sendEvent(panel->panel(), &event);
    }

    QSystemTrayIcon item;
    QRect iconRect{700, 2, 40, 22};
    QPoint pointer{10, 500};
    bool reduce = true;
    Sized* content = nullptr;
    std::unique_ptr<MenuBarPanel> panel;
};

TEST_F(MenuBarPanelTest, ShowsWhereThePlacementSaysAndEscapeHidesIt) {
    EXPECT_FALSE(panel->isShown());
    EXPECT_EQ(panel->shownPanel(), nullptr);
    panel->show(MenuBarPanel::Sharing::none);
    settle();
    EXPECT_TRUE(panel->isShown());
    EXPECT_EQ(panel->shownPanel(), panel->panel());
    EXPECT_EQ(panel->sharing(), MenuBarPanel::Sharing::none);
    EXPECT_TRUE(panel->panel()->isVisible());
    EXPECT_EQ(panel->panel()->geometry(), QRect(720 - 150, 30, 300, 200));
    EXPECT_TRUE(panel->panel()->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(PanelMotion::contentView(panel->panel())->findChild<QWidget*>(), content);

    press(Qt::Key_Escape);
    EXPECT_FALSE(panel->isShown());
    EXPECT_FALSE(panel->panel()->isVisible());  // reduced motion: at once
}

TEST_F(MenuBarPanelTest, LosingTheKeyboardHidesUnlessThePointerIsOnTheIcon) {
    panel->show();
    pointer = iconRect.center();
    deactivate();
    EXPECT_TRUE(panel->isShown());  // the icon's own action decides
    pointer = QPoint(10, 500);
    deactivate();
    EXPECT_FALSE(panel->isShown());

    // A tray that gives no rectangle cannot be told from anywhere else.
    iconRect = QRect();
    panel->show();
    pointer = QPoint(0, 0);
    deactivate();
    EXPECT_FALSE(panel->isShown());
}

TEST_F(MenuBarPanelTest, HidingTwiceDoesNothingTheSecondTimeAndTheFadeEndsHidden) {
    reduce = false;
    panel->show();
    settle();
    const int afterShow = panel->motion().generation();
    panel->hide();
    EXPECT_FALSE(panel->isShown());
    EXPECT_TRUE(panel->panel()->isVisible());  // fading out
    panel->hide();
    EXPECT_EQ(panel->motion().generation(), afterShow + 1);
    settle(1);
    EXPECT_FALSE(panel->panel()->isVisible());
    panel->dismiss();  // Escape while hidden: nothing
    EXPECT_EQ(panel->motion().generation(), afterShow + 1);
}

TEST_F(MenuBarPanelTest, GrowingContentKeepsTheTopUnderTheIcon) {
    panel->show();
    settle();
    const QRect before = panel->panel()->geometry();
    content->setHint(QSize(300, 320));
    settle();
    const QRect after = panel->panel()->geometry();
    EXPECT_EQ(after.top(), before.top());
    EXPECT_EQ(after.height(), 320);
    EXPECT_EQ(after.left(), before.left());
}

TEST_F(MenuBarPanelTest, ClicksOnTheIconReachTheOwnerAndNoIconMeansNoPanel) {
    int clicks = 0;
    QObject::connect(panel.get(), &MenuBarPanel::itemClicked, [&] { ++clicks; });
    Q_EMIT item.activated(QSystemTrayIcon::Trigger);
    Q_EMIT item.activated(QSystemTrayIcon::Context);
    Q_EMIT item.activated(QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(clicks, 2);

    MenuBarPanel orphan(nullptr, new QWidget(), surroundings());
    orphan.show();
    EXPECT_FALSE(orphan.isShown());
    EXPECT_EQ(orphan.measure(), HostedPanel::fittingSize(orphan.content()));
    MenuBarPanel empty(&item, nullptr, surroundings());
    EXPECT_EQ(empty.measure(), QSize(100, 60));
}

TEST_F(MenuBarPanelTest, AFixedSizeContentIsMeasuredAtItsSizeSoTheMarginHolds) {
    auto* fixed = new QWidget();
    auto* column = new QVBoxLayout(fixed);
    column->addWidget(new QWidget());  // a layout that prefers a small size
    fixed->setFixedSize(420, 200);
    iconRect = QRect(1420, 2, 20, 22);
    MenuBarPanel wide(&item, fixed, surroundings());
    EXPECT_EQ(wide.measure(), QSize(420, 200));
    wide.show();
    settle();
    EXPECT_EQ(wide.panel()->geometry(), QRect(1440 - 420 - 8, 30, 420, 200));
}

TEST(CurrentDesktopWatch, OnlyTheRootsCurrentDesktopPropertyCounts) {
    xcb_property_notify_event_t notify{};
    notify.response_type = XCB_PROPERTY_NOTIFY;
    notify.window = 7;
    notify.atom = 42;
    const auto* event = reinterpret_cast<const xcb_generic_event_t*>(&notify);
    EXPECT_TRUE(Platform::CurrentDesktopWatch::isDesktopChange(event, 7, 42));
    notify.response_type |= 0x80;  // sent by another client: still the change
    EXPECT_TRUE(Platform::CurrentDesktopWatch::isDesktopChange(event, 7, 42));
    EXPECT_FALSE(Platform::CurrentDesktopWatch::isDesktopChange(event, 8, 42));
    EXPECT_FALSE(Platform::CurrentDesktopWatch::isDesktopChange(event, 7, 43));
    EXPECT_FALSE(Platform::CurrentDesktopWatch::isDesktopChange(event, 7, XCB_ATOM_NONE));
    notify.response_type = XCB_CLIENT_MESSAGE;
    EXPECT_FALSE(Platform::CurrentDesktopWatch::isDesktopChange(event, 7, 42));
    // Offscreen there is no X connection: the watch stays quiet.
    EXPECT_FALSE(Platform::CurrentDesktopWatch().isWatching());
}

}  // namespace
