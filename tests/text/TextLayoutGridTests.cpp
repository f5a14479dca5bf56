// Tables whose cells hold many words against columns of running text, and nested lists.

#include "text/TextLayout.h"

#include "LayoutTestPieces.h"

#include <gtest/gtest.h>

using namespace ZantrelText;
using namespace LayoutTestPieces;

namespace {

// Rows of `columns` cells of five words each, `pitch` px apart, 10 px tall.
QList<TextPiece> grid(int rows, int columns, double pitch, double shiftOfRight = 0) {
    QList<TextPiece> pieces;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            pieces.append(piece(sentence(10 * r + c), c * 250, r * pitch + (c > 0 ? shiftOfRight : 0), 200));
    return pieces;
}

TEST(TextLayoutGrid, RowsSpacedApartAndLinedUpStayTableRowsHoweverLongTheCells) {
    for (const int columns : {2, 3, 4}) {
        const TextLayout layout(grid(5, columns, 22));
        qsizetype tabbed = 0;
        for (const auto& block : layout.blocks)
            for (const auto& row : block.rows)
                tabbed += row.tabbed ? 1 : 0;
        EXPECT_EQ(tabbed, 5) << columns << " columns";
        // Each row reads across, not each column down.
        EXPECT_TRUE(layout.text(LineMode::keep).startsWith(sentence(0) + u'\t' + sentence(1))) << columns;
    }
}

TEST(TextLayoutGrid, ColumnsOfProseStillSplitAndMisalignedBlocksToo) {
    // Lines of running text follow closely: two columns, read one after the other.
    const TextLayout prose(grid(5, 2, 13));
    ASSERT_EQ(prose.blocks.size(), 2);
    EXPECT_FALSE(prose.blocks[0].rows[0].tabbed);
    // Spaced apart, but the right side's rows sit between the left side's: no grid, the
    // left side is read first.
    const TextLayout staggered(grid(5, 2, 22, 11));
    ASSERT_GE(staggered.blocks.size(), 2);
    EXPECT_EQ(staggered.blocks[0].rows[0].text(), sentence(0));
    EXPECT_EQ(staggered.blocks[1].rows[0].text(), sentence(10));
}

TEST(TextLayoutLists, NestedItemsKeepTheirLevelInKeepModeOnly) {
    // 10 px per character: an item two levels deep starts 4 characters further right.
    const TextLayout layout({piece(u16(u"\u2022 Fruit"), 0, 0, 70), piece(u16(u"\u25e6 Apples"), 40, 12, 80),
                             piece(u16(u"\u25e6 Pears"), 40, 24, 70), piece(u16(u"\u2022 Bread"), 0, 36, 70)});
    EXPECT_EQ(layout.text(LineMode::keep),
              u16(u"\u2022 Fruit\n    \u25e6 Apples\n    \u25e6 Pears\n\u2022 Bread"));
    EXPECT_EQ(layout.text(LineMode::join), u16(u"\u2022 Fruit\n\u25e6 Apples\n\u25e6 Pears\n\u2022 Bread"));
    // A paragraph with an indented first line is no list and stays as it was.
    const TextLayout paragraph({piece(sentence(1), 40, 0, 200), piece(sentence(2), 0, 12, 240)});
    EXPECT_EQ(paragraph.text(LineMode::keep), sentence(1) + u'\n' + sentence(2));
}

}  // namespace
