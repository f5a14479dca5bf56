#include "ZantrelKit/documents/Paragraphs.h"

#include "ZantrelKit/JSONCoding.h"

#include <gtest/gtest.h>

using namespace ZantrelKit;
using namespace Qt::Literals::StringLiterals;

namespace {

using Lines = std::vector<TextLine>;

// A 12-point line whose top is `top`, 12 points high.
TextLine line(const QString& text, double top, double left = 72, double size = 12) {
    return {text, top, top - 12, left, size};
}

QStringList texts(const Lines& lines, const ParagraphSettings& settings = {1.5, false, false}) {
    QStringList result;
    for (const Paragraph& paragraph : Paragraphs::build(lines, settings))
        result.append(paragraph.text);
    return result;
}

TEST(Paragraphs, LineSpacingWithinTheGapContinues) {
    // Each line ends 6.5 points above the next one's top: the most that gap 1.5 allows.
    const Lines spaced{line(u"one"_s, 700), line(u"two"_s, 681.5), line(u"three"_s, 662.9)};
    EXPECT_EQ(texts(spaced), (QStringList{u"one two"_s, u"three"_s}));
    const Lines touching{line(u"a"_s, 700), line(u"b"_s, 687.5), line(u"c"_s, 674.9)};
    EXPECT_EQ(texts(touching, {1.0, false, false}), (QStringList{u"a b"_s, u"c"_s}));
}

TEST(Paragraphs, SizeAndIndentBreakParagraphs) {
    EXPECT_EQ(texts({line(u"a"_s, 700, 72, 10), line(u"b"_s, 688, 72, 11.4), line(u"c"_s, 676, 72, 11.5)}),
              (QStringList{u"a b"_s, u"c"_s}));  // 15 % of the first line's size
    EXPECT_EQ(texts({line(u"a"_s, 700, 72, 4), line(u"b"_s, 688, 72, 4.9), line(u"c"_s, 676, 72, 5)}),
              (QStringList{u"a b"_s, u"c"_s}));  // at least a point
    EXPECT_EQ(texts({line(u"a"_s, 700), line(u"b"_s, 688, 83.9), line(u"c"_s, 676, 98.4)}),
              (QStringList{u"a b"_s, u"c"_s}));  // up to 1.2 line heights of indent
    EXPECT_EQ(texts({line(u"a"_s, 700, 90), line(u"b"_s, 688, 20)}), (QStringList{u"a b"_s}));
}

TEST(Paragraphs, BlankLinesVanishWithoutBreakingParagraphs) {
    EXPECT_EQ(texts({line(u"  a\t"_s, 700), line(u" \t "_s, 688), line(u""_s, 688), line(u"b "_s, 688)}),
              (QStringList{u"a b"_s}));
    EXPECT_TRUE(Paragraphs::build({line(u"   "_s, 700)}, {}).empty());
}

TEST(Paragraphs, HyphensJoinOnlyBeforeLowercase) {
    const ParagraphSettings join{1.5, true, false};
    EXPECT_EQ(texts({line(u"exam-"_s, 700), line(u"ple"_s, 688)}, join), (QStringList{u"example"_s}));
    EXPECT_EQ(texts({line(u"exam-"_s, 700), line(u"Ple"_s, 688)}, join), (QStringList{u"exam- Ple"_s}));
    EXPECT_EQ(texts({line(u"exam-"_s, 700), line(u"2x"_s, 688)}, join), (QStringList{u"exam- 2x"_s}));
    EXPECT_EQ(texts({line(u"exam-"_s, 700), line(u"ple"_s, 688)}), (QStringList{u"exam- ple"_s}));
    EXPECT_EQ(texts({line(u"Stra-"_s, 700), line(u"\u00dfe"_s, 688)}, join), (QStringList{u"Stra\u00dfe"_s}));
    EXPECT_EQ(texts({line(u"caf-"_s, 700), line(u"e\u0301s"_s, 688)}, join), (QStringList{u"cafe\u0301s"_s}));
}

TEST(Paragraphs, HeadingsAreClearlyLargerThanTheMedian) {
    const auto headings = [](const Lines& lines, const ParagraphSettings& settings) {
        std::vector<bool> marks;
        for (const Paragraph& paragraph : Paragraphs::build(lines, settings))
            marks.push_back(paragraph.heading);
        return marks;
    };
    EXPECT_EQ(headings({line(u"only"_s, 700, 72, 30)}, {}), std::vector<bool>{false});
    const Lines sized{line(u"a"_s, 700, 72, 10), line(u"b"_s, 600, 72, 10), line(u"c"_s, 500, 72, 10),
                      line(u"d"_s, 400, 72, 12.9), line(u"e"_s, 300, 72, 13)};
    EXPECT_EQ(headings(sized, {}), (std::vector<bool>{false, false, false, false, true}));
    const ParagraphSettings keep{1.5, true, true};
    EXPECT_EQ(texts({line(u" a"_s, 700), line(u"b-"_s, 688), line(u"c"_s, 676)}, keep),
              (QStringList{u"a"_s, u"b-"_s, u"c"_s}));
    EXPECT_EQ(Paragraphs::build({line(u"x"_s, 700, 72, 12)}, keep).front().size, 12);
}

TEST(Paragraphs, SettingsJSON) {
    const ParagraphSettings settings{1.25, true, false};
    EXPECT_EQ(settings.jsonText(), QByteArray(R"({"gap":1.25,"joinHyphens":true,"keepLines":false})"));
    EXPECT_EQ(ParagraphSettings::fromJson(settings.toJson()), settings);
    EXPECT_THROW(ParagraphSettings::fromJson(JSONCoding::decode(R"({"gap":1,"joinHyphens":true})")),
                 JSONDecodingError);
    EXPECT_THROW(ParagraphSettings::fromJson(JSONCoding::decode(R"({"gap":"1","joinHyphens":true,"keepLines":false})")),
                 JSONDecodingError);
}

}  // namespace
