#include "platform/screen/ScreenSpace.h"

#include <gtest/gtest.h>

namespace {

using Platform::ScreenSpace;

TEST(ScreenSpace, FlipsAboutThePrimaryScreen) {
    const ScreenSpace space(QRectF(0, 0, 1440, 900));
    EXPECT_EQ(space.toDesktop(QRectF(100, 600, 200, 100)), QRectF(100, 200, 200, 100));
    EXPECT_EQ(space.toGlobal(QRectF(100, 200, 200, 100)), QRectF(100, 600, 200, 100));
    EXPECT_EQ(space.toGlobal(QPointF(0, 900)), QPointF(0, 0));
    EXPECT_EQ(space.toDesktop(QPointF(10, 0)), QPointF(10, 900));
    // A screen below the primary one lies at negative global y.
    EXPECT_EQ(space.toGlobal(QRectF(0, 900, 100, 100)), QRectF(0, -100, 100, 100));
}

TEST(ScreenSpace, PrimaryScreenAwayFromTheDesktopOrigin) {
    // Primary on the right of a taller screen: the global origin is its bottom-left corner.
    const ScreenSpace space(QRectF(1920, 200, 1280, 800));
    EXPECT_EQ(space.toGlobal(QPointF(1920, 1000)), QPointF(0, 0));
    EXPECT_EQ(space.toGlobal(QRectF(0, 0, 1920, 1200)), QRectF(-1920, -200, 1920, 1200));
    const QRectF r(-50, 30, 400, 250);
    EXPECT_EQ(space.toGlobal(space.toDesktop(r)), r);
}

TEST(ScreenSpace, NegativeSizesAreNormalized) {
    const ScreenSpace space(QRectF(0, 0, 100, 100));
    EXPECT_EQ(space.toDesktop(QRectF(50, 50, -20, -10)), QRectF(30, 50, 20, 10));
}

}  // namespace
