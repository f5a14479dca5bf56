#include "ZantrelKit/documents/PageLabels.h"

#include "ZantrelKit/JSONCoding.h"

#include <gtest/gtest.h>

using namespace ZantrelKit;
using namespace Qt::Literals::StringLiterals;

namespace {

using Style = PageLabelRange::Style;
using Ranges = std::vector<PageLabelRange>;

TEST(PageLabels, RangesNumberTheirPagesFromTheirStart) {
    const Ranges ranges{{0, Style::romanLower, {}, 1}, {4, Style::numbers, {}, 1}};
    QStringList labels;
    for (int page = 0; page <= 5; ++page)
        labels.append(PageLabels::label(page, ranges).value_or(u"?"_s));
    EXPECT_EQ(labels, (QStringList{u"i"_s, u"ii"_s, u"iii"_s, u"iv"_s, u"1"_s, u"2"_s}));
    EXPECT_EQ(PageLabels::label(27, {{0, Style::lettersUpper, u"Annex "_s, 1}}), u"Annex BB"_s);
    EXPECT_EQ(PageLabels::label(3, {{2, Style::none, u"Cover"_s, 1}}), u"Cover"_s);
    EXPECT_EQ(PageLabels::label(2, {{2, Style::numbers, u"A-"_s, 7}, {2, Style::numbers, u"B-"_s, 1}}), u"A-7"_s);
}

TEST(PageLabels, NoRangeAtOrBeforeThePageGivesNoLabel) {
    EXPECT_EQ(PageLabels::label(0, {}), std::nullopt);
    EXPECT_EQ(PageLabels::label(2, {{3, Style::numbers, {}, 1}, {5, Style::numbers, {}, 1}}), std::nullopt);
}

TEST(PageLabels, NumberTextInEachStyle) {
    EXPECT_EQ(PageLabels::numberText(3999, Style::romanUpper), u"MMMCMXCIX"_s);
    EXPECT_EQ(PageLabels::numberText(1994, Style::romanLower), u"mcmxciv"_s);
    EXPECT_EQ(PageLabels::numberText(4000, Style::romanUpper), u"4000"_s);
    EXPECT_EQ(PageLabels::numberText(0, Style::romanLower), u"0"_s);
    EXPECT_EQ(PageLabels::numberText(-3, Style::numbers), u"-3"_s);
    EXPECT_EQ(PageLabels::numberText(1, Style::lettersUpper), u"A"_s);
    EXPECT_EQ(PageLabels::numberText(26, Style::lettersUpper), u"Z"_s);
    EXPECT_EQ(PageLabels::numberText(27, Style::lettersUpper), u"AA"_s);
    EXPECT_EQ(PageLabels::numberText(53, Style::lettersLower), u"aaa"_s);
    EXPECT_EQ(PageLabels::numberText(0, Style::lettersUpper), u""_s);
    EXPECT_EQ(PageLabels::numberText(5, Style::none), u""_s);
}

TEST(PageLabels, HugeNumbersNeitherOverflowNorExhaustMemory) {
    // A letter label of this number would be hundreds of petabytes long.
    EXPECT_EQ(PageLabels::numberText(9'000'000'000'000'000'000, Style::lettersUpper), u"9000000000000000000"_s);
    EXPECT_EQ(PageLabels::numberText(26'000, Style::lettersUpper).size(), 1000);
    const std::int64_t largest = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(PageLabels::label(1, {{0, Style::numbers, {}, largest}}), std::nullopt);
    EXPECT_EQ(PageLabels::label(0, {{0, Style::numbers, {}, largest}}), QString::number(largest));
}

TEST(PageLabels, NormalizedKeepsRangesInsideTheDocument) {
    EXPECT_EQ(PageLabels::normalized({}, 5), (Ranges{{0, Style::numbers, {}, 1}}));
    EXPECT_EQ(PageLabels::normalized({}, 0), (Ranges{{0, Style::numbers, {}, 1}}));
    const Ranges messy{{3, Style::romanUpper, {}, 1},  {0, Style::lettersLower, {}, 1}, {5, Style::numbers, {}, 1},
                       {-1, Style::numbers, {}, 1},    {3, Style::numbers, u"B"_s, 4}};
    EXPECT_EQ(PageLabels::normalized(messy, 5),
              (Ranges{{0, Style::lettersLower, {}, 1}, {3, Style::numbers, u"B"_s, 4}}));
    EXPECT_EQ(PageLabels::normalized({{2, Style::romanUpper, {}, 1}}, 0), (Ranges{{0, Style::numbers, {}, 1}}));
    EXPECT_EQ(PageLabels::normalized({{0, Style::romanUpper, {}, 3}}, -2), (Ranges{{0, Style::romanUpper, {}, 3}}));
}

TEST(PageLabels, JSONKeepsFieldOrderAndRefusesUnknownStyles) {
    const PageLabelRange range{4, Style::romanLower, u"A-"_s, 2};
    EXPECT_EQ(range.jsonText(), QByteArray(R"({"startPage":4,"style":"romanLower","prefix":"A-","firstNumber":2})"));
    EXPECT_EQ(PageLabelRange::fromJson(JSONCoding::decode(range.jsonText())), range);
    EXPECT_THROW(PageLabelRange::fromJson(JSONCoding::decode(
                     R"({"startPage":4,"style":"roman","prefix":"","firstNumber":2})")),
                 JSONDecodingError);
    EXPECT_THROW(PageLabelRange::fromJson(JSONCoding::decode(R"({"startPage":4,"style":"numbers","prefix":""})")),
                 JSONDecodingError);
    EXPECT_EQ(pageLabelStyleFromRawValue(u"lettersUpper"), Style::lettersUpper);
    EXPECT_EQ(pdfLetter(Style::romanLower), u"r"_s);
    EXPECT_EQ(pdfLetter(Style::none), std::nullopt);
}

}  // namespace
