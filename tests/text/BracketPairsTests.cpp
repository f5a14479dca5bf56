// A pair of brackets read as two kinds, one square, is made square where the other's
// ink is a straight stem.

#include "platform/recognition/BracketPairs.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

// `drawn` in a fixed-width font, read as `read`, each glyph boxed on the ink of its cell.
QString settled(const QString& drawn, const QString& read) {
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPixelSize(20);
    const double cell = QFontMetricsF(mono).horizontalAdvance(u'm');
    QImage picture(static_cast<int>(cell * drawn.size()) + 40, 50, QImage::Format_Grayscale8);
    picture.fill(255);
    {
        QPainter painter(&picture);
        painter.setFont(mono);
        painter.drawText(QPointF(20, 35), drawn);
    }
    const int threshold = inkThreshold(picture);
    const std::vector<InkShape> shapes = inkShapes(picture, threshold);
    WordBox word{read, QRectF(), 0.5f};
    for (qsizetype k = 0; k < read.size(); ++k) {
        QRect ink;
        for (const InkShape& shape : shapes)
            if (std::floor((shape.box.center().x() - 20) / cell) == k)
                ink = ink.united(shape.box);
        word.glyphs.push_back({read.mid(k, 1), QRectF(ink)});
    }
    std::vector<LineWords> lines{{QRectF(picture.rect()), {word}}};
    settleBracketPairs(lines, picture, threshold, shapes);
    return lines.front().words.front().text;
}

}  // namespace

TEST(BracketPairs, ABracketReadAsAnotherKindIsSquareWhereItsInkIsAStem) {
    if (!QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans Mono")))
        GTEST_SKIP() << "needs DejaVu Sans Mono";
    EXPECT_EQ(settled(QStringLiteral("s[i]"), QStringLiteral("s{i]")), QStringLiteral("s[i]"));
    EXPECT_EQ(settled(QStringLiteral("s[i]"), QStringLiteral("s[i)")), QStringLiteral("s[i]"));
    // Brackets that bend out are left as read: the pair cannot say which is wrong.
    EXPECT_EQ(settled(QStringLiteral("s{i]"), QStringLiteral("s{i]")), QStringLiteral("s{i]"));
    EXPECT_EQ(settled(QStringLiteral("f(x]"), QStringLiteral("f(x]")), QStringLiteral("f(x]"));
}
