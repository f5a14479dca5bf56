// A "line" the recognizer stood across rows of a narrow column is dropped; lines of
// glyphs side by side stay, however few their glyphs.

#include "platform/recognition/StackedLines.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

InkShape glyphAt(int x, int y) { return {QRect(x, y, 7, 10), 30}; }

LineWords lineOver(const QRectF& box, const QString& text) { return {box, {WordBox{text, box, 0.5f}}}; }

TEST(StackedLines, TwoFiguresOneAboveTheOtherAreNoLineButTwoSideBySideAre) {
    std::vector<LineWords> lines{lineOver(QRectF(98, 10, 11, 36), QStringLiteral("No")),
                                 lineOver(QRectF(120, 10, 30, 14), QStringLiteral("ab")),
                                 lineOver(QRectF(160, 10, 11, 36), QStringLiteral("l")),
                                 lineOver(QRectF(200, 10, 60, 36), QStringLiteral("Go"))};
    // "6" over "7" in a column; "a" and "b" beside each other; one tall glyph alone; two
    // glyphs far apart in a wide box, which need not be a column.
    const std::vector<InkShape> shapes{glyphAt(100, 12), glyphAt(100, 32), glyphAt(122, 12), glyphAt(132, 12),
                                       {QRect(162, 12, 7, 30), 60}, glyphAt(205, 12), glyphAt(245, 32)};
    dropStackedLines(lines, shapes, 200);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].words.front().text, QStringLiteral("ab"));
    EXPECT_EQ(lines[1].words.front().text, QStringLiteral("l"));
    EXPECT_EQ(lines[2].words.front().text, QStringLiteral("Go"));
}

}  // namespace
