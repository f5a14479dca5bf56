// Where a page is cut into side-by-side columns before it is read: between columns of
// lines with their own spacing, never between the cells of a table's rows.

#include "platform/recognition/PageColumns.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

constexpr double glyph = 10;

QImage blankPage(int width, int height) {
    QImage page(width, height, QImage::Format_Grayscale8);
    page.fill(255);
    return page;
}

// Rows of "text" 10 px high from `left` to `right`, one every `pitch` pixels.
void drawRows(QImage& page, int left, int right, int top, int pitch, int count) {
    for (int row = 0; row < count; ++row)
        for (int y = top + row * pitch; y < top + row * pitch + 10; ++y)
            std::fill(page.scanLine(y) + left, page.scanLine(y) + right, uchar(0));
}

}  // namespace

TEST(PageColumns, ColumnsWithTheirOwnLineSpacingAreCutInTheGapBetweenThem) {
    QImage page = blankPage(900, 400);
    drawRows(page, 20, 160, 20, 26, 13);   // a menu
    drawRows(page, 240, 700, 31, 19, 18);  // paragraphs
    drawRows(page, 760, 880, 20, 24, 4);   // contents
    const std::vector<int> cuts = columnCuts(page, glyph);
    ASSERT_EQ(cuts.size(), 2u);
    EXPECT_GT(cuts[0], 160);
    EXPECT_LT(cuts[0], 240);
    EXPECT_GT(cuts[1], 700);
    EXPECT_LT(cuts[1], 760);

    const std::vector<QRect> regions = columnRegions(page.size(), cuts);
    ASSERT_EQ(regions.size(), 3u);
    EXPECT_EQ(regions.front().left(), 0);
    EXPECT_EQ(regions.back().right(), page.width() - 1);
    for (const QRect& region : regions)
        EXPECT_EQ(region.height(), page.height());
}

TEST(PageColumns, TablesNarrowGapsAndSingleRowsAreNotCut) {
    // The cells of a table stand level with each other across every gap.
    QImage table = blankPage(600, 300);
    for (const auto& [left, right] : {std::pair{20, 60}, {120, 300}, {360, 420}, {480, 580}})
        drawRows(table, left, right, 20, 30, 8);
    EXPECT_TRUE(columnCuts(table, glyph).empty());

    // A gap narrower than three glyphs is a space in a row.
    QImage narrow = blankPage(600, 400);
    drawRows(narrow, 20, 200, 20, 26, 13);
    drawRows(narrow, 225, 580, 31, 19, 18);
    EXPECT_TRUE(columnCuts(narrow, glyph).empty());

    // Two words far apart on one line or two are not columns.
    QImage line = blankPage(600, 60);
    drawRows(line, 20, 100, 10, 24, 2);
    drawRows(line, 300, 500, 14, 20, 2);
    EXPECT_TRUE(columnCuts(line, glyph).empty());

    // Nothing to cut in an empty or blank page; the margins are no gaps.
    EXPECT_TRUE(columnCuts(QImage(), glyph).empty());
    EXPECT_TRUE(columnCuts(blankPage(300, 100), glyph).empty());
    EXPECT_EQ(columnRegions(QSize(300, 100), {}), std::vector<QRect>{QRect(0, 0, 300, 100)});
}

TEST(PageColumns, AStripOfOneColumnMapsBackToThePage) {
    PreparedPage page;
    page.image = blankPage(400, 200);
    page.scale = 2.0;
    page.glyphHeight = 10;
    const PreparedPage::Strip strip = page.strip(QRect(150, 40, 100, 60));
    EXPECT_EQ(strip.image.width(), 200 + 2 * strip.padding);
    EXPECT_EQ(strip.image.height(), 120 + 2 * strip.padding);
    const QRectF inStrip(strip.padding + 20, strip.padding + 10, 40, 20);
    EXPECT_EQ(strip.toOriginal(inStrip), QRectF(160, 45, 20, 10));
}
