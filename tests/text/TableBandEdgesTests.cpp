// How far a table row's strip reaches at its sides.

#include "platform/recognition/TableBandEdges.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

TEST(TableBandEdges, AStripWidensPastAChevronItsSideCutsAndNoFurtherThanItsReach) {
    // A drop-down box on a light page: its border, then a chevron from x 120 to 132 that
    // the strip's right side (x 125) runs through; the box's own ground stays plain.
    QImage picture(240, 40, QImage::Format_RGB32);
    picture.fill(QColor(250, 250, 250));
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QColor(200, 200, 200));
        painter.setBrush(QColor(238, 238, 238));
        painter.drawRoundedRect(QRectF(40.5, 5.5, 110, 30), 4, 4);
        painter.setPen(QPen(QColor(80, 80, 80), 2));
        painter.drawPolyline(QPolygonF({QPointF(120, 16), QPointF(126, 23), QPointF(132, 16)}));
    }
    const QRect strip(QPoint(60, 10), QPoint(125, 30));
    const QRect widened = clearOfGlyphs(picture, strip, 20);
    EXPECT_EQ(widened.left(), 60);
    EXPECT_GE(widened.right(), 133);
    EXPECT_LT(widened.right(), 150);
    EXPECT_EQ(widened.top(), 10);
    EXPECT_EQ(widened.bottom(), 30);
    // Ink all the way: the reach bounds the strip.
    QImage ink(240, 40, QImage::Format_RGB32);
    ink.fill(Qt::white);
    for (int y = 0; y < 40; ++y)
        ink.setPixel((y * 7) % 240, y, qRgb(0, 0, 0));
    for (int x = 0; x < 240; ++x)
        for (int y = 10; y <= 30; y += 20)
            ink.setPixel(x, y + (x % 2), qRgb(0, 0, 0));
    EXPECT_EQ(clearOfGlyphs(ink, strip, 20), QRect(QPoint(40, 10), QPoint(145, 30)));
}

}  // namespace
