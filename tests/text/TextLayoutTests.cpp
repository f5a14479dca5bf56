#include "text/TextLayout.h"
#include "text/TextLayoutSteps.h"

#include "LayoutTestPieces.h"

#include <gtest/gtest.h>

using namespace ZantrelText;
using namespace ZantrelText::LayoutSteps;
using namespace LayoutTestPieces;

namespace {

TEST(TextLayoutBuilding, BlankAndFlatPiecesVanishAndDoNotCountTowardTheUnit) {
    EXPECT_TRUE(TextLayout(QList<TextPiece>{}).isEmpty());
    EXPECT_TRUE(TextLayout({piece("   ", 0, 0, 50), piece("\n\t", 0, 20, 50), piece("x", 0, 40, 50, 0),
                            piece("nan", qQNaN(), 0, 50), piece("inf", 0, 0, 50, qInf())})
                    .isEmpty());
    EXPECT_EQ(TextLayout(QList<TextPiece>{}).text(LineMode::join), QString());

    // Two 10 px pieces 15 px apart: a tab at a unit of 10. Counting the two tall blank
    // pieces would make the unit 55 and the gap a space.
    const TextLayout layout({piece("  Name ", 0, 0, 40), piece(" ", 0, 0, 10, 100), piece("Alice\n", 55, 0, 40),
                             piece("\t", 200, 0, 10, 100), piece("flat", 100, 0, 10, 0)});
    ASSERT_EQ(layout.blocks.size(), 1);
    ASSERT_EQ(layout.blocks[0].rows.size(), 1);
    EXPECT_EQ(utf8(layout.blocks[0].rows[0].text()), "Name\tAlice");
}

TEST(TextLayoutSteps, MedianAndGaps) {
    EXPECT_EQ(medianOf({10, 40, 14, 12}), 13.0);
    EXPECT_EQ(medianOf({40, 10, 12}), 12.0);
    EXPECT_FALSE(medianOf({}));

    EXPECT_TRUE(gapsBetween({{0, 10}}).isEmpty());
    EXPECT_TRUE(gapsBetween({{0, 10}, {10, 20}, {5, 15}}).isEmpty());
    // An extent inside a longer one opens no gap: the reach so far counts, not the last end.
    const QList<Extent> gaps = gapsBetween({{30, 40}, {0, 20}, {2, 4}, {6, 8}, {24, 26}});
    EXPECT_EQ(gaps, (QList<Extent>{{20, 24}, {26, 30}}));
}

TEST(TextLayoutColumns, SideBySideParagraphsAreReadOneAfterTheOther) {
    QList<TextPiece> pieces;
    for (int row = 0; row < 3; ++row) {
        pieces.append(piece(sentence(row), 0, row * 15, 200));
        pieces.append(piece(sentence(10 + row), 250, row * 15, 200));
    }
    const TextLayout layout(pieces);
    ASSERT_EQ(layout.blocks.size(), 2);
    EXPECT_EQ(utf8(layout.text(LineMode::keep)),
              "words of running line 0\nwords of running line 1\nwords of running line 2\n\n"
              "words of running line 10\nwords of running line 11\nwords of running line 12");
}

TEST(TextLayoutColumns, LabelsAndValuesShareRows) {
    // Short pieces: too few words to be running text.
    const TextLayout shortPieces({piece("Name:", 0, 0, 50), piece("Alice Smith", 200, 0, 110),
                                  piece("City:", 0, 15, 50), piece("Bern", 200, 15, 40)});
    ASSERT_EQ(shortPieces.blocks.size(), 1);
    EXPECT_EQ(utf8(shortPieces.text(LineMode::keep)), "Name:\tAlice Smith\nCity:\tBern");

    // Long enough, but most left pieces end with a colon: a form, not a column.
    QList<TextPiece> form;
    for (int row = 0; row < 3; ++row) {
        form.append(piece(QStringLiteral("the label of field %1:").arg(row), 0, row * 15, 200));
        form.append(piece(sentence(row), 250, row * 15, 200));
    }
    EXPECT_EQ(TextLayout(form).blocks.size(), 1);

    // Exactly half of the lines ending in a colon is already too many.
    QList<TextPiece> half;
    for (int row = 0; row < 4; ++row) {
        half.append(piece(row % 2 ? QStringLiteral("the label of field %1:").arg(row) : sentence(row), 0, row * 15, 200));
        half.append(piece(sentence(row), 250, row * 15, 200));
    }
    EXPECT_EQ(TextLayout(half).blocks.size(), 1);
    half[6].text = sentence(3);  // one of four
    EXPECT_EQ(TextLayout(half).blocks.size(), 2);
}

TEST(TextLayoutColumns, ThreeEqualColumnsAreReadOneAfterAnother) {
    // No line spans two columns, so no pair of sides is a single column; each side is
    // still made of columns, and reading across them would interleave three texts.
    QList<TextPiece> pieces;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            pieces.append(piece(sentence(10 * column + row), column * 250, row * 15, 200));
    const TextLayout layout(pieces);
    ASSERT_EQ(layout.blocks.size(), 3);
    EXPECT_EQ(utf8(layout.text(LineMode::keep)),
              "words of running line 0\nwords of running line 1\nwords of running line 2\n\n"
              "words of running line 10\nwords of running line 11\nwords of running line 12\n\n"
              "words of running line 20\nwords of running line 21\nwords of running line 22");

    // A row of short cells beside them is still not running text: a table stays whole.
    QList<TextPiece> cells;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            cells.append(piece(QStringLiteral("cell %1").arg(row), column * 250, row * 15, 60));
    EXPECT_EQ(TextLayout(cells).blocks.size(), 1);
}

TEST(TextLayoutColumns, OfTwoEqualGapsTheLeftOneIsTriedFirst) {
    // A | B | C with equal gaps, B a single piece. Split left first: A, then B with C
    // (B alone is no column, so B and C stay together). Right first would give A with B, then C.
    QList<TextPiece> pieces;
    for (int row = 0; row < 3; ++row)
        pieces.append(piece(sentence(row), 0, row * 15, 400));
    pieces.append(piece(sentence(5), 420, 0, 100));
    for (int row = 0; row < 3; ++row)
        pieces.append(piece(sentence(10 + row), 540, row * 15, 400));

    const QList<QList<TextPiece>> groups = splitGroups(pieces, 10);
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0].size(), 3);
    EXPECT_EQ(groups[1].size(), 4);
    const TextLayout::Block rest = makeBlock(groups[1], 10);
    EXPECT_EQ(utf8(rest.rows[0].text()), "words of running line 5\twords of running line 10");
}

TEST(TextLayoutBands, OutstandingGapsCutOnlyAmongThreeOrMore) {
    // Vertical gaps of 4, 5, 5 and 9 px at a unit of 10: median 5, and 9 >= 1.6 * 5.
    const QList<TextPiece> five{piece("a", 0, 0, 10), piece("b", 0, 14, 10), piece("c", 0, 29, 10),
                                piece("d", 0, 44, 10), piece("e", 0, 63, 10)};
    const QList<QList<TextPiece>> bands = bandSplit(five, 10);
    ASSERT_EQ(bands.size(), 2);
    EXPECT_EQ(bands[0], five.first(4));
    EXPECT_EQ(bands[1], five.last(1));

    // Only the gaps of 5 and 9 px, or of 1 and 6 px: the 1-unit rule alone applies.
    EXPECT_EQ(bandSplit({piece("a", 0, 0, 10), piece("b", 0, 15, 10), piece("c", 0, 34, 10)}, 10).size(), 1);
    EXPECT_EQ(bandSplit({piece("a", 0, 0, 10), piece("b", 0, 11, 10), piece("c", 0, 27, 10)}, 10).size(), 1);

    // A gap of a full unit cuts; pieces keep their order inside their band.
    const QList<TextPiece> scattered{piece("low", 0, 40, 10), piece("top", 0, 0, 10), piece("top2", 30, 2, 10)};
    const QList<QList<TextPiece>> cut = bandSplit(scattered, 10);
    ASSERT_EQ(cut.size(), 2);
    EXPECT_EQ(cut[0], (QList<TextPiece>{scattered[1], scattered[2]}));
    EXPECT_EQ(cut[1], scattered.first(1));
}

TEST(TextLayoutRows, HalfTheSmallerHeightOfOverlapSharesARow) {
    EXPECT_EQ(makeBlock({piece("a", 0, 0, 10), piece("b", 20, 5, 10)}, 10).rows.size(), 1);
    EXPECT_EQ(makeBlock({piece("a", 0, 0, 10), piece("b", 20, 5.01, 10)}, 10).rows.size(), 2);
    // The smaller height counts: a 4 px piece overlapping a 20 px one by 2 px shares its row.
    EXPECT_EQ(makeBlock({piece("big", 0, 0, 10, 20), piece("small", 20, 18, 10, 4)}, 10).rows.size(), 1);
}

TEST(TextLayoutRows, PiecesGoLeftToRightWithTabsAtWideGaps) {
    // Given right to left; gaps of 2 units and 1 unit.
    const TextLayout::Block block = makeBlock({piece("C", 60, 0, 10), piece("B", 40, 0, 10), piece("A", 0, 0, 20)}, 10);
    ASSERT_EQ(block.rows.size(), 1);
    const TextLayout::Row& row = block.rows[0];
    EXPECT_EQ(row.gaps, (QList<bool>{true, false}));
    EXPECT_TRUE(row.tabbed);
    EXPECT_EQ(row.box, QRectF(0, 0, 70, 10));
    EXPECT_EQ(utf8(row.text()), "A\tB C");

    // Pieces sharing a left edge keep their order.
    const TextLayout::Block same = makeBlock({piece("first", 0, 0, 10), piece("second", 0, 1, 10)}, 10);
    EXPECT_EQ(utf8(same.rows[0].text()), "first second");
}

TEST(TextLayoutCode, ShareOfCodeRowsDecides) {
    auto block = [](const QStringList& texts) {
        QList<TextPiece> pieces;
        for (qsizetype i = 0; i < texts.size(); ++i)
            pieces.append(piece(texts[i], 0, double(i) * 15, 100));
        return makeBlock(pieces, 10);
    };
    EXPECT_TRUE(block({"int x = 1;", "plain words"}).isCode);
    EXPECT_FALSE(block({"int x = 1;", "plain", "words", "in", "rows"}).isCode);
    EXPECT_FALSE(block({"a == b"}).isCode);

    EXPECT_TRUE(isCodeLine(u"if (ready) {"));
    EXPECT_TRUE(isCodeLine(u"  // note"));
    EXPECT_TRUE(isCodeLine(u"$ ls -la"));
    EXPECT_TRUE(isCodeLine(u">>> print(1)"));
    EXPECT_TRUE(isCodeLine(u"let x = 2"));
    EXPECT_TRUE(isCodeLine(u"x => x + 1"));
    EXPECT_TRUE(isCodeLine(u"done }\u00A0"));
    EXPECT_FALSE(isCodeLine(u"letter to the editor: hello"));
    EXPECT_FALSE(isCodeLine(u"for the record"));
    EXPECT_FALSE(isCodeLine(u"Price: $ 5"));
}

TEST(TextLayoutCodeIndents, DeepIndentsCountCellsNotTheAverageCharacter) {
    // Cells of 10 px, each word's ink half a cell short; too few short rows for a grid.
    // Lone braces would pull an average character width down to 9.4 px and make the
    // 12-cell indent 13.
    const QList<std::pair<int, QString>> rows{{0, "#include <stdio.h>"}, {0, "{"},
                                              {4, "int count = 4;"},     {8, "if (s[i] == 'x')"},
                                              {12, "count++;"},          {4, "}"},
                                              {4, "return count;"},      {0, "}"}};
    QList<TextPiece> pieces;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const auto& [column, text] = rows[i];
        pieces.append(piece(text, 10.0 * column, 15.0 * double(i), 10.0 * (double(text.size()) - 0.5)));
    }
    const TextLayout layout(pieces);
    ASSERT_EQ(layout.blocks.size(), 1);
    ASSERT_FALSE(layout.blocks[0].isMonospace());
    EXPECT_EQ(utf8(layout.text(LineMode::keep)), "#include <stdio.h>\n{\n    int count = 4;\n        if (s[i] == 'x')\n"
                                                 "            count++;\n    }\n    return count;\n}");
}

}  // namespace
