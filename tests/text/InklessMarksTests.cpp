// Quote marks read at a word's ends: one with ink of its own stays, one read over the
// glyph beside it goes.

#include "platform/recognition/InklessMarks.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

void fill(QImage& gray, const QRect& box) {
    for (int y = box.top(); y <= box.bottom(); ++y)
        std::fill_n(gray.scanLine(y) + box.left(), box.width(), uchar{20});
}

// A word of glyphs at the given columns, on rows 30 to 42.
WordBox word(const QStringList& glyphs, const QList<int>& lefts, const QList<int>& widths) {
    WordBox made;
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        made.text += glyphs[i];
        made.glyphs.push_back({glyphs[i], QRectF(lefts[i], 30, widths[i], 12)});
    }
    made.box = QRectF(lefts.front(), 30, lefts.back() + widths.back() - lefts.front(), 12);
    made.confidence = 0.8f;
    return made;
}

}  // namespace

TEST(InklessMarks, AQuoteReadOverTheGlyphBesideItGoesAndOneWithItsOwnInkStays) {
    QImage gray(300, 60, QImage::Format_Grayscale8);
    gray.fill(255);
    // Glyph strokes at 20-29 and 32-41; a real opening mark at 8-9 and closing at 44-45.
    for (const QRect& ink : {QRect(20, 30, 2, 12), QRect(32, 30, 2, 12), QRect(8, 30, 2, 4), QRect(44, 30, 2, 4),
                             QRect(120, 30, 2, 12), QRect(132, 30, 2, 12)})
        fill(gray, ink);
    std::vector<LineWords> lines{
        {QRectF(0, 28, 300, 16),
         {word({"\u2018", "a", "b", "\u2019"}, {8, 20, 32, 44}, {2, 10, 10, 2}),
          // The marks boxed over the first and the last glyph's columns.
          word({"\u2018", "C", "d", "\""}, {120, 120, 132, 140}, {2, 10, 10, 2})}}};
    // A word whose text a rule has changed keeps its marks: its glyphs no longer say which
    // character each box holds.
    WordBox changed = word({"'", "e"}, {220, 220}, {2, 10});
    changed.text = QStringLiteral("'E");
    lines.front().words.push_back(changed);
    dropInklessQuotes(lines, gray, 128);
    const std::vector<WordBox>& words = lines.front().words;
    EXPECT_EQ(words[0].text, QStringLiteral("\u2018ab\u2019"));
    EXPECT_EQ(words[1].text, QStringLiteral("Cd"));
    EXPECT_EQ(words[1].box.left(), 120);
    EXPECT_EQ(words[1].box.right(), 142);
    EXPECT_EQ(words[2].text, QStringLiteral("'E"));
}
