// A word and the bracket after it, read as one word, are parted where the ink shows a
// space between them; a call's bracket close to its name stays with it.

#include "platform/recognition/BracketSpaces.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

// The words a word of one-shape characters comes out as: each `width` pixels wide and
// `gap` apart, with `before` pixels more in front of the character at `wide`.
std::vector<QString> partsOf(const QString& text, int width, int gap, qsizetype wide = -1, int before = 0) {
    WordBox word{text, QRectF(), 0.9f};
    std::vector<InkShape> shapes;
    for (qsizetype i = 0, x = 10; i < text.size(); x += width + gap, ++i) {
        x += i == wide ? before : 0;
        const QRect ink(static_cast<int>(x), 20, width, 12);
        shapes.push_back({ink, 60});
        word.glyphs.push_back({QString(text[i]), QRectF(ink)});
        word.box = word.box.isNull() ? QRectF(ink) : word.box.united(QRectF(ink));
    }
    std::vector<LineWords> lines{{word.box, {word}}};
    restoreSpacesBeforeBrackets(lines, shapes, 12);
    std::vector<QString> parts;
    for (const WordBox& part : lines.front().words)
        parts.push_back(part.text);
    return parts;
}

}  // namespace

TEST(BracketSpaces, AHeadersUnitInBracketsIsPartedOnlyWhereASpaceStands) {
    // "Load (kg)": a space's width of ground before the bracket.
    EXPECT_EQ(partsOf(QStringLiteral("Load(kg)"), 8, 2, 4, 7), (std::vector<QString>{"Load", "(kg)"}));
    // A call: the bracket as close as the letters.
    EXPECT_EQ(partsOf(QStringLiteral("load(kg)"), 8, 2), std::vector<QString>{"load(kg)"});
    // A fixed-width font spreads its letters and centres the bracket in its cell: the
    // gap is wide for the text's height, but not against the word's own gaps.
    EXPECT_EQ(partsOf(QStringLiteral("LOAD(1)"), 7, 4, 4, 3), std::vector<QString>{"LOAD(1)"});
    // A bracket that opens the word is no place for a space.
    EXPECT_EQ(partsOf(QStringLiteral("(kg)"), 8, 2, 1, 7), std::vector<QString>{"(kg)"});
}
