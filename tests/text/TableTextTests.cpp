#include "text/TableText.h"

#include "LayoutTestPieces.h"

#include <gtest/gtest.h>

using namespace ZantrelText;
using LayoutTestPieces::utf8;

namespace {

using Cell = TableText::Cell;

TEST(TableTextCells, SpanningCellsStandAtTheirFirstPosition) {
    const TableText table = TableText::fromCells({{{0, 0}, {0, 1}, "Header"}, {{1, 1}, {1, 1}, "value"}});
    EXPECT_EQ(table.rows, (QList<QStringList>{{"Header", ""}, {"", "value"}}));
}

TEST(TableTextCells, SamePositionJoinsAndNegativePositionsDrop) {
    const TableText table = TableText::fromCells({{{0, 0}, {0, 0}, "first"}, {{-1, 3}, {0, 0}, "lost"},
                                                  {{0, 0}, {0, 0}, "second"}, {{0, 0}, {-2, 0}, "lost"},
                                                  {{0, 0}, {1, 1}, "x"}});
    EXPECT_EQ(table.rows, (QList<QStringList>{{"first second", "x"}}));

    EXPECT_EQ(TableText::fromCells({{{-1, 0}, {0, 0}, "lost"}}).rows, QList<QStringList>{});
    // A backwards range still has a place for its text.
    EXPECT_EQ(TableText::fromCells({{{2, 0}, {0, 0}, "late"}}).rows, (QList<QStringList>{{""}, {""}, {"late"}}));
}

TEST(TableTextGrid, CellsBecomeSingleTrimmedLinesAndEmptyColumnsGo) {
    const TableText table = TableText::fromGrid({{" a\tb ", "", "two\nlines"}, {"c", "", "\r\nwin\r\ndows\r"}});
    EXPECT_EQ(table.rows, (QList<QStringList>{{"a b", "two lines"}, {"c", "win dows"}}));
    EXPECT_EQ(TableText::fromGrid({{"", " \t"}, {}}).rows, QList<QStringList>{});
    // Rows left all empty, but with cells, stay.
    EXPECT_EQ(TableText::fromGrid({{"x"}, {""}}).rows, (QList<QStringList>{{"x"}, {""}}));
}

TEST(TableTextRendering, ShortRowsArePaddedAndNothingTrails) {
    const TableText table = TableText::fromGrid({{"a", "b"}, {"c"}});
    EXPECT_EQ(utf8(table.tabSeparated()), "a\tb\nc\t");
    EXPECT_FALSE(table.isBlank());
    EXPECT_EQ(table.characterCount(), 3);

    const TableText none = TableText::fromCells({});
    EXPECT_TRUE(none.isBlank());
    EXPECT_EQ(none.characterCount(), 0);
    EXPECT_EQ(none.tabSeparated(), QString());

    // Characters as a reader sees them: "e" with a combining accent is one.
    EXPECT_EQ(TableText::fromGrid({{QString::fromUtf16(u"e\u0301"), "12"}}).characterCount(), 3);
    EXPECT_TRUE((TableText{QList<QStringList>{QStringList{"", ""}}}).isBlank());
}

}  // namespace
