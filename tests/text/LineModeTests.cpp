#include "text/LineMode.h"
#include "text/TextLayout.h"

#include "LayoutTestPieces.h"

#include <gtest/gtest.h>

using namespace ZantrelText;
using namespace LayoutTestPieces;

namespace {

// One piece per row, 15 px apart, all in one block; widths in px.
TextLayout rows(const QList<std::pair<QString, double>>& lines)
{
    QList<TextPiece> pieces;
    double y = 0;
    for (const auto& [text, width] : lines) {
        pieces.append(piece(text, 0, y, width));
        y += 15;
    }
    return TextLayout(pieces);
}

TEST(LineMode, RawValuesAndOrder) {
    EXPECT_EQ(allLineModes, (std::array{LineMode::keep, LineMode::join}));
    for (const LineMode mode : allLineModes)
        EXPECT_EQ(lineModeFromRawValue(rawValue(mode)), mode);
    EXPECT_EQ(rawValue(LineMode::join), QStringLiteral("join"));
    EXPECT_FALSE(lineModeFromRawValue(u"Keep"));
    EXPECT_FALSE(lineModeFromRawValue(u""));
    EXPECT_NE(qHash(LineMode::keep, 0), qHash(LineMode::join, 0));
}

TEST(JoinLines, HyphensSplitWordsOnlyBeforeLowercase) {
    EXPECT_EQ(utf8(joinLines("recog-", "nition works")), "recognition works");
    EXPECT_EQ(utf8(joinLines(u16(u"recog\u2010"), "nition")), "recognition");
    EXPECT_EQ(utf8(joinLines("Jean-", "Paul")), "Jean- Paul");
    EXPECT_EQ(utf8(joinLines("route 66-", "bis")), "route 66- bis");
    EXPECT_EQ(utf8(joinLines("-", "alone")), "- alone");
    EXPECT_EQ(utf8(joinLines(u16(u"caf\u00E9-"), u16(u"\u00E9t\u00E9"))), utf8(u16(u"caf\u00E9\u00E9t\u00E9")));
}

TEST(JoinLines, WideScriptsGetNoSpace) {
    EXPECT_EQ(utf8(joinLines(u16(u"\u6F22\u5B57"), u16(u"\u304B\u306A"))), utf8(u16(u"\u6F22\u5B57\u304B\u306A")));
    EXPECT_EQ(utf8(joinLines("Latin", u16(u"\uFF21\uFF22"))), utf8(u16(u"Latin\uFF21\uFF22")));
    // The hyphen rule comes first; the wide rule looks at the last character only.
    EXPECT_EQ(utf8(joinLines(u16(u"\uD55C-"), "next")), utf8(u16(u"\uD55Cnext")));
    EXPECT_EQ(utf8(joinLines(u16(u"\u6F22-"), "Next")), utf8(u16(u"\u6F22- Next")));
    EXPECT_EQ(utf8(joinLines("plain", "text")), "plain text");

    EXPECT_TRUE(isWideScript(u"abc\uAC00"));
    EXPECT_TRUE(isWideScript(u"\u3000"));
    EXPECT_FALSE(isWideScript(u"\u00E9\u0416\U0001F600"));
    EXPECT_FALSE(isWideScript(u""));
}

TEST(LayoutText, KeepModeKeepsEveryRowAndSeparatesBlocks) {
    const TextLayout layout({piece("one", 0, 0, 40), piece("two", 0, 15, 40), piece("three", 0, 50, 40),
                             piece("four", 0, 65, 40)});
    ASSERT_EQ(layout.blocks.size(), 2);
    EXPECT_EQ(utf8(layout.text(LineMode::keep)), "one\ntwo\n\nthree\nfour");
}

TEST(LayoutText, JoinModeGluesFullLinesAndKeepsShortOnes) {
    const TextLayout layout = rows({{"a full line of text", 400},
                                    {"that goes on and", 400},
                                    {"ends here.", 100},
                                    {"Next thought recog-", 400},
                                    {"nition done", 400}});
    EXPECT_EQ(utf8(layout.text(LineMode::join)),
              "a full line of text that goes on and ends here.\nNext thought recognition done");
    EXPECT_EQ(layout.blocks[0].paragraph(), layout.text(LineMode::join));
}

TEST(LayoutText, AShortLineIsOneWhoseNextWordWouldHaveFitted) {
    // 30 px per character on the 300 px line; the widest line is 400 px.
    EXPECT_EQ(utf8(rows({{"full width line here", 400}, {"0123456789", 300}, {"ab cd", 400}}).text(LineMode::join)),
              "full width line here 0123456789\nab cd");
    EXPECT_EQ(utf8(rows({{"full width line here", 400}, {"0123456789", 300}, {"abc d", 400}}).text(LineMode::join)),
              "full width line here 0123456789 abc d");
}

TEST(LayoutText, JoinModeKeepsListItemsOnTheirOwnLines) {
    const TextLayout layout = rows({{"Shopping", 400},
                                    {u16(u"\u2022 milk"), 400},
                                    {"12. eggs", 400},
                                    {"b) bread", 400},
                                    {"1234. not an item", 400},
                                    {u16(u"\u2022joined"), 400},
                                    {u16(u"\u2014 dash item"), 400}});
    EXPECT_EQ(utf8(layout.text(LineMode::join)),
              utf8(u16(u"Shopping\n\u2022 milk\n12. eggs\nb) bread 1234. not an item \u2022joined\n\u2014 dash item")));
}

TEST(LayoutText, JoinModeKeepsBreaksAroundTabbedRows) {
    const TextLayout layout({piece("running text that", 0, 0, 400), piece("Total", 0, 15, 100),
                             piece("42", 300, 15, 100), piece("more running text", 0, 30, 400)});
    EXPECT_EQ(utf8(layout.text(LineMode::join)), "running text that\nTotal\t42\nmore running text");
}

TEST(LayoutText, CodeKeepsLinesAndIndentationInBothModes) {
    // 10 px per character: "if (ok) {" spans 90 px.
    const TextLayout layout({piece("if (ok) {", 0, 0, 90), piece("run();", 40, 15, 60),
                             piece("x;", 10, 30, 20), piece("}", 0, 45, 10)});
    ASSERT_EQ(layout.blocks.size(), 1);
    ASSERT_TRUE(layout.blocks[0].isCode);
    const std::string expected = "if (ok) {\n    run();\nx;\n}";
    EXPECT_EQ(utf8(layout.text(LineMode::keep)), expected);
    EXPECT_EQ(utf8(layout.text(LineMode::join)), expected);
}

TEST(LayoutText, CodeIndentationWithoutUsableCharacterWidth) {
    auto row = [](const QString& text, double x, double width) {
        TextLayout::Row r;
        r.pieces = {piece(text, x, 0, width)};
        r.box = r.pieces[0].box;
        return r;
    };
    // No characters at all: one pixel per character.
    TextLayout::Block empty{{row("", 0, 4), row("", 5, 4)}, true};
    EXPECT_EQ(empty.lines(), (QStringList{"", "     "}));
    // All widths zero: no indentation rather than a division by zero.
    TextLayout::Block flat{{row("a", 0, 0), row("b", 30, 0)}, true};
    EXPECT_EQ(flat.lines(), (QStringList{"a", "b"}));
    // A sliver of a box cannot turn into megabytes of spaces.
    TextLayout::Block sliver{{row("a", 0, 1e-9), row("b", 1000, 1e-9)}, true};
    EXPECT_LE(sliver.lines()[1].size(), 5000);
}

}  // namespace

namespace {

TEST(LayoutText, JoinModeKeepsTheLinesOfAChat) {
    // Senders and their messages, most lines far short of the widest: a message never
    // runs into the next sender's line.
    const TextLayout chat = rows({{"Tom Becker 09:43", 130}, {"Yes, it took eleven minutes, faster than before.", 460},
                                  {"Maria Lopez 09:44", 136}, {"Great, then let us ship it after lunch today.", 420}});
    EXPECT_EQ(chat.text(LineMode::join), chat.text(LineMode::keep));
    // Lines of a paragraph that run to its edge are still joined.
    const TextLayout prose = rows({{sentence(1), 200}, {sentence(2), 190}, {sentence(3), 196}, {sentence(4), 80}});
    EXPECT_EQ(prose.text(LineMode::join),
              sentence(1) + u' ' + sentence(2) + u' ' + sentence(3) + u' ' + sentence(4));
}

TEST(LayoutText, TwoOneLineNotesUnderAWiderParagraphStayTwoLines) {
    // A paragraph of three lines 300 px wide, then two notes of one line each in a
    // band of their own, starting at the same edge.
    QList<TextPiece> pieces{piece(sentence(1) + " and more", 0, 0, 300), piece(sentence(2) + " and more", 0, 15, 296),
                            piece(sentence(3), 0, 30, 150), piece("Times are shown in your zone.", 0, 70, 180, 8),
                            piece("Messages older than a year are archived.", 1, 82, 170, 8)};
    const TextLayout notes(pieces);
    ASSERT_EQ(notes.blocks.size(), 2);
    EXPECT_TRUE(notes.text(LineMode::join).endsWith("Times are shown in your zone.\nMessages older than a year are archived."))
        << notes.text(LineMode::join).toStdString();
    // Two lines wrapped at the column's edge are one paragraph.
    pieces[3] = piece(sentence(4) + " and a few more words", 0, 70, 295, 8);
    EXPECT_TRUE(TextLayout(pieces).text(LineMode::join).endsWith(sentence(4) + " and a few more words " +
                                                                 "Messages older than a year are archived."));
}

}  // namespace

namespace {

TEST(LayoutTextChatMessages, ASendersLineStaysApartFromAShortMessageInABlockOfItsOwn) {
    // Each message under its sender is a block of its own, 30 px below the last. The
    // short message's first word would not fit beside its sender within the block alone;
    // the messages around it show how wide the column is.
    const auto message = [](const QString& sender, const QString& text, double width, double y) {
        return QList<TextPiece>{piece(sender, 0, y, 120), piece(text, 0, y + 15, width)};
    };
    QList<TextPiece> pieces = message("Ivan Petrov 20:00", "Engine 6.40 review range frame?", 200, 0);
    pieces += message("Diego Alvarez 21:50", "Local cache runs delivery.", 150, 55);
    pieces += message("Priya Shah 13:52", "Timer history index branch old follow-up export plan your cache.", 420, 110);
    const TextLayout chat(pieces);
    ASSERT_EQ(chat.blocks.size(), 3);
    EXPECT_EQ(chat.text(LineMode::join), chat.text(LineMode::keep));
    // Two wrapped lines of a paragraph among them join, though by its letters' mean width
    // the next word would just have fitted: the line ends less than a quarter short.
    pieces[2] = piece(sentence(1) + " and then some more words", 0, 55, 340);
    pieces[3] = piece(sentence(2), 0, 70, 150);
    EXPECT_TRUE(TextLayout(pieces).text(LineMode::join).contains(sentence(1) + " and then some more words " + sentence(2)));
}

}  // namespace
