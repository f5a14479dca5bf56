// A figure read on ink no taller than the line's small letters is taken from the word's
// reading alone, where that has a small letter in its place.

#include "platform/recognition/ShortFigures.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

// Ink on a baseline at row 24: tall shapes 19 rows high, small ones 13.
InkShape tallInk(int left) { return {QRect(left, 6, 8, 19), 100}; }
InkShape smallInk(int left) { return {QRect(left, 12, 8, 13), 80}; }

GlyphBox glyphOn(const QString& text, const InkShape& ink) { return {text, QRectF(ink.box)}; }

}  // namespace

TEST(ShortFigures, AFigureOnSmallLetterInkIsTakenFromTheWordReadAlone) {
    // "fs27": the "2" stands on an "a"'s ink, the "7" on a figure's.
    const std::vector<InkShape> shapes{tallInk(10), smallInk(22), smallInk(34), tallInk(46), tallInk(58)};
    WordBox word{QStringLiteral("fs27"), QRectF(10, 4, 56, 24), 0.4f};
    for (std::size_t i = 0; i < 4; ++i)
        word.glyphs.push_back(glyphOn(word.text.mid(static_cast<qsizetype>(i), 1), shapes[i]));
    const LineWords line{QRectF(0, 2, 200, 28), {word}};
    const std::vector<qsizetype> at = shortFigures(word, line, shapes);
    EXPECT_EQ(at, std::vector<qsizetype>({2}));

    EXPECT_EQ(withShortFiguresRead(word.text, at, QStringLiteral("fsa7")), QStringLiteral("fsa7"));
    // Only the short figure is taken; the reading alone says nothing of the rest.
    EXPECT_EQ(withShortFiguresRead(word.text, at, QStringLiteral("Fsa1")), QStringLiteral("fsa7"));
    // Read alone as a figure again (old-style figures), as a tall letter, or at another length: kept.
    EXPECT_FALSE(withShortFiguresRead(word.text, at, QStringLiteral("fs27")));
    EXPECT_FALSE(withShortFiguresRead(word.text, at, QStringLiteral("fsd7")));
    EXPECT_FALSE(withShortFiguresRead(word.text, at, QStringLiteral("fsa")));

    // With no taller ink on the line, nothing tells a figure short.
    const std::vector<InkShape> level{smallInk(10), smallInk(22), smallInk(34), smallInk(46)};
    WordBox flat{QStringLiteral("s2s2"), QRectF(10, 4, 44, 24), 0.4f};
    for (std::size_t i = 0; i < 4; ++i)
        flat.glyphs.push_back(glyphOn(flat.text.mid(static_cast<qsizetype>(i), 1), level[i]));
    EXPECT_TRUE(shortFigures(flat, {QRectF(0, 2, 200, 28), {flat}}, level).empty());
}
