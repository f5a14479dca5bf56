#include "ZantrelKit/ScreenArea.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ZantrelKit;

namespace {

TEST(ScreenArea, RectIsTheSameForADragInAnyDirection) {
    EXPECT_EQ(ScreenArea::rect({100, 100}, {40, 160}), QRectF(40, 100, 60, 60));
    EXPECT_EQ(ScreenArea::rect({40, 160}, {100, 100}), QRectF(40, 100, 60, 60));
    EXPECT_EQ(ScreenArea::rect({40, 100}, {100, 160}), QRectF(40, 100, 60, 60));
    const QRectF click = ScreenArea::rect({7, 9}, {7, 9});
    EXPECT_EQ(click.topLeft(), QPointF(7, 9));
    EXPECT_EQ(click.size(), QSizeF(0, 0));
}

TEST(ScreenArea, ClipGivesNothingOffEveryScreen) {
    const QList<QRectF> screens{QRectF(0, 0, 1440, 900)};
    EXPECT_FALSE(ScreenArea::clip(QRectF(2000, 2000, 50, 50), screens));
    EXPECT_FALSE(ScreenArea::clip(QRectF(10, 10, 50, 50), {}));
    // Touching the right edge only: a zero-width overlap counts as none.
    EXPECT_FALSE(ScreenArea::clip(QRectF(1440, 100, 50, 50), screens));
    EXPECT_FALSE(ScreenArea::clip(QRectF(100, 900, 50, 50), screens));
}

TEST(ScreenArea, ClipKeepsTheOnScreenPart) {
    const QList<QRectF> screens{QRectF(0, 0, 1440, 900)};
    EXPECT_EQ(ScreenArea::clip(QRectF(-20, -10, 100, 50), screens), QRectF(0, 0, 80, 40));
    EXPECT_EQ(ScreenArea::clip(QRectF(10, 20, 30, 40), screens), QRectF(10, 20, 30, 40));
}

TEST(ScreenArea, ClipOverTwoScreensIsOneRectangleSpanningTheGap) {
    // Two screens side by side, the second one higher and with a gap between them.
    const QList<QRectF> screens{QRectF(0, 0, 1000, 800), QRectF(1100, 200, 1000, 800)};
    EXPECT_EQ(ScreenArea::clip(QRectF(900, 100, 400, 200), screens), QRectF(900, 100, 400, 200));
    EXPECT_EQ(ScreenArea::clip(QRectF(900, 700, 400, 400), screens), QRectF(900, 700, 400, 300));
    // A piece that touches the second screen only along an edge does not widen the union.
    EXPECT_EQ(ScreenArea::clip(QRectF(900, 0, 200, 100), screens), QRectF(900, 0, 100, 100));
}

TEST(ScreenArea, UsableFromFourByFourInclusive) {
    EXPECT_TRUE(ScreenArea::isUsable(QRectF(0, 0, 4, 4)));
    EXPECT_FALSE(ScreenArea::isUsable(QRectF(0, 0, 4, 3.99)));
    EXPECT_FALSE(ScreenArea::isUsable(QRectF(0, 0, 3.99, 4)));
    EXPECT_FALSE(ScreenArea::isUsable(QRectF(0, 0, 3.9, 100)));
    EXPECT_TRUE(ScreenArea::isUsable(QRectF(10, 10, -5, -5)));  // standardized
    EXPECT_FALSE(ScreenArea::isUsable(QRectF(0, 0, std::numeric_limits<double>::quiet_NaN(), 10)));
}

TEST(ScreenArea, SizeLabelRoundsHalvesAwayFromZero) {
    EXPECT_EQ(ScreenArea::sizeLabel(QRectF(0, 0, 120.4, 33.5)), QStringLiteral("120 × 34"));
    EXPECT_EQ(ScreenArea::sizeLabel(QRectF(0, 0, 0.4, 0.5)), QStringLiteral("0 × 1"));
    EXPECT_EQ(ScreenArea::sizeLabel(QRectF(0, 0, 10.5, 2.49)), QStringLiteral("11 × 2"));
    EXPECT_EQ(ScreenArea::sizeLabel(QRectF(50, 50, -10.5, -0.4)), QStringLiteral("11 × 0"));
}

TEST(ScreenArea, SizeLabelOfANonFiniteSizeIsEmpty) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(ScreenArea::sizeLabel(QRectF(0, 0, inf, 10)).isEmpty());
    EXPECT_TRUE(ScreenArea::sizeLabel(QRectF(0, 0, 10, nan)).isEmpty());
    EXPECT_EQ(ScreenArea::sizeLabel(QRectF(0, 0, 1e20, 3)), QStringLiteral("100000000000000000000 × 3"));
}

TEST(ScreenArea, CaptureRectFlipsTheYAxis) {
    EXPECT_EQ(ScreenArea::captureRect(QRectF(10, 20, 100, 50), 900), QRectF(10, 830, 100, 50));
    EXPECT_EQ(ScreenArea::captureRect(QRectF(110, 70, -100, -50), 900), QRectF(10, 830, 100, 50));
    // A screen above the primary one lies at negative capture y; nothing is clipped.
    EXPECT_EQ(ScreenArea::captureRect(QRectF(0, 900, 10, 10), 900), QRectF(0, -10, 10, 10));
}

}  // namespace
