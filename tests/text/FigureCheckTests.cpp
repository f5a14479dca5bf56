#include "text/FigureCheck.h"

#include "LayoutTestPieces.h"

#include <gtest/gtest.h>

using namespace ZantrelText;
using LayoutTestPieces::u16;
using LayoutTestPieces::utf8;

namespace {

TEST(FigureCheck, FiguresAreDigitsWithAFewSigns) {
    EXPECT_EQ(FigureCheck::figureCharacters().size(), 25);
    for (const char16_t* figure : {u"\u20AC 12,50", u"01/02/2024", u"12:45", u"\u2212340", u"15 %", u"(1.200)",
                                   u" \t42\t ", u"$ 1,000.00", u"\u00A39", u"\u00A5 3"})
        EXPECT_TRUE(FigureCheck::isFigure(u16(figure))) << utf8(u16(figure));
    for (const char16_t* other : {u"", u"  ", u"-.,/", u"12a", u"4\n2", u"\uFF11\uFF12", u"\u0661\u0662",
                                  u"1\u00A02", u"3\u0301"})
        EXPECT_FALSE(FigureCheck::isFigure(u16(other))) << utf8(u16(other));
}

TEST(FigureCheck, AccentedFiguresHoldLatinLettersWithDiacritics) {
    EXPECT_TRUE(FigureCheck::isAccentedFigure(u16(u"1\u00D85")));
    EXPECT_TRUE(FigureCheck::isAccentedFigure(u16(u"12,\u1EDB0")));
    // The same letter written as a base and a combining mark.
    EXPECT_TRUE(FigureCheck::isAccentedFigure(u16(u"1O\u03025")));
    EXPECT_FALSE(FigureCheck::isAccentedFigure(u"105"));
    EXPECT_FALSE(FigureCheck::isAccentedFigure(u16(u"caf\u00E9")));
    EXPECT_FALSE(FigureCheck::isAccentedFigure(u16(u"1\u00D8x5")));
    EXPECT_FALSE(FigureCheck::isAccentedFigure(u16(u"1\u00D75")));  // the multiplication sign is no letter
}

TEST(FigureCheck, InOrder) {
    EXPECT_TRUE(FigureCheck::isInOrder(u"", u""));
    EXPECT_TRUE(FigureCheck::isInOrder(u"15", u"105"));
    EXPECT_FALSE(FigureCheck::isInOrder(u"51", u"105"));
    EXPECT_FALSE(FigureCheck::isInOrder(u"11", u"105"));
}

TEST(FigureCheck, RepairNeedsAgreeingCandidatesThatFitTheText) {
    const QString text = u16(u"1\u00D85");
    EXPECT_EQ(utf8(FigureCheck::repairedFigure(text, {"105", " 105\t"})), "105");
    EXPECT_EQ(FigureCheck::repairedFigure(text, {"105", "106"}), text);
    EXPECT_EQ(FigureCheck::repairedFigure(text, {"105"}), text);
    EXPECT_EQ(FigureCheck::repairedFigure(text, {"205", "205"}), text);
    EXPECT_EQ(FigureCheck::repairedFigure(text, {"1x5", "1x5"}), text);
    EXPECT_EQ(FigureCheck::repairedFigure(text, {"104", "104"}), text);  // the 5 is missing
    EXPECT_EQ(FigureCheck::repairedFigure("105", {"106", "106"}), "105");
    // No digit before the first accented letter: nothing to anchor the repair on.
    EXPECT_EQ(FigureCheck::repairedFigure(u16(u"\u00D815"), {"015", "015"}), u16(u"\u00D815"));
}

}  // namespace
