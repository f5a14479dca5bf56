// The two hyphens of a long option, drawn a pixel or two apart and read as one, are two.

#include "platform/recognition/DoubleHyphens.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

constexpr double glyph = 12.5;
constexpr int inkLevel = 193;

// A row of gray levels drawn from x = 10 on row 16, beside an "n" and an "o"; then "-no"
// read with its "-" glyph over the row, and the word as it comes back.
QString readOver(const std::vector<int>& levels, int height = 1) {
    QImage gray(60, 30, QImage::Format_Grayscale8);
    gray.fill(252);
    for (std::size_t i = 0; i < levels.size(); ++i)
        for (int y = 16; y < 16 + height; ++y)
            gray.scanLine(y)[10 + static_cast<int>(i)] = static_cast<uchar>(levels[i]);
    for (int y = 12; y < 23; ++y) {
        std::fill_n(gray.scanLine(y) + 24, 2, uchar{60});
        std::fill_n(gray.scanLine(y) + 34, 2, uchar{60});
    }
    WordBox word{"-no", QRectF(10, 8, 32, 16), 0.75f,
                 {{"-", QRectF(10, 15, static_cast<qreal>(levels.size()), 3)},
                  {"n", QRectF(22, 12, 8, 11)},
                  {"o", QRectF(32, 12, 8, 11)}}};
    std::vector<LineWords> lines{{word.box, {word}}};
    restoreDoubleHyphens(lines, gray, inkShapes(gray, inkLevel), glyph);
    return lines.front().words.front().text;
}

}  // namespace

TEST(DoubleHyphens, TwoHyphenStrokesOnOneGlyphAreTwoHyphens) {
    // Apart at the ink level, or run together by a pale pixel between them.
    EXPECT_EQ(readOver({80, 80, 80, 80, 80, 252, 80, 80, 80, 80}), QStringLiteral("--no"));
    EXPECT_EQ(readOver({126, 81, 85, 117, 156, 126, 81, 85, 117}), QStringLiteral("--no"));
    // One stroke is one hyphen, an even stroke as long as two too; so is one too thick to be one.
    EXPECT_EQ(readOver({80, 80, 80, 80, 80}), QStringLiteral("-no"));
    EXPECT_EQ(readOver({90, 80, 85, 80, 80, 82, 80, 80, 90}), QStringLiteral("-no"));
    EXPECT_EQ(readOver({80, 80, 80, 80, 252, 80, 80, 80, 80}, 4), QStringLiteral("-no"));
    // Strokes a space apart, or too short to be hyphens.
    EXPECT_EQ(readOver({80, 80, 80, 80, 252, 252, 252, 252, 252, 80, 80, 80, 80}), QStringLiteral("-no"));
    EXPECT_EQ(readOver({80, 80, 252, 80, 80}), QStringLiteral("-no"));
}

TEST(DoubleHyphens, AWordNoLongerSpelledByItsGlyphsIsLeftAlone) {
    QImage gray(40, 30, QImage::Format_Grayscale8);
    gray.fill(252);
    std::fill_n(gray.scanLine(16) + 10, 4, uchar{80});
    std::fill_n(gray.scanLine(16) + 16, 4, uchar{80});
    WordBox word{"-n", QRectF(10, 8, 20, 16), 0.75f, {{"~", QRectF(10, 15, 10, 2)}, {"n", QRectF(22, 12, 8, 11)}}};
    std::vector<LineWords> lines{{word.box, {word}}};
    restoreDoubleHyphens(lines, gray, inkShapes(gray, inkLevel), glyph);
    EXPECT_EQ(lines.front().words.front().text, QStringLiteral("-n"));
}
