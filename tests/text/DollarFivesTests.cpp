// A "$" heading a figure whose ink keeps within the digits' rows is a "5"; a dollar sign,
// its bar reaching past them, keeps its reading.

#include "platform/recognition/DollarFives.h"

#include "tests/text/DrawnGlyphs.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

QString reread(const QStringList& rows, const QString& read) {
    const QImage picture = GlyphTests::drawGlyphs(rows);
    const QRectF box = QRectF(picture.rect()).adjusted(2, 2, -2, -2);
    std::vector<LineWords> lines{{box, {WordBox{read, box, 0.9f}}}};
    restoreDollarFives(lines, inkShapes(picture, 128));
    return lines.front().words.front().text;
}

// A "5", a "7", a point and a "1", ten cells tall; the "5" a cell deeper for its round foot.
const QStringList fiveSevenPointOne{
    QStringLiteral("........................."), QStringLiteral("######.######........##.."),
    QStringLiteral("##..........##.......###.."), QStringLiteral("##.........##.........##.."),
    QStringLiteral("#####......##.........##.."), QStringLiteral(".....##...##..........##.."),
    QStringLiteral("......#...##..........##.."), QStringLiteral("......#..##...........##.."),
    QStringLiteral(".....##..##...........##.."), QStringLiteral("#####...##.....##.....##.."),
    QStringLiteral(".###....##.....##.....##.."), QStringLiteral(".#####..................."),
    QStringLiteral("........................."),
};

// A dollar sign before the "7": its bar two cells past the digit above and below.
const QStringList dollarSeven{
    QStringLiteral("...#.........."),
    QStringLiteral("...#.........."),
    QStringLiteral("######..######"),
    QStringLiteral("##.#........##"),
    QStringLiteral("##.#.......##."),
    QStringLiteral("#####......##."),
    QStringLiteral("...#.##...##.."),
    QStringLiteral("...#..#...##.."),
    QStringLiteral("...#..#..##..."),
    QStringLiteral("...#.##..##..."),
    QStringLiteral("######..##...."),
    QStringLiteral(".####...##...."),
    QStringLiteral("...#.........."),
    QStringLiteral("...#.........."),
};

}  // namespace

TEST(DollarFives, ASignKeptWithinTheDigitsRowsIsAFive) {
    EXPECT_EQ(reread(fiveSevenPointOne, QStringLiteral("$7.1")).toStdString(), "57.1");
    // Ink that falls apart otherwise than the characters places nothing.
    EXPECT_EQ(reread(fiveSevenPointOne, QStringLiteral("$71")).toStdString(), "$71");
}

TEST(DollarFives, ADollarSignReachingPastTheDigitsOrNotHeadingAFigureStays) {
    EXPECT_EQ(reread(dollarSeven, QStringLiteral("$7")).toStdString(), "$7");
    EXPECT_EQ(reread(fiveSevenPointOne, QStringLiteral("$7.x")).toStdString(), "$7.x");
}
