// A word read as two is joined where the ink shows no space between its halves; words a
// space apart, or whose ink the reading does not account for glyph by glyph, stay apart.

#include "platform/recognition/SplitWords.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

struct Drawn {
    QString text;
    int before;  // ground between the word and the one in front of it
};

// The words a line of one-shape characters comes out as: each character `width` pixels
// wide and `gap` apart inside a word; `rule` draws a stroke under the whole line, as a
// link's underline joins its letters into one shape. In the word `touching` the letters
// after the first touch: one shape of ink.
std::vector<QString> wordsOf(const std::vector<Drawn>& drawn, int width, int gap, bool rule = false,
                             const QString& touching = {}) {
    LineWords line;
    std::vector<InkShape> shapes;
    int x = 10;
    for (const Drawn& d : drawn) {
        x += d.before - gap;
        WordBox word{d.text, QRectF(), 0.9f};
        for (qsizetype i = 0; i < d.text.size(); ++i) {
            const QChar c = d.text.at(i);
            x += gap;
            const QRect ink(x, 20, width, 12);
            if (d.text == touching && i > 1)
                shapes.back().box = shapes.back().box.united(ink.adjusted(-gap, 0, 0, 0));
            else if (!rule)
                shapes.push_back({ink, 60});
            word.glyphs.push_back({QString(c), QRectF(ink)});
            word.box = word.box.isNull() ? QRectF(ink) : word.box.united(QRectF(ink));
            x += width;
        }
        line.box = line.box.united(word.box);
        line.words.push_back(word);
    }
    if (rule)
        shapes.push_back({line.box.toRect().adjusted(0, 0, 0, 2), 600});
    std::vector<LineWords> lines{line};
    joinSplitWords(lines, shapes, 16);
    std::vector<QString> words;
    for (const WordBox& word : lines.front().words)
        words.push_back(word.text);
    return words;
}

}  // namespace

TEST(SplitWords, HalvesAsCloseAsTheirLettersAreOneWordAndSpacedWordsStayApart) {
    // An address read "sales @host.org": the "@" as close as the letters.
    EXPECT_EQ(wordsOf({{"Email", 0}, {"sales", 9}, {"@host.org", 2}}, 8, 2),
              (std::vector<QString>{"Email", "sales@host.org"}));
    // Kerning narrows a gap or widens it a little; a space is a third of a glyph or more.
    EXPECT_EQ(wordsOf({{"sales", 0}, {"@host", 3}}, 8, 2), std::vector<QString>{"sales@host"});
    EXPECT_EQ(wordsOf({{"sales", 0}, {"host", 5}}, 8, 2), (std::vector<QString>{"sales", "host"}));
    // Letter-spaced text: the words' own gaps are wide, a space still wider than a third of a glyph.
    EXPECT_EQ(wordsOf({{"SALES", 0}, {"HOST", 6}}, 8, 5), (std::vector<QString>{"SALES", "HOST"}));
    // Too few letters to know how close they stand.
    EXPECT_EQ(wordsOf({{"a", 0}, {"b", 2}}, 8, 2), (std::vector<QString>{"a", "b"}));
}

TEST(SplitWords, WordsOneShapeOfInkCoversStayApart) {
    // An underlined link is one shape: nothing tells its words' gaps.
    EXPECT_EQ(wordsOf({{"sales", 0}, {"@host", 2}}, 8, 2, true), (std::vector<QString>{"sales", "@host"}));
}

TEST(SplitWords, AnAtSignsWiderBearingsAreNoSpace) {
    // "sales @host.org": the "@" stands off its letters by more than a third of a
    // glyph, no further than the letters' own gaps allow.
    EXPECT_EQ(wordsOf({{"sales", 0}, {"@host.org", 6}}, 8, 4), std::vector<QString>{"sales@host.org"});
    // A word a space's width before a handle stays apart.
    EXPECT_EQ(wordsOf({{"ask", 0}, {"@team", 11}}, 8, 4), (std::vector<QString>{"ask", "@team"}));
    // Without an "@" such a gap is a space of spaced-out text.
    EXPECT_EQ(wordsOf({{"sales", 0}, {"host", 6}}, 8, 4), (std::vector<QString>{"sales", "host"}));
}

TEST(SplitWords, AnAddressWhoseLettersTouchIsOneWordToo) {
    // "image @target.org": the letters after the "@" run into one shape, which no longer
    // tells them one by one; the "@" still stands as close as the letters before it.
    EXPECT_EQ(wordsOf({{"image", 0}, {"@target.org", 2}}, 8, 2, false, "@target.org"),
              std::vector<QString>{"image@target.org"});
    EXPECT_EQ(wordsOf({{"ask", 0}, {"@target", 9}}, 8, 2, false, "@target"),
              (std::vector<QString>{"ask", "@target"}));
}
