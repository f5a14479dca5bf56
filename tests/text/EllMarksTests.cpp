#include "platform/recognition/EllMarks.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Platform::Recognition;

namespace {

constexpr int baseline = 24;  // one past the last row of ink
constexpr int xHeight = 10;
constexpr int tall = 14;

// A block `width` wide over rows [baseline - height, baseline), each row shifted right
// by `lean` per row above the baseline; rows 2 and 3 up from the baseline drawn `neck`.
void block(QImage& gray, int left, int height, int width, double lean, int neck = 0) {
    for (int r = 0; r < height; ++r) {
        const int y = baseline - 1 - r;
        const int shift = static_cast<int>(std::lround(lean * r));
        for (int x = left + shift; x < left + shift + width; ++x)
            gray.scanLine(y)[x] = static_cast<uchar>(r == 2 || r == 3 ? neck : 0);
    }
}

struct Glyph {
    QChar text;
    int height, width;
    double lean;
    int neck = 0;
};

// One word of glyphs 12 px apart, each read where it is drawn.
std::string read(std::initializer_list<Glyph> glyphs) {
    QImage gray(20 + 12 * static_cast<int>(glyphs.size()) + 20, 40, QImage::Format_Grayscale8);
    gray.fill(255);
    WordBox word{QString(), QRectF(), 0.9f};
    int left = 10;
    for (const Glyph& g : glyphs) {
        block(gray, left, g.height, g.width, g.lean, g.neck);
        const QRectF box(left, baseline - g.height, g.width + std::lround(g.lean * g.height), g.height);
        word.text += g.text;
        word.glyphs.push_back({QString(g.text), box});
        word.box = word.box.isNull() ? box : word.box.united(box);
        left += 12;
    }
    std::vector<LineWords> lines{{word.box.adjusted(0, -2, 0, 2), {word}}};
    restoreEllMarks(lines, gray, 128, inkShapes(gray, 128));
    return lines.front().words.front().text.toStdString();
}

}  // namespace

TEST(EllMarks, AStrokesLeanIsMeasuredOnItsOwnInk) {
    QImage gray(40, 40, QImage::Format_Grayscale8);
    gray.fill(255);
    block(gray, 4, tall, 2, 0.0);
    block(gray, 14, tall, 2, 0.25);
    EXPECT_NEAR(inkLean(gray, 128, QRect(4, baseline - tall, 2, tall)).value_or(9), 0.0, 0.05);
    // A neighbour's ink reaching into the box is not the stroke's.
    gray.scanLine(baseline - 1)[18] = 0;
    gray.scanLine(baseline - tall)[14] = 0;
    const QRect slanted(14, baseline - tall, 5, tall);
    EXPECT_NEAR(inkLean(gray, 128, slanted).value_or(9), 0.25, 0.05);
    EXPECT_FALSE(inkLean(gray, 128, QRect(14, baseline - 4, 5, 4)));
}

TEST(EllMarks, AnExclamationMarkOfOneEvenStrokeIsAnEll) {
    EXPECT_EQ(read({{u'n', xHeight, 6, 0}, {u'e', xHeight, 6, 0}, {u'!', tall, 2, 0}}), "nel");
    // A real one: its dot apart below the stroke, or joined by a faint neck.
    EXPECT_EQ(read({{u'n', xHeight, 6, 0}, {u'e', xHeight, 6, 0}, {u'!', tall, 2, 0, 255}}), "ne!");
    EXPECT_EQ(read({{u'n', xHeight, 6, 0}, {u'e', xHeight, 6, 0}, {u'!', tall, 2, 0, 120}}), "ne!");
    // A stroke that stops short of the baseline, or of the tall letters' height.
    EXPECT_EQ(read({{u'n', xHeight, 6, 0}, {u'e', xHeight, 6, 0}, {u'!', xHeight, 2, 0}}), "ne!");
    // Not after a small letter: a capital's or a figure's mark.
    EXPECT_EQ(read({{u'N', tall, 6, 0}, {u'!', tall, 2, 0}}), "N!");
}

TEST(EllMarks, ASlashLeaningWithTheItalicLettersOfItsWordIsAnEll) {
    EXPECT_EQ(read({{u'n', xHeight, 6, 0.25}, {u'/', tall, 2, 0.25}, {u'n', xHeight, 6, 0.25}}), "nln");
    // A slash leans further than the letters it stands between, italic or upright.
    EXPECT_EQ(read({{u'n', xHeight, 6, 0.25}, {u'/', tall, 2, 0.6}, {u'n', xHeight, 6, 0.25}}), "n/n");
    EXPECT_EQ(read({{u'n', xHeight, 6, 0}, {u'/', tall, 2, 0.25}, {u'n', xHeight, 6, 0}}), "n/n");
    // Between figures it is a date's or a fraction's.
    EXPECT_EQ(read({{u'1', tall, 3, 0.25}, {u'/', tall, 2, 0.25}, {u'2', tall, 6, 0.25}}), "1/2");
}
