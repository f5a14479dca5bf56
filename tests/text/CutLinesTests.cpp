// Lines that a grab's edge cuts through: dropped when what is left reads as junk, kept
// when read sure or when they are the only text there is.

#include "platform/recognition/CutLines.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

// A white picture 60 px high with dark strokes crossing its bottom row from x = 10 on.
QImage cutAtTheBottom(int strokes) {
    QImage picture(200, 60, QImage::Format_Grayscale8);
    picture.fill(255);
    QPainter painter(&picture);
    for (int i = 0; i < strokes; ++i)
        painter.fillRect(QRect(10 + 12 * i, 52, 2, 8), Qt::black);
    return picture;
}

LineWords line(double top, double height, float confidence) {
    return {QRectF(5, top, 180, height), {{QStringLiteral("word"), QRectF(5, top, 180, height), confidence}}};
}

}  // namespace

TEST(CutLines, ALowUnsureLineAcrossTheEdgeGoesAndEveryOtherStays) {
    const QImage picture = cutAtTheBottom(6);
    const auto kept = [&](std::vector<LineWords> lines) {
        dropCutLines(lines, picture, 128);
        return lines.size();
    };
    // Whole lines 14 high above it; the cut one 8 high, read unsure.
    EXPECT_EQ(kept({line(10, 14, 0.95f), line(30, 14, 0.95f), line(52, 8, 0.4f)}), 2u);
    // Read sure, or as tall as a whole line (cut only through its descenders): read whole.
    EXPECT_EQ(kept({line(10, 14, 0.95f), line(30, 14, 0.95f), line(52, 8, 0.93f)}), 3u);
    EXPECT_EQ(kept({line(10, 14, 0.95f), line(30, 14, 0.95f), line(46, 14, 0.4f)}), 3u);
    // A tight grab of a line or two (a table row read again): too few whole lines to
    // tell a cut one by.
    EXPECT_EQ(kept({line(52, 8, 0.4f)}), 1u);
    EXPECT_EQ(kept({line(30, 14, 0.95f), line(52, 8, 0.4f)}), 2u);
    // A descender or two on the edge row is no cut.
    const QImage descender = cutAtTheBottom(2);
    std::vector<LineWords> lines{line(10, 14, 0.95f), line(30, 14, 0.95f), line(52, 8, 0.4f)};
    dropCutLines(lines, descender, 128);
    EXPECT_EQ(lines.size(), 3u);
}

TEST(CutLinesOfTallWords, ACutLineWithOneWordBoxedOverInkAboveIsStillCut) {
    const QImage picture = cutAtTheBottom(6);
    // The cut line's words stand 8 high; one of them is boxed up over the line above,
    // and the line's box with it.
    LineWords cut{QRectF(5, 40, 180, 20),
                  {{QStringLiteral("maw"), QRectF(5, 52, 40, 8), 0.4f},
                   {QStringLiteral("wtne"), QRectF(50, 40, 40, 20), 0.1f},
                   {QStringLiteral("10"), QRectF(100, 53, 20, 7), 0.4f}}};
    std::vector<LineWords> lines{line(10, 14, 0.95f), line(25, 14, 0.95f), cut};
    dropCutLines(lines, picture, 128);
    EXPECT_EQ(lines.size(), 2u);
}
