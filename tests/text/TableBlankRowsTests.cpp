// Which rows of a ruled table are read again as a line of their own.

#include "platform/recognition/TableBlankRows.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

TEST(TableBlankRows, OnlyAnInkedRowWithNoTextIsReadAgainInsideItsRules) {
    // Three rows of three 100 × 30 cells in a grid of rules: a pale "B" in the first
    // row's middle cell, nothing in the second, text in the third.
    const QSize size(300, 90);
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(QColor(250, 248, 244));
    {
        QPainter painter(&picture);
        painter.setPen(QColor(200, 200, 200));
        for (int x = 0; x <= 300; x += 100)
            painter.drawLine(x, 0, x, 90);
        for (int y = 0; y <= 90; y += 30)
            painter.drawLine(0, y, 300, y);
        painter.fillRect(QRect(0, 1, 300, 29), QColor(238, 234, 226));
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(14);
        painter.setFont(font);
        painter.setPen(QColor(140, 140, 140));
        painter.drawText(QPointF(140, 21), QStringLiteral("B"));
    }
    const auto cell = [&](int row, int column, const char* text) {
        // Normalized, origin at the bottom left.
        const QRectF box(column * 100.0 / size.width(), 1.0 - (row + 1) * 30.0 / size.height(), 100.0 / size.width(),
                         30.0 / size.height());
        return DocumentCell{{row, row}, {column, column}, {QString::fromUtf8(text), box}};
    };
    DocumentTable table;
    for (int row = 0; row < 3; ++row) {
        table.rows.emplace_back();
        for (int column = 0; column < 3; ++column)
            table.rows.back().push_back(cell(row, column, row == 2 ? "7.5" : ""));
    }
    const std::vector<QRect> strips = blankRowStrips(table, picture);
    ASSERT_EQ(strips.size(), 1u);
    EXPECT_EQ(strips.front(), QRect(QPoint(3, 3), QPoint(296, 26)));
}

}  // namespace
