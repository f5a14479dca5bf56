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

TEST(TextLayoutLists, NestedItemsKeepTheirLevelInBothModes) {
    // 10 px per character: an item two levels deep starts 4 characters further right.
    const TextLayout layout({piece(u16(u"\u2022 Fruit"), 0, 0, 70), piece(u16(u"\u25e6 Apples"), 40, 12, 80),
                             piece(u16(u"\u25e6 Pears"), 40, 24, 70), piece(u16(u"\u2022 Bread"), 0, 36, 70)});
    EXPECT_EQ(layout.text(LineMode::keep),
              u16(u"\u2022 Fruit\n    \u25e6 Apples\n    \u25e6 Pears\n\u2022 Bread"));
    EXPECT_EQ(layout.text(LineMode::join), layout.text(LineMode::keep));
    // A paragraph with an indented first line is no list and stays as it was.
    const TextLayout paragraph({piece(sentence(1), 40, 0, 200), piece(sentence(2), 0, 12, 240)});
    EXPECT_EQ(paragraph.text(LineMode::keep), sentence(1) + u'\n' + sentence(2));
}

}  // namespace

namespace {

// A page: a side navigation of `navItems` short items 18 px apart, a main column of
// paragraphs of two lines 13 px apart (the second short) starting at `textLeft`, and a
// contents list.
QList<TextPiece> docsPage(int navItems, double textLeft = 200) {
    QList<TextPiece> pieces;
    for (int i = 0; i < navItems; ++i)
        pieces.append(piece(QStringLiteral("Menu item %1").arg(i), 0, i * 18, 90));
    for (int p = 0; p < 4; ++p) {
        const double top = p * 40;
        pieces.append(piece(sentence(20 + p) + QStringLiteral(" and more of it here"), textLeft, top, 400));
        pieces.append(piece(sentence(30 + p), textLeft, top + 13, 220));
    }
    for (int i = 0; i < 4; ++i)
        pieces.append(piece(QStringLiteral("Section %1").arg(i), 700, i * 15, 80));
    return pieces;
}

TEST(TextLayoutGrid, ASideNavigationAndAContentsListAreBlocksBesideTheText) {
    // Large text leaves a gap of little more than two lines' height beside the menu.
    const TextLayout near(docsPage(9, 115));
    for (const auto& block : near.blocks)
        for (const auto& row : block.rows)
            EXPECT_FALSE(row.tabbed) << row.text().toStdString();
    const TextLayout layout(docsPage(9));
    ASSERT_GE(layout.blocks.size(), 3);
    for (const auto& block : layout.blocks)
        for (const auto& row : block.rows)
            EXPECT_FALSE(row.tabbed) << row.text().toStdString();
    // Left first: the navigation, then the text, the contents last.
    EXPECT_EQ(layout.blocks.front().rows.front().text(), QStringLiteral("Menu item 0"));
    EXPECT_EQ(layout.blocks.back().rows.back().text(), QStringLiteral("Section 3"));
    const QString text = layout.text(LineMode::keep);
    EXPECT_LT(text.indexOf(QStringLiteral("Menu item 8")), text.indexOf(sentence(20)));
    EXPECT_LT(text.indexOf(sentence(33)), text.indexOf(QStringLiteral("Section 0")));
}

TEST(TextLayoutGrid, LabelsLevelWithTheCellsOfLongTextStayTableRows) {
    // Each label level with the first line of a wrapped cell, the cells spaced apart.
    QList<TextPiece> pieces;
    for (int r = 0; r < 4; ++r) {
        pieces.append(piece(QStringLiteral("Option %1").arg(r), 0, r * 40, 62));
        pieces.append(piece(sentence(40 + r) + QStringLiteral(" and more of it here"), 200, r * 40, 400));
        pieces.append(piece(sentence(50 + r), 200, r * 40 + 13, 220));
    }
    const TextLayout layout(pieces);
    EXPECT_TRUE(layout.text(LineMode::keep).startsWith(QStringLiteral("Option 0\t") + sentence(40)))
        << layout.text(LineMode::keep).toStdString();
    // One row of text per label, evenly spaced: a two-column table of sentences.
    QList<TextPiece> evenRows;
    for (int r = 0; r < 5; ++r) {
        evenRows.append(piece(QStringLiteral("Option %1").arg(r), 0, r * 15, 62));
        evenRows.append(piece(sentence(60 + r) + QStringLiteral(" and more"), 200, r * 15, 300 - 20 * (r % 2)));
    }
    EXPECT_TRUE(TextLayout(evenRows).text(LineMode::keep).startsWith(QStringLiteral("Option 0\t")));
}

}  // namespace

namespace {

TEST(TextLayoutGrid, RowsOfATableSpacedLikeParagraphsStayOneBlock) {
    // A paragraph, a table whose rows stand 12 px apart (more than a unit), a paragraph.
    QList<TextPiece> pieces{piece(sentence(1), 0, 0, 240)};
    for (int r = 0; r < 4; ++r) {
        const double top = 40 + r * 22;
        pieces.append(piece(QStringLiteral("Day %1").arg(r), 0, top, 45));
        pieces.append(piece(QStringLiteral("%1.8").arg(r), 100, top, 23));
        pieces.append(piece(QStringLiteral("%1 km/h").arg(10 + r), 180, top, 52));
    }
    pieces.append(piece(sentence(2), 0, 160, 240));
    const TextLayout layout(pieces);
    ASSERT_EQ(layout.blocks.size(), 3);
    EXPECT_EQ(layout.blocks[1].rows.size(), 4);
    EXPECT_EQ(layout.text(LineMode::join),
              sentence(1) + QStringLiteral("\n\nDay 0\t0.8\t10 km/h\nDay 1\t1.8\t11 km/h\nDay 2\t2.8\t12 km/h\n"
                                           "Day 3\t3.8\t13 km/h\n\n") + sentence(2));
    // Rows whose cells do not stand under each other are paragraphs of their own.
    QList<TextPiece> staggered;
    for (int r = 0; r < 3; ++r) {
        staggered.append(piece(QStringLiteral("Left %1").arg(r), r * 120, r * 22, 45));
        staggered.append(piece(QStringLiteral("Right %1").arg(r), r * 120 + 60, r * 22, 45));
    }
    EXPECT_EQ(TextLayout(staggered).blocks.size(), 3);
}

// Terminal text: 8 px character cells, 14 px lines; ink stops a little short of its
// cells at both ends.
TextPiece cells(const QString& text, int column, int line) {
    return piece(text, column * 8 + 1, line * 16, text.size() * 8 - 3, 14);
}

TEST(TextLayoutTerminal, IndentsAndSpacingAreKeptInCharacterCells) {
    const TextLayout page({cells("NAME", 0, 0), cells("grep - print lines that match", 7, 1),
                           cells("--count", 7, 3), cells("Print a count of lines.", 14, 4),
                           cells("drwxr-xr-x", 0, 6), cells("3 anna staff", 12, 6), cells("4096 photos", 26, 6)});
    EXPECT_EQ(page.text(LineMode::keep).toStdString(),
              "NAME\n       grep - print lines that match\n\n       --count\n              Print a count of lines.\n\n"
              "drwxr-xr-x  3 anna staff  4096 photos");
    // A line that starts anew in join mode keeps its indent too.
    EXPECT_TRUE(page.text(LineMode::join).contains(QStringLiteral("\n              Print a count of lines.")));
    // Proportional text of the same layout is no terminal: its wide gap is a tab.
    const TextLayout form({piece("Name:", 0, 0, 38, 14), piece("Alice Smith", 120, 0, 71, 14),
                           piece("Street:", 0, 16, 41, 14), piece("Long Lane", 120, 16, 64, 14),
                           piece("City:", 0, 32, 30, 14), piece("Bern", 120, 32, 30, 14)});
    EXPECT_EQ(form.text(LineMode::keep).toStdString(), "Name:\tAlice Smith\nStreet:\tLong Lane\nCity:\tBern");
}

}  // namespace

namespace {

TEST(TextLayoutTerminalPoints, ASpaceTheRecognizerPutBesideAPointInAWordIsTakenOut) {
    // Each piece's ink spans the cells of the text as drawn; the text came back with a
    // space beside the point.
    const auto drawnAs = [](const QString& read, const QString& drawn, int line) {
        return TextPiece{read, cells(drawn, 0, line).box};
    };
    const TextLayout page({drawnAs("19:22 page. log", "19:22 page.log", 0), drawnAs("list .txt", "list.txt", 1),
                           drawnAs("Done. Next step", "Done. Next step", 2),
                           drawnAs("v1. 2 and a. b", "v1.2 and a. b", 3), cells("total 10 files", 0, 4),
                           cells("drwxr-xr-x", 0, 5), cells("3 anna staff", 12, 5), cells("4096 photos", 26, 5),
                           cells("anna", 0, 6), cells("print lines", 6, 6)});
    EXPECT_EQ(page.text(LineMode::keep).toStdString(), "19:22 page.log\nlist.txt\nDone. Next step\nv1.2 and a. b\n"
                                                       "total 10 files\ndrwxr-xr-x  3 anna staff  4096 photos\nanna  print lines");
}

TEST(TextLayoutTerminalPoints, ATimeTheRecognizerSplitAtItsColonStaysOneWord) {
    // "00:" and "51" came back as pieces of their own: the colon's ink ends mid-cell, so
    // the blank between them is under a cell wide. A space is a whole blank cell.
    const auto toColon = [](const QString& text, int column, int line) {
        return piece(text, column * 8 + 1, line * 16, text.size() * 8 - 5, 14);
    };
    const TextLayout page({cells("drwxr-xr-x", 0, 0), cells("3 anna staff", 12, 0), toColon("4096 Jun 12 00:", 26, 0),
                           cells("51 photos", 41, 0), cells("-rw-r--r--", 0, 1), cells("1 omar users", 12, 1),
                           toColon("812 Nov  9 09:", 27, 1), cells("13 notes.txt", 41, 1)});
    EXPECT_EQ(page.text(LineMode::keep).toStdString(), "drwxr-xr-x  3 anna staff  4096 Jun 12 00:51 photos\n"
                                                       "-rw-r--r--  1 omar users   812 Nov  9 09:13 notes.txt");
}

}  // namespace

namespace {

// A font whose ink reaches its cells' edges ("s", "f" and figures do in some): each
// piece's ink spans its cells but a pixel. Word by word the ink then looks wider per
// character than the cell is.
TEST(TextLayoutTerminalCells, TheCellComesFromHowPiecesGrowWithTheirLength) {
    const QStringList lines{QStringLiteral("anna  staff    4096  photos"), QStringLiteral("omar  users  81234  notes"),
                            QStringLiteral("listing  done")};
    QList<TextPiece> pieces;
    for (qsizetype line = 0; line < lines.size(); ++line) {
        const QString& text = lines[line];
        for (qsizetype at = 0; at < text.size();) {
            const qsizetype end = text.indexOf(u' ', at) < 0 ? text.size() : text.indexOf(u' ', at);
            pieces.append(piece(text.mid(at, end - at), at * 8 + 0.5, line * 16, (end - at) * 8 - 1, 14));
            at = end;
            while (at < text.size() && text.at(at) == u' ')
                ++at;
        }
    }
    EXPECT_EQ(TextLayout(pieces).text(LineMode::keep).toStdString(), lines.join(u'\n').toStdString());
}

}  // namespace

namespace {

// In a font whose ink reaches its cells' edges, short pieces look wider per character
// than long ones; a few the recognizer misread are off the grid too. Together they are
// too many for a terminal whose width per character is taken against half a cell.
TEST(TextLayoutTerminalCells, PiecesOfAllLengthsOnTheGridMakeATerminalDespiteAFewMisread) {
    // Ink spans each piece's cells but half a pixel, in 8 px cells.
    const auto cellsOf = [](const QString& read, qsizetype drawn, int column, int line) {
        return piece(read, column * 8 + 0.25, line * 16, double(drawn) * 8 - 0.5, 14);
    };
    const TextLayout page({cellsOf("anna", 4, 0, 0), cellsOf("staff", 5, 6, 0), cellsOf("photos", 6, 13, 0),
                           cellsOf("documents", 9, 21, 0), cellsOf("omar", 4, 0, 1), cellsOf("users", 5, 6, 1),
                           cellsOf("notes", 5, 13, 1), cellsOf("spreadsheets", 12, 20, 1),
                           cellsOf("listing", 7, 0, 2), cellsOf("paper", 5, 9, 2), cellsOf("archive", 7, 16, 2),
                           cellsOf("mm", 3, 0, 3), cellsOf("backups", 8, 5, 3)});
    EXPECT_EQ(page.text(LineMode::keep).toStdString(),
              "anna  staff  photos  documents\nomar  users  notes  spreadsheets\nlisting  paper  archive\n"
              "mm  backups");
}

}  // namespace

namespace {

// Letter-spaced cells of 9.6 px. A glyph's ink starts `left` of a cell right of its cell's
// edge and the last one's ends `right` short of it: capitals and wide letters fill their
// cells nearly edge to edge, most words less, a quote sits mid-cell.
TextPiece inked(const QString& text, int column, int line, double left = 0.2, double right = 0.25) {
    constexpr double cell = 9.6;
    return piece(text, (column + left) * cell, line * 20, (double(text.size()) - left - right) * cell, 14);
}

TEST(TextLayoutTerminalBearings, AShortHeadingDrawnEdgeToEdgeLeavesTheManPageOnTheGrid) {
    // The title came back with a space the font does not draw: a piece off the grid.
    const auto misread = [](const QString& read, const QString& drawn, int column) {
        return TextPiece{read, inked(drawn, column, 0, 0.05, 0.1).box};
    };
    const TextLayout page({misread("GREP (1)", "GREP(1)", 0), inked("User Commands", 17, 0),
                           inked("GREP(1)", 40, 0, 0.05, 0.1), inked("NAME", 0, 2, 0.05, 0.1),
                           inked("grep - print lines that match", 7, 3), inked("DESCRIPTION", 0, 5, 0.05, 0.1),
                           inked("grep searches each file for the pattern.", 7, 6), inked("--count", 7, 7),
                           inked("Print a count of the matching lines.", 14, 8), inked("--quiet", 7, 9),
                           inked("Show", 14, 10, 0.05, 0.1),
                           inked("nothing at all to the output.", 19, 10), inked("--files", 7, 11),
                           inked("Print only the names of the files.", 14, 12), inked("--after", 7, 13),
                           inked("Print the lines after each match.", 14, 14)});
    const QStringList lines = page.text(LineMode::keep).split(u'\n');
    ASSERT_EQ(lines.size(), 15);
    EXPECT_EQ(lines[3].toStdString(), "       grep - print lines that match");
    EXPECT_EQ(lines[6].toStdString(), "       grep searches each file for the pattern.");
    EXPECT_EQ(lines[7].toStdString(), "       --count");
    EXPECT_EQ(lines[8].toStdString(), "              Print a count of the matching lines.");
    EXPECT_EQ(lines[10].toStdString(), "              Show nothing at all to the output.");
    EXPECT_EQ(lines[14].toStdString(), "              Print the lines after each match.");
}

TEST(TextLayoutTerminalBearings, AFewShortWordsOfAProportionalTableProveNoGrid) {
    // About 8.7 px a character, each word a little off that, none by half a character.
    const TextLayout table({piece("Deploy", 0, 0, 47, 14), piece("9.5", 90, 0, 22, 14), piece("85%", 160, 0, 27, 14),
                            piece("Panel", 0, 20, 38, 14), piece("7.0", 90, 20, 22, 14), piece("24%", 160, 20, 27, 14),
                            piece("Range", 0, 40, 41.9, 14), piece("6.6", 90, 40, 22, 14),
                            piece("50%", 160, 40, 27, 14), piece("Network", 0, 60, 58, 14),
                            piece("7.6", 90, 60, 22, 14), piece("74%", 160, 60, 27, 14)});
    EXPECT_EQ(table.text(LineMode::keep).toStdString(),
              "Deploy\t9.5\t85%\nPanel\t7.0\t24%\nRange\t6.6\t50%\nNetwork\t7.6\t74%");
}

TEST(TextLayoutTerminalBearings, ARowStartingWithAQuoteKeepsItsIndent) {
    // The quote's ink starts over half a cell further right than the letters' do.
    const TextLayout page({inked("def total(items):", 0, 0, 0.1), inked("\"\"\"Add them up.\"\"\"", 4, 1, 0.62),
                           inked("sum = 0", 4, 2), inked("for item in items:", 4, 3),
                           inked("sum += item", 8, 4), inked("return sum", 4, 5)});
    EXPECT_EQ(page.text(LineMode::keep).toStdString(),
              "def total(items):\n    \"\"\"Add them up.\"\"\"\n    sum = 0\n    for item in items:\n"
              "        sum += item\n    return sum");
}

}  // namespace
