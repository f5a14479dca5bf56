// The ground under text over a gradient: strokes of either polarity go, a button with
// text on it stays ground of its own level, a band of one gray in a gradient does not.

#include "platform/recognition/GroundLevel.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

// A left-to-right ramp from 60 to 200.
QImage ramp(int width = 240, int height = 120) {
    QImage picture(width, height, QImage::Format_Grayscale8);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.scanLine(y)[x] = static_cast<uchar>(60 + 140 * x / (width - 1));
    return picture;
}

int at(const QImage& image, int x, int y) { return image.constScanLine(y)[x]; }

}  // namespace

TEST(GroundLevel, StrokesOfEitherPolarityLeaveTheGradientUnderThem) {
    QImage picture = ramp();
    QPainter painter(&picture);
    painter.fillRect(QRect(40, 10, 3, 100), Qt::white);
    painter.fillRect(QRect(120, 10, 12, 100), Qt::white);  // a bold heading's stroke
    painter.fillRect(QRect(180, 10, 2, 100), Qt::black);
    painter.end();
    const QImage ground = groundLevel(picture, 8);
    const QImage plain = ramp();
    // A ramp this steep (0.6 a pixel) may shift the ground by its rise over the radius.
    for (const int x : {41, 125, 180})
        EXPECT_NEAR(at(ground, x, 60), at(plain, x, 60), 12) << x;
}

TEST(GroundLevel, AButtonIsGroundOfItsOwnLevelWithoutARimButABandOfOneGrayIsNot) {
    QImage picture = ramp();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(30, 40, 150, 34), 17, 17);
    // Dark text on it, close enough to eat a white stroke-sized ground.
    for (int x = 52; x < 160; x += 6)
        painter.fillRect(QRect(x, 48, 3, 18), QColor(0x11, 0x11, 0x11));
    painter.end();
    const QImage ground = groundLevel(picture, 8);
    EXPECT_EQ(at(ground, 53, 56), 255);
    EXPECT_EQ(at(ground, 100, 56), 255);
    // The anti-aliased edge is its own ground: no ink around the button.
    for (const QPoint edge : {QPoint(30, 57), QPoint(179, 57), QPoint(100, 40), QPoint(100, 73)})
        EXPECT_EQ(at(ground, edge.x(), edge.y()), at(picture, edge.x(), edge.y())) << edge.x() << "," << edge.y();

    // A flat gray with one sharp edge (a card's) fades into the gradient on its other
    // side: text crossing that side keeps its ink.
    QImage card = ramp();
    QPainter cardPainter(&card);
    cardPainter.fillRect(QRect(0, 0, 20, 120), QColor(0x1e, 0x1e, 0x1e));
    cardPainter.fillRect(QRect(20, 0, 60, 120), QColor(107, 107, 107));
    for (int x = 40; x < 110; x += 7)
        cardPainter.fillRect(QRect(x, 30, 2, 40), Qt::white);
    cardPainter.end();
    const QImage cardGround = groundLevel(card, 8);
    for (int x = 40; x < 110; x += 7)
        EXPECT_LT(at(cardGround, x, 50), 160) << x;
}

TEST(GroundLevelDarkText, ADenseParagraphOfDarkTextKeepsTheGradientUnderIt) {
    // Lines of thin dark strokes closer than the filter's square, over a light ramp: the
    // ground between the letters is no light stroke to take out.
    QImage picture(240, 120, QImage::Format_Grayscale8);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 240; ++x)
            picture.scanLine(y)[x] = static_cast<uchar>(180 + 60 * x / 239);
    const QImage plain = picture.copy();
    QPainter painter(&picture);
    for (int top = 20; top < 90; top += 16)
        for (int x = 30; x < 210; x += 5)
            painter.fillRect(QRect(x, top, 2, 12), QColor(90, 90, 90));
    painter.end();
    const QImage ground = groundLevel(picture, 8);
    for (const QPoint gap : {QPoint(33, 26), QPoint(118, 58), QPoint(203, 74), QPoint(100, 34)})
        EXPECT_NEAR(at(ground, gap.x(), gap.y()), at(plain, gap.x(), gap.y()), 12) << gap.x() << "," << gap.y();

    // Light text the same way over a dark ramp keeps its ground too.
    QImage dark(240, 120, QImage::Format_Grayscale8);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 240; ++x)
            dark.scanLine(y)[x] = static_cast<uchar>(40 + 60 * x / 239);
    const QImage darkPlain = dark.copy();
    QPainter darkPainter(&dark);
    for (int top = 20; top < 90; top += 16)
        for (int x = 30; x < 210; x += 5)
            darkPainter.fillRect(QRect(x, top, 2, 12), QColor(230, 230, 230));
    darkPainter.end();
    const QImage darkGround = groundLevel(dark, 8);
    for (const QPoint gap : {QPoint(33, 26), QPoint(118, 58), QPoint(203, 74)})
        EXPECT_NEAR(at(darkGround, gap.x(), gap.y()), at(darkPlain, gap.x(), gap.y()), 12) << gap.x() << "," << gap.y();
}
