#include "Glyphnab/notice/GrabShimmer.h"

#include "platform/async/Clock.h"

#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <chrono>

namespace Glyphnab {
namespace {

using namespace std::chrono_literals;

class GrabShimmerTests : public ::testing::Test {
protected:
    GrabShimmerTests()
        : clock(false),
          shimmer([this] { return reduce; },
                  GrabShimmer::Desk{[] { return QRectF(0, 0, 1920, 1080); }, [](const QRect&) { return QImage(); }, {}},
                  &clock) {}

    void advance(std::chrono::nanoseconds d) {
        clock.advance(d);
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    bool reduce = false;
    Platform::ManualClock clock;
    GrabShimmer shimmer;
};

TEST_F(GrabShimmerTests, LiesExactlyOverTheGrabbedAreaAndLetsClicksThrough) {
    // Global points: origin bottom left, y up; 980 up from the bottom is 50 down from the top.
    shimmer.play(QRectF(100, 980, 200, 50));
    ASSERT_TRUE(shimmer.isShowing());
    EXPECT_EQ(shimmer.panel()->geometry(), QRect(100, 50, 200, 50));
    EXPECT_TRUE(shimmer.panel()->windowFlags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(shimmer.panel()->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    advance(500ms);
    EXPECT_FALSE(shimmer.isShowing());
    EXPECT_TRUE(shimmer.panel()->findChildren<QWidget*>().isEmpty()) << "its view is removed";
}

TEST_F(GrabShimmerTests, ReducedMotionOrAnEmptyAreaShowsNothing) {
    reduce = true;
    shimmer.play(QRectF(0, 0, 100, 100));
    EXPECT_EQ(shimmer.panel(), nullptr);
    reduce = false;
    shimmer.play(QRectF(0, 0, 0, 100));
    shimmer.play(QRectF(0, 0, 100, 0.5));
    EXPECT_EQ(shimmer.panel(), nullptr);
    EXPECT_EQ(shimmer.generation(), 0);
}

TEST(GrabShimmer, ADesktopThatPlacesWindowsItselfGetsNoFlash) {
    // A Wayland compositor would put the panel anywhere, and a tiling one beside the windows.
    Platform::ManualClock clock(false);
    GrabShimmer shimmer([] { return false; },
                        GrabShimmer::Desk{[] { return QRectF(0, 0, 1280, 800); }, [](const QRect&) { return QImage(); },
                                          [] { return false; }},
                        &clock);
    shimmer.play(QRectF(5, 700, 700, 90));
    EXPECT_EQ(shimmer.panel(), nullptr);
}

TEST_F(GrabShimmerTests, OnlyTheNewestPlayClearsThePanel) {
    shimmer.play(QRectF(0, 0, 100, 100));
    QWidget* const panel = shimmer.panel();
    advance(300ms);
    shimmer.play(QRectF(500, 500, 80, 40));
    EXPECT_EQ(shimmer.panel(), panel) << "one panel, moved";
    advance(200ms);  // the first play's timer finds a newer play
    EXPECT_TRUE(shimmer.isShowing());
    advance(300ms);
    EXPECT_FALSE(shimmer.isShowing());
}

TEST(GrabShimmerDeskTests, WithoutTranslucencyTheAreaIsPaintedUnderTheBand) {
    Platform::ManualClock clock(false);
    QRect asked;
    GrabShimmer shimmer([] { return false; },
                        GrabShimmer::Desk{[] { return QRectF(0, 0, 800, 600); },
                                          [&](const QRect& area) {
                                              asked = area;
                                              QImage frozen(area.size(), QImage::Format_RGB32);
                                              frozen.fill(QColor(10, 120, 200));
                                              return frozen;
                                          },
                                          {}},
                        &clock);
    shimmer.play(QRectF(10, 500, 60, 40));
    EXPECT_EQ(asked, QRect(10, 60, 60, 40));
    const QImage shown = shimmer.panel()->grab().toImage();
    // The band starts beyond the left edge, so the corner shows the frozen pixels.
    EXPECT_EQ(QColor(shown.pixel(1, 1)), QColor(10, 120, 200));
}

// Without a compositor the desk hands back the area's pixels: the panel is then an
// ordinary window that paints them; it is made again when the compositor comes or goes.
TEST(GrabShimmerDesk, WithoutACompositorThePanelIsOpaqueAndFollowsTheCompositor) {
    Platform::ManualClock clock(false);
    bool composited = false;
    GrabShimmer shimmer([] { return false; },
                        GrabShimmer::Desk{[] { return QRectF(0, 0, 1920, 1080); },
                                          [&composited](const QRect& area) {
                                              if (composited)
                                                  return QImage();
                                              QImage frozen(area.size(), QImage::Format_RGB32);
                                              frozen.fill(Qt::white);
                                              return frozen;
                                          },
                                          {}},
                        &clock);
    shimmer.play(QRectF(0, 0, 100, 100));
    ASSERT_TRUE(shimmer.isShowing());
    EXPECT_FALSE(shimmer.panel()->testAttribute(Qt::WA_TranslucentBackground));
    composited = true;
    shimmer.play(QRectF(0, 0, 100, 100));
    ASSERT_TRUE(shimmer.isShowing());
    EXPECT_TRUE(shimmer.panel()->testAttribute(Qt::WA_TranslucentBackground));
}

}  // namespace
}  // namespace Glyphnab
