// A glyph boxed over two cells comes apart into one glyph a cell, and the word is broken
// where an empty cell now parts its glyphs.

#include "platform/recognition/SwallowedGlyphs.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

// Cells 10 pixels wide, cell 0's middle at x 15.
QRectF inCell(long cell) { return QRectF(12 + 10.0 * static_cast<double>(cell), 10, 6, 12); }

WordBox wordOf(const QString& text, const std::vector<QRectF>& boxes) {
    WordBox word{text, boxes.front().united(boxes.back()), 0.4f, {}};
    for (qsizetype i = 0; i < text.size(); ++i)
        word.glyphs.push_back(GlyphBox{text.mid(i, 1), boxes[static_cast<std::size_t>(i)]});
    return word;
}

std::vector<QString> textsOf(const std::vector<WordBox>& words) {
    std::vector<QString> texts;
    for (const WordBox& word : words)
        texts.push_back(word.text);
    return texts;
}

}  // namespace

TEST(SwallowedGlyphs, AGlyphOverTwoCellsIsSplitAndTheWordBrokenAtEmptyCells) {
    // "$s" read for "$ ls": the "s" boxed over cells 2 and 3.
    const QRectF wide = inCell(2).united(inCell(3));
    const WordBox prompt = wordOf(QStringLiteral("$s"), {inCell(0), wide});
    const SwallowedGlyph swallowed{0, 0, 1, {inCell(2).toRect(), inCell(3).toRect()}, 15, 10};
    const std::optional<std::vector<WordBox>> split = withCellGlyphs(prompt, swallowed, QStringLiteral("ls"));
    ASSERT_TRUE(split);
    EXPECT_EQ(textsOf(*split), (std::vector<QString>{QStringLiteral("$"), QStringLiteral("ls")}));
    EXPECT_EQ(split->front().box.left(), prompt.box.left());
    EXPECT_EQ(split->back().box.right(), prompt.box.right());
    EXPECT_EQ(split->back().glyphs.size(), 2U);

    // Glyphs on neighbouring cells stay one word: "als" read "as".
    const WordBox close = wordOf(QStringLiteral("as"), {inCell(1), wide});
    const std::optional<std::vector<WordBox>> joined = withCellGlyphs(close, swallowed, QStringLiteral("ls"));
    ASSERT_TRUE(joined);
    EXPECT_EQ(textsOf(*joined), std::vector<QString>{QStringLiteral("als")});
}

TEST(SwallowedGlyphs, AWordWhoseGlyphsNoLongerSpellItIsLeftAlone) {
    WordBox word = wordOf(QStringLiteral("$s"), {inCell(0), inCell(2).united(inCell(3))});
    word.text = QStringLiteral("$5");
    const SwallowedGlyph swallowed{0, 0, 1, {inCell(2).toRect(), inCell(3).toRect()}, 15, 10};
    EXPECT_FALSE(withCellGlyphs(word, swallowed, QStringLiteral("ls")));
    // As many letters as cells, or nothing.
    word.text = QStringLiteral("$s");
    EXPECT_FALSE(withCellGlyphs(word, swallowed, QStringLiteral("s")));
}
