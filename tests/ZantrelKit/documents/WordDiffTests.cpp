#include "ZantrelKit/documents/WordDiff.h"

#include <gtest/gtest.h>

using namespace ZantrelKit;
using namespace Qt::Literals::StringLiterals;

namespace {

using WordDiff::Change;
using Kind = WordDiff::Change::Kind;
using Changes = std::vector<Change>;

QStringList split(const QString& text) { return text.split(u' ', Qt::SkipEmptyParts); }

QStringList numbered(int count, int changedAt = -1) {
    QStringList words;
    for (int i = 0; i < count; ++i)
        words.append(i == changedAt ? u"changed"_s : QString::number(i));
    return words;
}

TEST(WordDiff, WordsSplitAtEveryKindOfWhiteSpace) {
    EXPECT_EQ(WordDiff::words(u"  one\ttwo \u2003 three\nfour \u2029"_s),
              (QStringList{u"one"_s, u"two"_s, u"three"_s, u"four"_s}));
    EXPECT_TRUE(WordDiff::words(u" \n\t "_s).isEmpty());
    EXPECT_EQ(WordDiff::words(u"\U0001F600x y"_s), (QStringList{u"\U0001F600x"_s, u"y"_s}));
}

TEST(WordDiff, ChangesBetweenMatchedWords) {
    EXPECT_EQ(WordDiff::changes(split(u"a b c"_s), split(u"a b c"_s)), Changes{});
    EXPECT_EQ(WordDiff::changes({}, split(u"x y"_s)), (Changes{{{0, 0}, {0, 2}, Kind::added}}));
    EXPECT_EQ(WordDiff::changes(split(u"x y"_s), {}), (Changes{{{0, 2}, {0, 0}, Kind::removed}}));
    EXPECT_EQ(WordDiff::changes(split(u"a b c"_s), split(u"a x c"_s)), (Changes{{{1, 2}, {1, 2}, Kind::changed}}));
    EXPECT_EQ(WordDiff::changes(split(u"a b"_s), split(u"a b c"_s)), (Changes{{{2, 2}, {2, 3}, Kind::added}}));
    EXPECT_EQ(WordDiff::changes(split(u"A b"_s), split(u"a b"_s)), (Changes{{{0, 1}, {0, 1}, Kind::changed}}));
}

TEST(WordDiff, TiesSkipNewWordsFirst) {
    EXPECT_EQ(WordDiff::changes(split(u"a b"_s), split(u"b a"_s)),
              (Changes{{{0, 0}, {0, 1}, Kind::added}, {{1, 2}, {2, 2}, Kind::removed}}));
}

TEST(WordDiff, AboveTheCellCapTheWholeTextIsOneChange) {
    EXPECT_EQ(WordDiff::changes(numbered(2001), numbered(2000)), (Changes{{{0, 2001}, {0, 2000}, Kind::changed}}));
    EXPECT_EQ(WordDiff::changes(numbered(2001), numbered(2001)), Changes{});
    // Exactly four million cells still use the table, so the change is found word by word.
    EXPECT_EQ(WordDiff::changes(numbered(2000), numbered(2000, 7)), (Changes{{{7, 8}, {7, 8}, Kind::changed}}));
}

TEST(WordDiff, KindRawValues) {
    EXPECT_EQ(WordDiff::rawValue(Kind::removed), u"removed"_s);
    EXPECT_EQ(WordDiff::changeKindFromRawValue(u"added"), Kind::added);
    EXPECT_EQ(WordDiff::changeKindFromRawValue(u"Added"), std::nullopt);
}

}  // namespace
