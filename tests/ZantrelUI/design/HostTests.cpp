#include "tests/ZantrelUI/DesignFixture.h"

#include "ZantrelUI/design/GlassWindow.h"
#include "ZantrelUI/design/LoopLayerView.h"
#include "ZantrelUI/design/PanelMotion.h"
#include "ZantrelUI/design/StepDots.h"

#include "tests/support/TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <QWindow>

using namespace ZantrelUI;
using DesignTest::DesignFixture;

namespace {

LayerAnimation spin() {
    LayerAnimation turn = LayerAnimation::basic(QStringLiteral("transform.rotation.z"), 0.0, -6.283, 2.4);
    turn.repeatCount = LayerAnimation::forever;
    return turn;
}

void settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

bool waitExposed(QWidget& window) {
    return TestSupport::waitUntil([&] { return window.windowHandle() && window.windowHandle()->isExposed(); });
}

using LoopTest = DesignFixture;

TEST_F(LoopTest, RunsOnlyWhileItsWindowIsShown) {
    QWidget window;
    window.resize(80, 80);
    auto* view = new LoopLayerView(spin(), false, &window);
    settle();
    EXPECT_FALSE(view->isRunning());  // not in a shown window yet
    EXPECT_DOUBLE_EQ(view->contentsScale(), 2);
    window.show();
    ASSERT_TRUE(waitExposed(window));
    ASSERT_TRUE(TestSupport::waitUntil([&] { return view->isRunning(); }));
    window.hide();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return !view->isRunning(); }));
    window.show();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return view->isRunning(); }));
    // Clicks pass through.
    EXPECT_TRUE(view->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST_F(LoopTest, ReducedMotionTakesTheLoopOffAndBack) {
    QWidget window;
    auto* view = new LoopLayerView(spin(), false, &window);
    window.show();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return view->isRunning(); }));
    const double begin = view->loopLayer().animation(LoopLayerView::loopKey)->beginTime;
    view->setReduceMotion(false);  // same value: nothing happens
    EXPECT_DOUBLE_EQ(view->loopLayer().animation(LoopLayerView::loopKey)->beginTime, begin);
    view->setReduceMotion(true);
    EXPECT_FALSE(view->isRunning());
    view->setReduceMotion(false);
    EXPECT_TRUE(view->isRunning());
    // A new loop restarts from the beginning.
    advance(0.5);
    view->setLoop(spin());
    EXPECT_GT(view->loopLayer().animation(LoopLayerView::loopKey)->beginTime, begin);
    view->setLoop(std::nullopt);
    EXPECT_FALSE(view->isRunning());
}

TEST_F(LoopTest, TimeLimitCountsHiddenTimeAndANewLoopStartsAgain) {
    QWidget window;
    auto* view = new LoopLayerView(std::nullopt, false, &window);
    view->setStopsAfter(3);
    view->setLoop(spin());
    window.show();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return view->isRunning(); }));
    advance(1);
    window.hide();
    settle();
    advance(1.5);
    window.show();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return view->isRunning(); }));
    advance(0.6);  // 3.1 s since the start
    EXPECT_TRUE(view->expired());
    EXPECT_FALSE(view->isRunning());
    view->refresh(false);
    EXPECT_FALSE(view->isRunning());  // stays stopped
    view->setLoop(spin());
    EXPECT_FALSE(view->expired());
    EXPECT_TRUE(view->isRunning());
    advance(2.9);
    EXPECT_TRUE(view->isRunning());
    advance(0.2);
    EXPECT_FALSE(view->isRunning());
}

// A floating panel whose content view the motion animates.
struct Panel {
    Panel() : window(new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint)) {
        auto* layout = new QVBoxLayout(window.get());
        layout->addWidget(new QLabel(QStringLiteral("Copied")));
        window->resize(200, 60);
    }
    MotionLayer* layer() const { return PanelMotion::layerOf(PanelMotion::contentView(window.get()), false); }
    std::unique_ptr<QWidget> window;
};

using PanelMotionTest = DesignFixture;

TEST_F(PanelMotionTest, ShowFadesAndGrowsHideFadesThenOrdersOut) {
    Panel panel;
    PanelMotion motion;
    motion.show(panel.window.get(), false, false, 0.96, QPointF(0.5, 0));
    EXPECT_EQ(motion.generation(), 1);
    EXPECT_TRUE(panel.window->isVisible());
    ASSERT_NE(panel.layer(), nullptr);
    EXPECT_TRUE(panel.layer()->hasAnimation(PanelMotion::inKey));
    const LayerAnimation* grow = panel.layer()->animation(PanelMotion::growKey);
    ASSERT_NE(grow, nullptr);
    // Grows about the middle of the top edge: that point does not move.
    const QTransform start = std::get<QTransform>(grow->from);
    const QPointF anchor(0.5 * PanelMotion::contentView(panel.window.get())->width(), 0);
    EXPECT_NEAR(start.map(anchor).x(), anchor.x(), 1e-9);
    EXPECT_NEAR(start.map(anchor).y(), 0, 1e-9);
    EXPECT_DOUBLE_EQ(start.m11(), 0.96);
    EXPECT_DOUBLE_EQ(panel.layer()->animation(PanelMotion::inKey)->duration, 0.18);
    advance(1);

    // Shown, opaque and still: showing again only brings it front.
    motion.show(panel.window.get(), false, false, 0.96, QPointF(0.5, 0));
    EXPECT_FALSE(panel.layer()->hasAnimation(PanelMotion::inKey));

    motion.hide(panel.window.get(), false);
    EXPECT_TRUE(panel.layer()->hasAnimation(PanelMotion::outKey));
    EXPECT_TRUE(panel.window->isVisible());
    advance(0.21);
    EXPECT_TRUE(panel.window->isVisible());  // the order-out waits 0.02 s past the fade
    advance(0.02);
    EXPECT_FALSE(panel.window->isVisible());
    EXPECT_FALSE(panel.layer()->hasAnimation(PanelMotion::outKey));
}

TEST_F(PanelMotionTest, ShowDuringTheFadeKeepsThePanel) {
    Panel panel;
    PanelMotion motion;
    motion.show(panel.window.get(), false, false, 0.96, QPointF(0.5, 0));
    advance(1);
    motion.hide(panel.window.get(), false);
    advance(0.1);
    const double halfway = panel.layer()->presentationNumber(QStringLiteral("opacity"));
    EXPECT_LT(halfway, 1);
    EXPECT_GT(halfway, 0);
    motion.show(panel.window.get(), false, false, 0.96, QPointF(0.5, 0));
    EXPECT_FALSE(panel.layer()->hasAnimation(PanelMotion::outKey));
    const LayerAnimation* fade = panel.layer()->animation(PanelMotion::inKey);
    ASSERT_NE(fade, nullptr);
    EXPECT_NEAR(std::get<double>(fade->from), halfway, 1e-9);  // fades in from where it was
    advance(1);
    EXPECT_TRUE(panel.window->isVisible());  // the old hide's timer did nothing
    EXPECT_EQ(motion.generation(), 3);
}

TEST_F(PanelMotionTest, ImmediateHiddenAndReducedCases) {
    Panel panel;
    PanelMotion motion;
    motion.hide(panel.window.get(), false);  // hidden already: at once, no fade
    EXPECT_FALSE(panel.window->isVisible());
    EXPECT_EQ(panel.layer(), nullptr);

    motion.show(panel.window.get(), false, true, 0.96, QPointF(0.5, 0));
    ASSERT_NE(panel.layer(), nullptr);
    EXPECT_DOUBLE_EQ(panel.layer()->animation(PanelMotion::inKey)->duration, 0.1);
    EXPECT_FALSE(panel.layer()->hasAnimation(PanelMotion::growKey));
    motion.hide(panel.window.get(), true);
    EXPECT_FALSE(panel.window->isVisible());

    QWidget empty(nullptr, Qt::Tool);
    motion.show(&empty, false, false, 0.96, QPointF(0.5, 0));
    EXPECT_FALSE(empty.isVisible());  // no content view: nothing is shown
}

using GlassWindowTest = DesignFixture;

TEST_F(GlassWindowTest, BuiltOnceReusedAndOnCloseRunsOnce) {
    GlassWindow holder(false, true);
    EXPECT_EQ(holder.window(), nullptr);
    int builds = 0;
    int closes = 0;
    const auto content = [&](QWidget*) {
        ++builds;
        auto* label = new QLabel(QStringLiteral("Hello"));
        label->setMinimumHeight(120);
        return label;
    };
    holder.show(QStringLiteral("Settings"), 640, 520, [&] { ++closes; }, {}, content);
    QWidget* first = holder.window();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(holder.isVisible());
    holder.show(QStringLiteral("Settings again"), 100, 100, {}, {}, content);
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(holder.window()->windowTitle(), "Settings again");
    EXPECT_EQ(holder.window()->width(), 640);

    holder.window()->close();  // as the user
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(holder.hosted());
    EXPECT_EQ(holder.window(), first);
    holder.show(QStringLiteral("Settings"), 640, 520, {}, {}, content);
    EXPECT_EQ(builds, 2);
    EXPECT_EQ(holder.window(), first);
    holder.close();
    EXPECT_EQ(closes, 1);  // dropped after it ran
}

TEST_F(GlassWindowTest, EscapeClosesOnlyWithoutModifiersAndAsksFirst) {
    GlassWindow holder(false, true);
    bool allow = false;
    int asked = 0;
    holder.show(QStringLiteral("Onboarding"), 300, 200, {}, [&] { ++asked; return allow; },
                [](QWidget*) { return new QLabel(QStringLiteral("x")); });
    QWidget* window = holder.window();
    QKeyEvent shiftEscape(QEvent::KeyPress, Qt::Key_Escape, Qt::ShiftModifier);
    QApplication::sendEvent(window, &shiftEscape);
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(holder.isVisible());
    for (const Qt::KeyboardModifier m : {Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier, Qt::KeypadModifier})
        EXPECT_FALSE(EscapeWindow::escapeCloses(m));
    EXPECT_TRUE(EscapeWindow::escapeCloses(Qt::NoModifier));

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(window, &escape);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(holder.isVisible());  // the answer was no
    allow = true;
    QApplication::sendEvent(window, &escape);
    EXPECT_FALSE(holder.isVisible());
    // A plain close never asks.
    allow = false;
    holder.show(QStringLiteral("Onboarding"), 300, 200, {}, {}, [](QWidget*) { return new QLabel(QStringLiteral("x")); });
    holder.close();
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(holder.isVisible());

    GlassWindow passes(false, false);
    passes.show(QStringLiteral("x"), 100, 100, {}, {}, [](QWidget*) { return new QLabel(QStringLiteral("x")); });
    QApplication::sendEvent(passes.window(), &escape);
    EXPECT_TRUE(passes.isVisible());
}

TEST_F(GlassWindowTest, FitHeightClampsKeepsTheTopAndStaysOnScreen) {
    const QRect screen(0, 30, 1000, 700);  // usable area: y 30 … 730
    // Grows downwards from a fixed top.
    EXPECT_EQ(GlassWindow::fittedGeometry(QRect(10, 100, 400, 300), 350.2, screen), QRect(10, 100, 400, 351));
    // Too tall: the usable height, pushed up to stay inside.
    EXPECT_EQ(GlassWindow::fittedGeometry(QRect(10, 100, 400, 300), 5000, screen), QRect(10, 30, 400, 700));
    // Near the bottom: moved up so the bottom stays on screen.
    EXPECT_EQ(GlassWindow::fittedGeometry(QRect(10, 600, 400, 100), 200, screen), QRect(10, 530, 400, 200));
    // Above the top: pushed down.
    EXPECT_EQ(GlassWindow::fittedGeometry(QRect(10, 0, 400, 100), 200, screen), QRect(10, 30, 400, 200));
    // Rounded up first; within half a point of the frame nothing moves; no height: nothing.
    EXPECT_EQ(GlassWindow::fittedGeometry(QRect(10, 100, 400, 300), 299.6, screen), std::nullopt);
    EXPECT_EQ(GlassWindow::fittedGeometry(QRect(10, 100, 400, 300), 300.4, screen), QRect(10, 100, 400, 301));
    EXPECT_EQ(GlassWindow::fittedGeometry(QRect(10, 100, 400, 300), 0, screen), std::nullopt);
    EXPECT_EQ(GlassWindow::fittedGeometry(QRect(10, 100, 400, 300), 5000, std::nullopt), QRect(10, 100, 400, 5000));

    // A fixed window follows its content; a resizable one never.
    GlassWindow fixed(false, false);
    QLabel* tall = nullptr;
    fixed.show(QStringLiteral("x"), 300, 100, {}, {}, [&](QWidget*) {
        tall = new QLabel(QStringLiteral("grows"));
        tall->setFixedHeight(240);
        return tall;
    });
    ASSERT_TRUE(TestSupport::waitUntil([&] { return fixed.window()->height() == 240; }));
    GlassWindow loose(true, false);
    loose.show(QStringLiteral("x"), 300, 100, {}, {}, [&](QWidget*) {
        auto* label = new QLabel(QStringLiteral("grows"));
        label->setFixedHeight(40);
        return label;
    });
    loose.fitHeight(400);
    settle();
    EXPECT_EQ(loose.window()->height(), 100);
}

TEST(HostedPanel, FittingSizeRoundsUpWithAFloor) {
    EXPECT_EQ(HostedPanel::fittingSize(QSizeF()), QSize(100, 60));
    EXPECT_EQ(HostedPanel::fittingSize(QSizeF(100.2, 59)), QSize(101, 60));
    EXPECT_EQ(HostedPanel::fittingSize(QSizeF(320, 140.5)), QSize(320, 141));
    QWidget empty;
    EXPECT_EQ(HostedPanel::fittingSize(&empty), QSize(100, 60));
}

using StepDotsTest = DesignFixture;

TEST_F(StepDotsTest, DotsAndTheirLabel) {
    StepDots dots(4, 1);
    const std::vector<QRectF> rects = dots.dotRects();
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[0].width(), 7);
    EXPECT_EQ(rects[1].width(), 22);
    EXPECT_EQ(rects[2].width(), 7);
    EXPECT_EQ(rects[3].width(), 7);
    EXPECT_EQ(rects[1].left() - rects[0].right(), 6);
    dots.show();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&dots);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Name), "Step 2 of 4");
    dots.setCurrent(2);
    EXPECT_TRUE(dots.position().isAnimating());
    advance(2);
    EXPECT_EQ(dots.dotRects()[2].width(), 22);
    EXPECT_TRUE(StepDots(0, 0).dotRects().empty());
    EXPECT_EQ(StepDots(-2, 0).count(), 0);

    QWidget host;
    Environment::setReduceMotionOverride(&host, true);
    auto* still = new StepDots(3, 0, &host);
    still->setCurrent(1);
    EXPECT_FALSE(still->position().isAnimating());
}

TEST(WindowFooter, PaddingFollowsDividerAndInset) {
    EXPECT_EQ(WindowFooter(nullptr, true, 36).padding(), QMargins(36, 18, 36, 36));
    EXPECT_EQ(WindowFooter(nullptr, false, 4).padding(), QMargins(18, 0, 18, 18));
}

}  // namespace
