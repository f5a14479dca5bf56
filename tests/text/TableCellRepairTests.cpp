// Which table cells are read again, with which characters, and what may replace them.

#include "platform/recognition/TableCellRepair.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

DocumentTable table(const std::vector<std::vector<QString>>& texts) {
    DocumentTable result;
    for (std::size_t r = 0; r < texts.size(); ++r) {
        std::vector<DocumentCell> row;
        for (std::size_t c = 0; c < texts[r].size(); ++c)
            row.push_back({{int(r), int(r)}, {int(c), int(c)}, {texts[r][c], {}}});
        result.rows.push_back(row);
    }
    return result;
}

TEST(TableCellRepair, NumbersAndCodesAreTold) {
    for (const char* number : {"1,204", "3.40", "12:30", "-5%", "(1,000)", "\u20ac 9.99", "2024/05/01"})
        EXPECT_TRUE(isNumericText(QString::fromUtf8(number))) << number;
    for (const char* other : {"", "--", "n/a", "1,2O4", "Q1", "ten"})
        EXPECT_FALSE(isNumericText(QString::fromUtf8(other))) << other;
    for (const char* code : {"Q1", "H2", "FY24"})
        EXPECT_TRUE(isCodeText(QString::fromUtf8(code))) << code;
    for (const char* other : {"Ql", "qi", "Q", "12", "Quarter 1"})
        EXPECT_FALSE(isCodeText(QString::fromUtf8(other))) << other;
}

TEST(TableCellRepair, SlippedNumbersInNumericColumnsAndSlippedCodesBesideCodesAreReadAgain) {
    const DocumentTable quarters = table({
        {"Region", "Ql", "Q2", "Qs", "Q4"},
        {"North", "1,204", "1,3l0", "998", "n/a"},
        {"South", "870", "912", "1,005", "1,120"},
        {"East", "2,O33", "1,876", "2,140", "2,297"},
    });
    const std::vector<CellReread> rereads = cellsToReread(quarters);
    const QString digits = numericCharacters();
    const std::vector<CellReread> expected{
        {CellReread::Kind::number, 1, 2, digits},
        {CellReread::Kind::number, 3, 1, digits},
        {CellReread::Kind::code, 0, 1, QStringLiteral("0123456789Q")},
        {CellReread::Kind::code, 0, 3, QStringLiteral("0123456789Q")},
    };
    EXPECT_EQ(rereads, expected);
    // Words in a column of words, and a lone code in a row, are left alone.
    EXPECT_TRUE(cellsToReread(table({{"Name", "Code"}, {"Anna", "Q2"}, {"Ben", "Bl"}})).empty());
    // Beside a single code, a cell that is that code with a slipped digit is read again;
    // a short word or another code's letters are not.
    const std::vector<CellReread> header = cellsToReread(table({{"Plan", "qi", "Q2", "Storage"}, {"Hi", "Q2", "QB", "Ql"}}));
    const std::vector<CellReread> slipped{{CellReread::Kind::code, 0, 1, QStringLiteral("0123456789Q")},
                                          {CellReread::Kind::code, 1, 2, QStringLiteral("0123456789Q")},
                                          {CellReread::Kind::code, 1, 3, QStringLiteral("0123456789Q")}};
    EXPECT_EQ(header, slipped);
    EXPECT_TRUE(cellsToReread(table({{"Name", "Hi", "Q2"}, {"Me", "Ok", "Q4"}})).empty());
    EXPECT_TRUE(acceptsReread(expected[0], QStringLiteral("1,310")));
    EXPECT_FALSE(acceptsReread(expected[0], QStringLiteral("1,3l0")));
    EXPECT_FALSE(acceptsReread(expected[2], QStringLiteral("Q")));
    EXPECT_TRUE(acceptsReread(expected[2], QStringLiteral("Q1")));
}

TEST(TableCellMisreads, ColumnLettersAndWordsInNumberColumnsAreReadAgain) {
    // A spreadsheet's header of column letters with "C" read "(e"; a figure read as a
    // word in a column of figures; a two-word cell and a letter row of one capital stay.
    const DocumentTable sheet = table({
        {"", "A", "B", "(e", "D", "Notes"},
        {"1", "Parser", "4.2", "77%", "ples)", "due soon"},
        {"2", "Signal", "29.6", "n a", "2.55", "ok"},
        {"3", "Driver", "6.9", "31%", "18.3", "-"},
    });
    const std::vector<CellReread> expected{
        {CellReread::Kind::alone, 1, 4, {}},
        {CellReread::Kind::letter, 0, 3, QStringLiteral("C")},
    };
    EXPECT_EQ(cellsToReread(sheet), expected);
    // Not between two letters, or in a later row (grades "A", "B+", "C"), a cell stays.
    EXPECT_TRUE(cellsToReread(table({{"", "A", "(e"}, {"x", "Anna", "Ben"}})).empty());
    EXPECT_TRUE(cellsToReread(table({{"Name", "Maths", "Art"}, {"Ann", "A", "B+", "C"}})).empty());
    EXPECT_TRUE(acceptsReread(expected[0], QStringLiteral("71.5")));
    EXPECT_FALSE(acceptsReread(expected[0], QStringLiteral("ples)")));
    EXPECT_TRUE(acceptsReread(expected[1], QStringLiteral("C")));
    EXPECT_FALSE(acceptsReread(expected[1], QStringLiteral("Ce")));
    EXPECT_FALSE(acceptsReread(expected[1], QStringLiteral("E")));

    // Periods over column groups with one code slipped; a second header row of words
    // over figure columns is no body row and stays.
    const DocumentTable periods = table({
        {"", "Q1 2025", "Ql1 2026", "H2 2025"},
        {"Name", "Size", "Cost", "Rate"},
        {"a", "1.5", "2.5", "3.5"},
        {"b", "2.5", "ples", "4.5"},
        {"c", "3.5", "6.5", "5.5"},
        {"d", "4.5", "7.5", "6.5"},
    });
    const std::vector<CellReread> slipped{
        {CellReread::Kind::alone, 3, 2, {}},
        {CellReread::Kind::period, 0, 2, QStringLiteral("0123456789QH ")},
    };
    EXPECT_EQ(cellsToReread(periods), slipped);
    EXPECT_TRUE(acceptsReread(slipped[1], QStringLiteral("Q1 2026")));
    EXPECT_FALSE(acceptsReread(slipped[1], QStringLiteral("Q12026")));
}

}  // namespace
