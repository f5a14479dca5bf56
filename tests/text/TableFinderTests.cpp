#include "TableTestSupport.h"

#include "platform/recognition/TableFinder.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace Platform::Recognition;
using namespace TableTestSupport;

namespace {

std::vector<DocumentTable> tablesOf(const std::vector<TableWord>& words, const Rulings& rulings = {}) {
    return TableFinder::findTables(words, rulings, QSizeF(800, 600));
}

std::string onlyTable(const std::vector<TableWord>& words, const Rulings& rulings = {}) {
    const auto tables = tablesOf(words, rulings);
    if (tables.size() != 1)
        return "<" + std::to_string(tables.size()) + " tables>";
    return tableText(tables.front()).tabSeparated().toStdString();
}

Rule rule(double position, double start, double end) { return Rule{position, start, end, 1}; }

}  // namespace

// ---- Tables without rules -------------------------------------------------------------

TEST(TableFinderAligned, ColumnsOfShortCellsAreOneTable) {
    const QList<QStringList> rows{{"Item", "Qty", "Price"},
                                  {"Apples", "12", "3.40"},
                                  {"Pears", "40", "1.25"},
                                  {"Plums", "200", "9.99"}};
    EXPECT_EQ(onlyTable(gridWords(rows, {20, 130, 240})), tabSeparated(rows).toStdString());
}

TEST(TableFinderAligned, RightAlignedNumbersAndMultiWordCells) {
    std::vector<TableWord> words;
    const QStringList names{"Fresh apples", "Pears", "Dried plums", "Kiwi"};
    const QStringList amounts{"1,200.00", "40.50", "9.99", "150.00"};
    for (int r = 0; r < 4; ++r) {
        addText(words, names[r], 20, 20 + 24 * r);
        addText(words, amounts[r], 260, 20 + 24 * r, true);
        addText(words, QStringLiteral("kg"), 300, 20 + 24 * r);
    }
    EXPECT_EQ(onlyTable(words), std::string("Fresh apples\t1,200.00\tkg\nPears\t40.50\tkg\n"
                                               "Dried plums\t9.99\tkg\nKiwi\t150.00\tkg"));
}

TEST(TableFinderAligned, EmptyCellsStayInTheirColumns) {
    const QList<QStringList> rows{{"Name", "Mon", "Tue"}, {"Ann", "", "x"}, {"Bob", "x", ""}, {"Cy", "x", "x"}};
    EXPECT_EQ(onlyTable(gridWords(rows, {20, 130, 240})), tabSeparated(rows).toStdString());
}

TEST(TableFinderAligned, GroupHeaderOverTwoColumnsSpansThem) {
    std::vector<TableWord> words;
    addText(words, QStringLiteral("Sales"), 165, 20);  // centred between the Q1 and Q2 columns
    auto more = gridWords({{"Region", "Q1", "Q2"}, {"North", "120", "98"}, {"South", "75", "110"}}, {20, 130, 230}, 44);
    words.insert(words.end(), more.begin(), more.end());
    const auto tables = tablesOf(words);
    ASSERT_EQ(tables.size(), 1u);
    const DocumentCell& header = tables.front().rows.front().at(1);
    EXPECT_EQ(header.content.transcript.toStdString(), "Sales");
    EXPECT_EQ(header.columnRange, (IndexRange{1, 2}));
    EXPECT_EQ(tableText(tables.front()).tabSeparated().toStdString(),
              std::string("\tSales\t\nRegion\tQ1\tQ2\nNorth\t120\t98\nSouth\t75\t110"));
}

TEST(TableFinderAligned, WrappedCellLinesStayInTheirRow) {
    std::vector<TableWord> words;
    const QStringList names{"Name", "Ann", "Bob", "Cy"};
    const QStringList notes{"Note", "on leave until", "away", "here"};
    for (int r = 0; r < 4; ++r) {
        const double top = 20 + 30 * r + (r >= 2 ? 13 : 0);
        addText(words, names[r], 20, top);
        addText(words, notes[r], 130, top);
    }
    addText(words, QStringLiteral("the end of May"), 130, 63);  // under "on leave until", 2 px apart
    EXPECT_EQ(onlyTable(words), std::string("Name\tNote\nAnn\ton leave until the end of May\nBob\taway\nCy\there"));
}

TEST(TableFinderAligned, TitleAboveAndNoteBelowAreNotRows) {
    std::vector<TableWord> words;
    addText(words, QStringLiteral("Fruit prices this week"), 20, 0);
    auto table = gridWords({{"Apples", "12", "3.40"}, {"Pears", "40", "1.25"}, {"Plums", "200", "9.99"}}, {20, 130, 240}, 40);
    words.insert(words.end(), table.begin(), table.end());
    addText(words, QStringLiteral("Source: market"), 20, 130);
    EXPECT_EQ(onlyTable(words), std::string("Apples\t12\t3.40\nPears\t40\t1.25\nPlums\t200\t9.99"));
}

TEST(TableFinderAligned, WideVerticalGapSeparatesTwoTables) {
    auto words = gridWords({{"a1", "b1"}, {"a2", "b2"}}, {20, 130}, 20);
    auto second = gridWords({{"c1", "d1"}, {"c2", "d2"}}, {20, 130}, 200);
    words.insert(words.end(), second.begin(), second.end());
    EXPECT_EQ(tablesOf(words).size(), 2u);
}

TEST(TableFinderAligned, RunningTextInTwoColumnsIsNoTable) {
    std::vector<TableWord> words;
    for (int r = 0; r < 8; ++r) {
        addText(words, QStringLiteral("the quick brown fox jumps over dogs"), 20, 20 + 18 * r);
        addText(words, QStringLiteral("and then it ran off into the woods"), 320, 20 + 18 * r);
    }
    EXPECT_TRUE(tablesOf(words).empty());
}

TEST(TableFinderAligned, CodeWithAlignedCommentsIsNoTable) {
    std::vector<TableWord> words;
    const QStringList code{"int width = 4;", "int height = 8;", "area = width * height;", "return area;"};
    for (int r = 0; r < code.size(); ++r) {
        addText(words, code[r], 20, 20 + 18 * r);
        addText(words, QStringLiteral("// note %1").arg(r), 260, 20 + 18 * r);
    }
    EXPECT_TRUE(tablesOf(words).empty());
}

TEST(TableFinderAligned, ListWithIndentedItemsIsNoTable) {
    for (const QString& marker : {QStringLiteral("\u2022"), QStringLiteral("1."), QStringLiteral("-")}) {
        std::vector<TableWord> words;
        for (int r = 0; r < 4; ++r) {
            addText(words, marker, 20, 20 + 18 * r);
            addText(words, QStringLiteral("buy milk"), 50, 20 + 18 * r);
        }
        EXPECT_TRUE(tablesOf(words).empty()) << marker.toStdString();
    }
}

TEST(TableFinderAligned, OneMultiCellRowIsNoTable) {
    std::vector<TableWord> words;
    addText(words, QStringLiteral("Name"), 20, 20);
    addText(words, QStringLiteral("Value"), 200, 20);
    addText(words, QStringLiteral("just a line of text"), 20, 44);
    EXPECT_TRUE(tablesOf(words).empty());
    EXPECT_TRUE(tablesOf({}).empty());
}

// ---- Tables drawn with rules -----------------------------------------------------------

TEST(TableFinderRuled, GridCutsCellsAndMissingRuleMergesThem) {
    // Three columns (x 10..110..210..310), three rows (y 10..40..70..100); the rule
    // between the second and third column stops below the first row.
    Rulings rulings;
    for (double y : {10.0, 40.0, 70.0, 100.0})
        rulings.horizontal.push_back(rule(y, 10, 310));
    rulings.vertical = {rule(10, 10, 100), rule(110, 10, 100), rule(210, 40, 100), rule(310, 10, 100)};
    std::vector<TableWord> words;
    addText(words, QStringLiteral("Region"), 20, 20);
    addText(words, QStringLiteral("Sales 2024"), 130, 20);
    addText(words, QStringLiteral("North"), 20, 50);
    addText(words, QStringLiteral("Q1"), 120, 50);
    addText(words, QStringLiteral("Q2"), 220, 50);
    addText(words, QStringLiteral("South"), 20, 80);
    addText(words, QStringLiteral("|"), 108, 80);  // the rule read as a letter
    addText(words, QStringLiteral("5"), 290, 80, true);
    const auto tables = tablesOf(words, rulings);
    ASSERT_EQ(tables.size(), 1u);
    const DocumentTable& table = tables.front();
    ASSERT_EQ(table.rows.size(), 3u);
    ASSERT_EQ(table.rows[0].size(), 2u);
    EXPECT_EQ(table.rows[0][1].columnRange, (IndexRange{1, 2}));
    EXPECT_EQ(table.rows[0][1].content.transcript.toStdString(), "Sales 2024");
    EXPECT_EQ(tableText(table).tabSeparated().toStdString(), std::string("Region\tSales 2024\t\nNorth\tQ1\tQ2\nSouth\t\t5"));
}

TEST(TableFinderRuled, MarksReadFromRulesAreDroppedQuotesInCellsKept) {
    Rulings rulings;
    rulings.horizontal = {rule(10, 10, 210), rule(40, 10, 210), rule(70, 10, 210)};
    rulings.vertical = {rule(10, 10, 70), rule(110, 10, 70), rule(210, 10, 70)};
    std::vector<TableWord> words{{"\"Hi\"", QRectF(30, 20, 30, 11)},
                                 {"505,990\u201D", QRectF(150, 20, 61, 11)},  // runs into the right rule
                                 {"\u2018", QRectF(106, 50, 6, 11)},         // the middle rule itself
                                 {"a", QRectF(30, 50, 7, 11)},
                                 {"b", QRectF(130, 50, 7, 11)}};
    EXPECT_EQ(onlyTable(words, rulings), std::string("\"Hi\"\t505,990\na\tb"));
}

TEST(TableFinderRuled, RuleMissingBetweenRowsMergesDownwards) {
    Rulings rulings;
    rulings.horizontal = {rule(10, 10, 210), rule(40, 110, 210), rule(70, 10, 210)};
    rulings.vertical = {rule(10, 10, 70), rule(110, 10, 70), rule(210, 10, 70)};
    std::vector<TableWord> words;
    addText(words, QStringLiteral("Fruit"), 20, 34);
    addText(words, QStringLiteral("one"), 120, 20);
    addText(words, QStringLiteral("two"), 120, 50);
    const auto tables = tablesOf(words, rulings);
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables.front().rows[0][0].rowRange, (IndexRange{0, 1}));
    EXPECT_EQ(tableText(tables.front()).tabSeparated().toStdString(), std::string("Fruit\tone\n\ttwo"));
}

TEST(TableFinderRuled, InnerRulesOnlyStillMakeAGrid) {
    // No outer frame: one horizontal and one vertical rule crossing.
    Rulings rulings;
    rulings.horizontal = {rule(40, 10, 210)};
    rulings.vertical = {rule(110, 10, 70)};
    std::vector<TableWord> words;
    addText(words, QStringLiteral("a"), 20, 20);
    addText(words, QStringLiteral("b"), 120, 20);
    addText(words, QStringLiteral("c"), 20, 50);
    addText(words, QStringLiteral("d"), 120, 50);
    EXPECT_EQ(onlyTable(words, rulings), std::string("a\tb\nc\td"));
}

TEST(TableFinderRuled, FrameAroundOneBlockOfTextIsNoTable) {
    Rulings rulings;
    rulings.horizontal = {rule(10, 10, 310), rule(100, 10, 310)};
    rulings.vertical = {rule(10, 10, 100), rule(310, 10, 100)};
    std::vector<TableWord> words;
    addText(words, QStringLiteral("A framed note of several words"), 20, 20);
    addText(words, QStringLiteral("spanning two lines of running text"), 20, 40);
    EXPECT_TRUE(tablesOf(words, rulings).empty());
}

TEST(TableFinderRuled, CellBoxesAreNormalizedFromTheBottomLeft) {
    Rulings rulings;
    rulings.horizontal = {rule(40, 0, 400)};
    rulings.vertical = {rule(200, 0, 100)};
    std::vector<TableWord> words{{"a", QRectF(20, 10, 40, 20)}, {"b", QRectF(220, 10, 40, 20)},
                                 {"c", QRectF(20, 60, 40, 20)}, {"d", QRectF(220, 60, 40, 20)}};
    const auto tables = TableFinder::findTables(words, rulings, QSizeF(400, 100));
    ASSERT_EQ(tables.size(), 1u);
    const QRectF box = tables.front().rows[0][0].content.boundingBox;
    EXPECT_DOUBLE_EQ(box.x(), 0.05);
    EXPECT_DOUBLE_EQ(box.y(), 0.7);
    EXPECT_DOUBLE_EQ(box.width(), 0.1);
    EXPECT_DOUBLE_EQ(box.height(), 0.2);
}

// ---- Rules in pixels -------------------------------------------------------------------

TEST(TableFinderRulings, ThinLinesAreRulesTextAndFilledAreasAreNot) {
    QImage picture(400, 200, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.setPen(QPen(QColor(0xd4, 0xd4, 0xd4), 1));  // a spreadsheet's light grid
        painter.drawLine(10, 20, 300, 20);
        painter.drawLine(10, 20, 10, 150);
        painter.setPen(QPen(Qt::black, 2));
        painter.drawLine(50, 100, 300, 100);
        painter.fillRect(320, 20, 60, 60, Qt::black);  // a filled box, not a rule
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(14);
        painter.setFont(font);
        painter.drawText(40, 60, QStringLiteral("Illicit lilies fill it"));
    }
    const Rulings rulings = TableFinder::findRulings(picture);
    ASSERT_EQ(rulings.horizontal.size(), 2u);
    EXPECT_DOUBLE_EQ(rulings.horizontal[0].position, 20.5);
    EXPECT_NEAR(rulings.horizontal[0].length(), 291, 1);
    EXPECT_EQ(rulings.horizontal[1].thickness, 2);
    ASSERT_EQ(rulings.vertical.size(), 1u);
    EXPECT_NEAR(rulings.vertical[0].position, 10.5, 0.01);
}

// ---- A list view: rules round its header only ------------------------------------------

TEST(TableFinderInkRows, ItemsUnderAListViewsHeaderAreRowsOfItsColumns) {
    // A frame (x 10..410, y 10..200), a side pane up to x 90, a rule under the header and
    // column rules in the header only.
    Rulings rulings;
    rulings.horizontal = {rule(10, 10, 410), rule(34, 90, 410), rule(200, 10, 410)};
    rulings.vertical = {rule(10, 10, 200), rule(90, 10, 200), rule(210, 10, 34), rule(290, 10, 34),
                        rule(410, 10, 200)};
    const QList<QStringList> rows{{"Name", "Size", "Modified"},
                                  {"budget 2026.ods", "18.4 kB", "2026-11-02"},
                                  {"notes.txt", "", "Yesterday"},
                                  {"trip-photos", "7 items", "12:45"}};
    std::vector<TableWord> items = gridWords(rows, {96, 216, 296}, 16);
    addText(items, QStringLiteral("Places"), 16, 40);
    EXPECT_EQ(onlyTable(items, rulings),
              std::string("Places\tName\tSize\tModified\n\tbudget 2026.ods\t18.4 kB\t2026-11-02\n"
                          "\tnotes.txt\t\tYesterday\n\ttrip-photos\t7 items\t12:45"));
    // Lines running over the column edges are no items: the frame is a box round a block
    // of text under a header.
    std::vector<TableWord> words = gridWords(rows.mid(0, 1), {96, 216, 296}, 16);
    addText(words, QStringLiteral("Sizes are rounded up to the next kilobyte"), 96, 40);
    addText(words, QStringLiteral("and dates are in local time"), 96, 64);
    EXPECT_TRUE(tablesOf(words, rulings).empty());
}

// ---- Cells centred beside a cell wrapped onto two lines -----------------------------------

TEST(TableFinderCentredCells, CentredCellsGoWithTheWrappedCellsFirstLine) {
    // An inbox: sender, subject, date; the third message's subject wraps onto two lines
    // 11 px apart and its sender and date are centred between them, somewhat lower or
    // higher depending on the font, which puts them with either line or with neither.
    for (const double offset : {5.5, 4.5, 6.5}) {
        for (const double pitch : {11.0, 14.0}) {
            std::vector<TableWord> words;
            const QStringList senders{"Ann Lee", "Bob Cho", "Cy Park", "Dee Ray"};
            const QStringList subjects{"Lunch", "Build broke again", "Budget review for the quarter", "Hello"};
            for (int r = 0; r < 4; ++r) {
                const double top = 20 + 40 * r;
                const double centred = r == 2 ? top + offset * pitch / 11 : top;
                addText(words, senders[r], 20, centred);
                addText(words, subjects[r], 130, top);
                addText(words, QStringLiteral("Mon"), 420, centred, true);
            }
            addText(words, QStringLiteral("ahead"), 130, 100 + pitch);
            EXPECT_EQ(onlyTable(words), std::string("Ann Lee\tLunch\tMon\nBob Cho\tBuild broke again\tMon\n"
                                                    "Cy Park\tBudget review for the quarter\tMon\n\tahead\t\n"
                                                    "Dee Ray\tHello\tMon"))
                << "offset " << offset << " pitch " << pitch;
        }
    }
}
