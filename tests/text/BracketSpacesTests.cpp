// A word and the bracket after it, read as one word, are parted where the ink shows a
// space between them; a call's bracket close to its name stays with it.

#include "platform/recognition/BracketSpaces.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

// A word of one-shape characters, each `width` pixels wide and `gap` apart, with `before`
// pixels more in front of the character at `wide`.
struct Drawn {
    WordBox word;
    std::vector<InkShape> shapes;
};

Drawn drawWord(const QString& text, int width, int gap, qsizetype wide = -1, int before = 0) {
    Drawn drawn{WordBox{text, QRectF(), 0.9f}, {}};
    int x = 10;
    for (qsizetype i = 0; i < text.size(); ++i) {
        x += i == wide ? before : 0;
        const QRect ink(x, 20, width, 12);
        drawn.shapes.push_back({ink, 60});
        drawn.word.glyphs.push_back({QString(text[i]), QRectF(ink)});
        drawn.word.box = drawn.word.box.isNull() ? QRectF(ink) : drawn.word.box.united(QRectF(ink));
        x += width + gap;
    }
    return drawn;
}

std::vector<QString> wordsAfter(const Drawn& drawn, double glyph) {
    std::vector<LineWords> lines{{drawn.word.box, {drawn.word}}};
    restoreSpacesBeforeBrackets(lines, drawn.shapes, glyph);
    std::vector<QString> words;
    for (const WordBox& word : lines.front().words)
        words.push_back(word.text);
    return words;
}

}  // namespace

TEST(BracketSpaces, AHeadersUnitInBracketsIsPartedOnlyWhereASpaceStands) {
    // "Load (kg)": a space's width of ground before the bracket.
    const Drawn unit = drawWord(QStringLiteral("Load(kg)"), 8, 2, 4, 7);
    const std::vector<QString> parted = wordsAfter(unit, 12);
    ASSERT_EQ(parted.size(), 2u);
    EXPECT_EQ(parted[0], QStringLiteral("Load"));
    EXPECT_EQ(parted[1], QStringLiteral("(kg)"));
    // Each part keeps its own characters and its own ink's box.
    std::vector<LineWords> lines{{unit.word.box, {unit.word}}};
    restoreSpacesBeforeBrackets(lines, unit.shapes, 12);
    EXPECT_EQ(lines.front().words[1].glyphs.size(), 4u);
    EXPECT_LT(lines.front().words[0].box.right(), lines.front().words[1].box.left());

    // A call: the bracket as close as the letters.
    EXPECT_EQ(wordsAfter(drawWord(QStringLiteral("load(kg)"), 8, 2), 12), std::vector<QString>{"load(kg)"});
    // A fixed-width font spreads its letters and centres the bracket in its cell: the
    // gap is wide for the text's height, but not against the word's own gaps.
    EXPECT_EQ(wordsAfter(drawWord(QStringLiteral("LOAD(1)"), 7, 4, 4, 3), 12), std::vector<QString>{"LOAD(1)"});
    // A bracket that opens the word, or follows a mark, is no place for a space.
    EXPECT_EQ(wordsAfter(drawWord(QStringLiteral("(kg)"), 8, 2, 1, 7), 12), std::vector<QString>{"(kg)"});
    EXPECT_EQ(wordsAfter(drawWord(QStringLiteral("a.(b)"), 8, 2, 2, 7), 12), std::vector<QString>{"a.(b)"});
}
