// A figure read with a character its ink lacks, or without one it holds, is in doubt; a
// second reading stands only when it matches the ink piece by piece.

#include "platform/recognition/FigureShapes.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

// Ink laid out left to right: "d" a digit 10 px wide and 16 tall, "." a point on their
// baseline, "W" two digits that touch.
std::vector<InkShape> figureInk(const QString& layout) {
    std::vector<InkShape> shapes;
    int x = 0;
    for (const QChar c : layout) {
        if (c == u'.') {
            shapes.push_back({QRect(x, 13, 3, 3), 9});
            x += 7;
        } else if (c == u'W') {
            // Two digits that touch.
            shapes.push_back({QRect(x, 0, 24, 16), 200});
            x += 28;
        } else {
            shapes.push_back({QRect(x, 0, 10, 16), 100});
            x += 14;
        }
    }
    return shapes;
}

WordBox wordOver(const QString& text, const std::vector<InkShape>& shapes) {
    QRect box;
    for (const InkShape& shape : shapes)
        box = box.united(shape.box);
    return {text, QRectF(box), 0.9f};
}

}  // namespace

TEST(FigureShapes, AFigureWithACharacterItsInkLacksIsReadAgainAndTheFittingReadingStands) {
    // "5.3" read "5.5)": three pieces, four characters.
    const std::vector<InkShape> ink = figureInk(QStringLiteral("d.d"));
    const WordBox word = wordOver(QStringLiteral("5.5)"), ink);
    EXPECT_TRUE(misfitsInk(word, ink));
    EXPECT_TRUE(fitsInk(QStringLiteral("5.3"), word, ink));
    // A reading that drops the point, or keeps the bracket, does not match the pieces.
    EXPECT_FALSE(fitsInk(QStringLiteral("53"), word, ink));
    EXPECT_FALSE(fitsInk(QStringLiteral("5.3)"), word, ink));
    // A reading that matches its ink is not in doubt.
    EXPECT_FALSE(misfitsInk(wordOver(QStringLiteral("5.3"), ink), ink));
}

TEST(FigureShapes, DigitsThatTouchAreNoDoubtAndNoSingleDigit) {
    // "744" with its fours touching: two pieces, three digits.
    const std::vector<InkShape> ink = figureInk(QStringLiteral("dW"));
    const WordBox word = wordOver(QStringLiteral("744"), ink);
    EXPECT_FALSE(misfitsInk(word, ink));
    // Nor does a reading of one digit for the two stand.
    EXPECT_FALSE(fitsInk(QStringLiteral("74"), word, ink));
}
