// The drag-to-select overlay against a desktop of the test's own: two screens side by
// side (the primary 800 × 600, a second 400 × 300 to its right), events sent to the panels.

#include "ZantrelUI/desktop/AreaSelector.h"
#include "ZantrelUI/desktop/AreaSelectorLayout.h"
#include "ZantrelUI/design/Tokens.h"
#include "platform/async/Clock.h"
#include "tests/ZantrelUI/ProportionalDigits.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace {

using ZantrelUI::AreaSelector;
using ZantrelUI::FrontWindow;
using ZantrelUI::SelectionView;
using Result = std::optional<std::optional<QRectF>>;

struct DeskState {
    QList<QRectF> screens{QRectF(0, 0, 800, 600), QRectF(800, 0, 400, 300)};
    QPointF pointer{100, 100};
    bool translucent = true;
    bool grants = true;
    int grabs = 0;
    int releases = 0;
    int freezes = 0;
    std::optional<Platform::CaptureFailure> prepareFailure;
    std::stop_token prepareStop;
    int covers = 0;
    int cancels = 0;
    std::optional<FrontWindow> front;
    std::vector<FrontWindow> activated;
};

class TestDesk final : public ZantrelUI::AreaSelectorDesk {
public:
    explicit TestDesk(DeskState& state) : state_(state) {}
    QList<QRectF> screens() const override { return state_.screens; }
    QPointF pointer() const override { return state_.pointer; }
    bool translucent() const override { return state_.translucent; }
    QImage freeze(const QRectF& screen) const override {
        ++state_.freezes;
        QImage picture(screen.size().toSize(), QImage::Format_RGB32);
        picture.fill(QColor(200, 100, 50));
        return picture;
    }
    bool grabInput(QWidget&) override {
        ++state_.grabs;
        return state_.grants;
    }
    void releaseInput(QWidget&) override { ++state_.releases; }
    std::optional<FrontWindow> frontWindow() const override { return state_.front; }
    void activate(const FrontWindow& window) override { state_.activated.push_back(window); }
    QCoro::Task<std::expected<void, Platform::CaptureFailure>> prepare(std::stop_token stop) override {
        state_.prepareStop = stop;
        if (state_.prepareFailure)
            co_return std::unexpected(*state_.prepareFailure);
        co_return {};
    }
    void coverUntilDelivered() override { ++state_.covers; }
    void pickCancelled() override { ++state_.cancels; }

private:
    DeskState& state_;
};

QCoro::Task<> collect(AreaSelector& selector, AreaSelector::Look look, Result& out,
                      std::optional<Platform::CaptureFailure>* failure = nullptr) {
    try {
        out = co_await selector.pick(std::move(look));
    } catch (const ZantrelUI::PickFailure& error) {
        if (failure)
            *failure = error.failure();
        out = std::optional<QRectF>();
    }
}

class AreaSelectorTest : public testing::Test {
protected:
    AreaSelectorTest() : scoped_(clock_) {}

    void start(AreaSelector::Look look = {}) { task_ = collect(selector_, std::move(look), result_, &failure_); }
    bool finished() { return TestSupport::waitUntil([this] { return result_.has_value(); }); }

    SelectionView& panel(std::size_t i) { return *selector_.panels().at(i); }

    // Mouse events carry desktop coordinates; any panel may get them (the grab sends
    // them all to one).
    void mouse(QEvent::Type type, QPointF desktop, Qt::MouseButton button = Qt::LeftButton, std::size_t on = 0) {
        SelectionView& view = panel(on);
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, desktop - QPointF(view.geometry().topLeft()), desktop, button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &event);
    }
    void dragFrom(QPointF from, QPointF to, std::size_t on = 0) {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, on);
        mouse(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton, on);
        mouse(QEvent::MouseMove, to, Qt::LeftButton, on);
        mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, on);
    }

    Platform::ManualClock clock_;
    Platform::ScopedClock scoped_;
    DeskState desk_;
    AreaSelector selector_{std::make_unique<TestDesk>(desk_)};
    Result result_;
    std::optional<Platform::CaptureFailure> failure_;
    QCoro::Task<> task_;
};

TEST_F(AreaSelectorTest, DragGivesTheRectangleInGlobalPoints) {
    start();
    ASSERT_EQ(selector_.panels().size(), 2u);
    EXPECT_EQ(panel(0).geometry(), QRect(0, 0, 800, 600));
    EXPECT_EQ(panel(1).geometry(), QRect(800, 0, 400, 300));
    EXPECT_EQ(desk_.grabs, 1);
    dragFrom({100, 100}, {300, 250});
    EXPECT_TRUE(selector_.panels().empty());  // torn down before the caller resumes
    ASSERT_TRUE(finished());
    ASSERT_TRUE(*result_);
    // Desktop y 250 is 350 points above the primary screen's bottom edge.
    EXPECT_EQ(**result_, QRectF(100, 350, 200, 150));
    EXPECT_EQ(desk_.releases, 1);
    EXPECT_FALSE(selector_.isPicking());
}

TEST_F(AreaSelectorTest, ADeskThatCannotPictureTheScreensEndsThePickAtOnceAndSaysWhy) {
    desk_.prepareFailure =
        Platform::CaptureFailure{QStringLiteral("the desktop refused the screenshot"), Platform::CaptureFailure::Cause::refused};
    start();
    ASSERT_TRUE(finished());
    EXPECT_FALSE(*result_);
    // Not a cancel: the reason reaches the caller.
    ASSERT_TRUE(failure_.has_value());
    EXPECT_EQ(failure_->cause, Platform::CaptureFailure::Cause::refused);
    EXPECT_TRUE(selector_.panels().empty());
    EXPECT_EQ(desk_.grabs, 0);
    EXPECT_FALSE(selector_.isPicking());

    // A pick that ends stops what its preparation still waits for.
    desk_.prepareFailure.reset();
    result_.reset();
    start();
    ASSERT_FALSE(desk_.prepareStop.stop_requested());
    selector_.cancel();
    ASSERT_TRUE(finished());
    EXPECT_TRUE(desk_.prepareStop.stop_requested());
}

TEST_F(AreaSelectorTest, OnlyAPickWithAnAreaKeepsTheScreensCovered) {
    start();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&panel(0), &escape);
    ASSERT_TRUE(finished());
    EXPECT_EQ(desk_.covers, 0);
    EXPECT_EQ(desk_.cancels, 1);
    result_.reset();
    start();
    dragFrom({100, 100}, {300, 250});
    ASSERT_TRUE(finished());
    EXPECT_EQ(desk_.covers, 1);
    EXPECT_EQ(desk_.cancels, 1);
}

TEST_F(AreaSelectorTest, DragAcrossScreensGivesTheUnionOfItsPartsOnThem) {
    start();
    dragFrom({700, 100}, {1300, 250});
    ASSERT_TRUE(finished());
    ASSERT_TRUE(*result_);
    // The part past the second screen's right edge (x 1200) is cut off.
    EXPECT_EQ(**result_, QRectF(700, 350, 500, 150));
}

TEST_F(AreaSelectorTest, EveryScreenShowsTheSelectionInItsOwnCoordinates) {
    start();
    mouse(QEvent::MouseButtonPress, {700, 100});
    mouse(QEvent::MouseMove, {900, 200});
    ASSERT_TRUE(panel(0).selection());
    EXPECT_EQ(*panel(0).selection(), QRectF(700, 400, 200, 100));
    // The second screen's frame starts at global (800, 300).
    EXPECT_EQ(*panel(1).selection(), QRectF(-100, 100, 200, 100));
    selector_.cancel();
    ASSERT_TRUE(finished());
}

// Every screen draws the size label: one that the selection does not reach shows it at
// its edge nearest to the selection, so the size stays in view on any screen.
TEST_F(AreaSelectorTest, EveryScreenDrawsTheSizeLabel) {
    start();
    // The most dark (label-pill) pixels a screen draws.
    auto pillPixels = [this](std::size_t i) {
        const QImage image = panel(i).grab().toImage().convertToFormat(QImage::Format_ARGB32);
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += qAlpha(image.pixel(x, y)) > 150 && qGray(image.pixel(x, y)) < 60 ? 1 : 0;
        return count;
    };
    mouse(QEvent::MouseButtonPress, {700, 100});
    mouse(QEvent::MouseMove, {780, 200});
    EXPECT_GT(pillPixels(0), 100);
    EXPECT_GT(pillPixels(1), 100) << "the second screen shows the label at its edge";
    selector_.cancel();
    ASSERT_TRUE(finished());
}

TEST_F(AreaSelectorTest, TheSizeLabelsDigitsShareOneWidthWhereTheDesktopsFontsDoNot) {
    DesignTest::ProportionalDigits font;
    if (!font.family())
        GTEST_SKIP() << "no installed face with digits of different widths";
    EXPECT_TRUE(ZantrelUI::Fonts::sameAdvances(SelectionView::labelFont(), QStringLiteral("0123456789")))
        << font.family()->toStdString();
}

TEST_F(AreaSelectorTest, ThePointersPanelIsKeyAndWithThePointerOnNoScreenNone) {
    desk_.pointer = {900, 100};
    start();
    ASSERT_TRUE(TestSupport::waitUntil([this] { return desk_.grabs > 0 && panel(1).hasFocus(); }));
    EXPECT_FALSE(panel(0).hasFocus());
    selector_.cancel();
    ASSERT_TRUE(finished());

    result_.reset();
    desk_.pointer = {1000, 500};  // below the smaller screen, right of the larger one
    start();
    ASSERT_TRUE(TestSupport::waitUntil([this] { return desk_.grabs > 1; }));
    QCoreApplication::processEvents();
    EXPECT_FALSE(panel(0).hasFocus());
    EXPECT_FALSE(panel(1).hasFocus());
    // The pick still ends on Escape.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&panel(0), &escape);
    ASSERT_TRUE(finished());
    EXPECT_FALSE(*result_);
}

TEST_F(AreaSelectorTest, HintShowsOnThePointersScreenUntilTheFirstPress) {
    desk_.pointer = {1000, 100};
    start({QColor(Qt::red), QStringLiteral("Drag over the text. Press Esc to cancel.")});
    EXPECT_FALSE(panel(0).showsHint());
    EXPECT_TRUE(panel(1).showsHint());
    mouse(QEvent::MouseButtonPress, {1000, 100}, Qt::LeftButton, 1);
    EXPECT_FALSE(panel(1).showsHint());
    selector_.cancel();
    ASSERT_TRUE(finished());
}

TEST_F(AreaSelectorTest, TooSmallAreasAndClicksGiveNothing) {
    start();
    dragFrom({100, 100}, {103, 103});
    ASSERT_TRUE(finished());
    EXPECT_FALSE(*result_);

    result_.reset();
    start();
    mouse(QEvent::MouseButtonPress, {100, 100});
    mouse(QEvent::MouseButtonRelease, {100, 100});
    ASSERT_TRUE(finished());
    EXPECT_FALSE(*result_);

    result_.reset();
    start();
    dragFrom({100, 100}, {104, 96});  // exactly 4 × 4, dragged up and right
    ASSERT_TRUE(finished());
    ASSERT_TRUE(*result_);
    EXPECT_EQ(**result_, QRectF(100, 500, 4, 4));

    result_.reset();
    start();
    dragFrom({100, 100}, {103, 200});  // wide enough one way only
    ASSERT_TRUE(finished());
    EXPECT_FALSE(*result_);
}

TEST_F(AreaSelectorTest, EscapeRightClickAndAReleaseWithoutPressCancel) {
    start();
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(&panel(0), &other);
    EXPECT_TRUE(selector_.isPicking());  // other keys go on
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&panel(1), &escape);  // also on a panel that is not key
    ASSERT_TRUE(finished());
    EXPECT_FALSE(*result_);

    result_.reset();
    start();
    mouse(QEvent::MouseButtonPress, {100, 100});
    mouse(QEvent::MouseButtonPress, {200, 200}, Qt::RightButton);
    ASSERT_TRUE(finished());
    EXPECT_FALSE(*result_);

    result_.reset();
    start();
    mouse(QEvent::MouseButtonRelease, {300, 300});
    ASSERT_TRUE(finished());
    EXPECT_FALSE(*result_);
}

TEST_F(AreaSelectorTest, EscapeToAnyWidgetOfTheAppEndsThePick) {
    start();
    QWidget elsewhere;
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&elsewhere, &escape);
    ASSERT_TRUE(finished());
    EXPECT_FALSE(*result_);
}

TEST_F(AreaSelectorTest, SecondPickWhileOneWaitsGivesNothingAndLeavesTheFirst) {
    start();
    Result second;
    auto other = collect(selector_, {}, second);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return second.has_value(); }));
    EXPECT_FALSE(*second);
    EXPECT_TRUE(selector_.isPicking());
    EXPECT_EQ(selector_.panels().size(), 2u);
    dragFrom({100, 100}, {300, 250});
    ASSERT_TRUE(finished());
    EXPECT_TRUE(*result_);
}

TEST_F(AreaSelectorTest, ARectangleWaitsNinetyMillisecondsACancelDoesNot) {
    clock_.setAutoAdvance(false);
    selector_.cancel();  // nothing waits: nothing happens
    start();
    selector_.cancel();
    ASSERT_TRUE(finished());
    EXPECT_FALSE(*result_);

    result_.reset();
    start();
    dragFrom({100, 100}, {300, 250});
    QCoreApplication::processEvents();
    EXPECT_FALSE(result_);
    clock_.advance(std::chrono::milliseconds(89));
    QCoreApplication::processEvents();
    EXPECT_FALSE(result_);
    clock_.advance(std::chrono::milliseconds(1));
    ASSERT_TRUE(finished());
    EXPECT_TRUE(*result_);
}

TEST_F(AreaSelectorTest, ThePreviousWindowIsActivatedAgainOnlyAfterAPickOfAnotherProgram) {
    desk_.front = FrontWindow{42, 1};
    start();
    dragFrom({100, 100}, {300, 250});
    ASSERT_TRUE(finished());
    ASSERT_EQ(desk_.activated.size(), 1u);
    EXPECT_EQ(desk_.activated[0].window, 42u);

    result_.reset();
    start();
    selector_.cancel();
    ASSERT_TRUE(finished());
    EXPECT_EQ(desk_.activated.size(), 1u);  // a cancelled pick activates nothing

    result_.reset();
    desk_.front = FrontWindow{43, QCoreApplication::applicationPid()};
    start();
    dragFrom({100, 100}, {300, 250});
    ASSERT_TRUE(finished());
    EXPECT_EQ(desk_.activated.size(), 1u);  // our own window
}

TEST_F(AreaSelectorTest, ARefusedGrabOrNoScreenEndsThePickAtOnce) {
    desk_.grants = false;
    start();
    ASSERT_TRUE(finished());
    EXPECT_FALSE(*result_);
    EXPECT_GT(desk_.grabs, 1);  // tried again for a moment
    EXPECT_TRUE(selector_.panels().empty());
    EXPECT_FALSE(selector_.isPicking());

    result_.reset();
    desk_.grants = true;
    desk_.screens.clear();
    start();
    ASSERT_TRUE(finished());
    EXPECT_FALSE(*result_);
}

TEST_F(AreaSelectorTest, WithoutACompositorTheOverlayIsDrawnOverAFrozenScreen) {
    desk_.translucent = false;
    start();
    EXPECT_EQ(desk_.freezes, 2);
    EXPECT_FALSE(panel(0).testAttribute(Qt::WA_TranslucentBackground));
    mouse(QEvent::MouseButtonPress, {100, 100});
    mouse(QEvent::MouseMove, {300, 250});
    const QImage shown = panel(0).grab().toImage();
    // Inside the selection the screen shows as it is; outside it is dimmed.
    EXPECT_EQ(QColor(shown.pixel(200, 180)), QColor(200, 100, 50));
    const QColor dimmed(shown.pixel(500, 500));
    EXPECT_LT(dimmed.red(), 150);
    EXPECT_GT(dimmed.red(), 120);
    selector_.cancel();
    ASSERT_TRUE(finished());
}

TEST_F(AreaSelectorTest, DestroyingTheSelectorEndsAWaitingPick) {
    Result out;
    QCoro::Task<> task;
    {
        AreaSelector selector(std::make_unique<TestDesk>(desk_));
        task = collect(selector, {}, out);
    }
    ASSERT_TRUE(TestSupport::waitUntil([&] { return out.has_value(); }));
    EXPECT_FALSE(*out);
}

TEST(AreaSelectorLayout, SizeLabelSitsBelowTheSelectionsRightEdge) {
    namespace Layout = ZantrelUI::AreaSelectorLayout;
    const QRectF bounds(0, 0, 800, 600);
    // Right edge flush, top 8 points below the selection's bottom edge.
    EXPECT_EQ(Layout::labelPill(QRectF(100, 300, 200, 100), {60, 14}, bounds), QRectF(224, 270, 76, 22));
    // Clamped into the view at the bottom and on the left.
    EXPECT_EQ(Layout::labelPill(QRectF(0, 5, 20, 20), {60, 14}, bounds), QRectF(8, 8, 76, 22));
    // And on the right, for a selection on another screen.
    EXPECT_EQ(Layout::labelPill(QRectF(900, 300, 200, 100), {60, 14}, bounds), QRectF(716, 270, 76, 22));
    // A view too small for the pill keeps the right and top margins.
    EXPECT_EQ(Layout::clamp(QRectF(50, 50, 100, 40), QRectF(0, 0, 60, 30)), QRectF(-48, -18, 100, 40));
    EXPECT_EQ(Layout::labelText(QRectF(224, 270, 76, 22), {60, 14}), QRectF(232, 274, 60, 14));
}

TEST(AreaSelectorLayout, HintIsCentredAndFlipsToWidgetSpace) {
    namespace Layout = ZantrelUI::AreaSelectorLayout;
    const QRectF hint = Layout::hintPill({300, 18}, QRectF(0, 0, 800, 600));
    EXPECT_EQ(hint, QRectF(234, 282, 332, 36));
    EXPECT_EQ(Layout::hintText(hint, {300, 18}), QRectF(250, 291, 300, 18));
    EXPECT_EQ(Layout::hintPill({1000, 18}, QRectF(0, 0, 800, 600)).x(), -240);  // right edge wins
    EXPECT_EQ(Layout::toWidget(QRectF(10, 20, 30, 40), 600), QRectF(10, 540, 30, 40));
}

TEST(FrontWindow, ProgramsAreToldApartByProcess) {
    EXPECT_TRUE(ZantrelUI::isOtherProgram({1, 10}, 11));
    EXPECT_FALSE(ZantrelUI::isOtherProgram({1, 11}, 11));
    EXPECT_TRUE(ZantrelUI::isOtherProgram({1, std::nullopt}, 11));  // says nothing: another's
}

}  // namespace
