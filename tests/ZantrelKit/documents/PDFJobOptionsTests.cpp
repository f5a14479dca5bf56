#include "ZantrelKit/documents/PDFJobOptions.h"

#include "ZantrelKit/JSONCoding.h"

#include <gtest/gtest.h>

using namespace ZantrelKit;
using namespace Qt::Literals::StringLiterals;

namespace {

using Ranges = std::vector<PageRange>;

Ranges read(const QString& text, std::int64_t pageCount = 10) {
    const auto ranges = PageRanges::parse(text, pageCount);
    EXPECT_TRUE(ranges.has_value()) << text.toStdString();
    return ranges.value_or(Ranges{});
}

PageRangeError failure(const QString& text, std::int64_t pageCount = 10) {
    const auto ranges = PageRanges::parse(text, pageCount);
    EXPECT_FALSE(ranges.has_value()) << text.toStdString();
    return ranges ? PageRangeError::empty() : ranges.error();
}

TEST(PageRanges, ReadsPiecesInTheOrderWritten) {
    EXPECT_EQ(read(u"1-3, 5, 8-"_s), (Ranges{{1, 3}, {5, 5}, {8, 10}}));
    EXPECT_EQ(read(u"7"_s), (Ranges{{7, 7}}));
    EXPECT_EQ(read(u"3 \u2013 5"_s), (Ranges{{3, 5}}));
    EXPECT_EQ(read(u"2\u20144"_s), (Ranges{{2, 4}}));
    EXPECT_EQ(read(u"+4"_s), (Ranges{{4, 4}}));
    EXPECT_EQ(read(u"1,,2"_s), (Ranges{{1, 1}, {2, 2}}));
    EXPECT_EQ(read(u"3, 1-2, 2"_s), (Ranges{{3, 3}, {1, 2}, {2, 2}}));
    EXPECT_EQ(read(u"5-5"_s), (Ranges{{5, 5}}));
    EXPECT_EQ(read(u"\t4\u00a0-\u20036 ,"_s), (Ranges{{4, 6}}));  // tab, no-break and em space are blank
}

TEST(PageRanges, NoPiecesIsEmptyWhateverThePageCount) {
    for (const QString& text : {u""_s, u"   "_s, u" , ,, "_s}) {
        EXPECT_EQ(failure(text), PageRangeError::empty());
        EXPECT_EQ(failure(text, 0), PageRangeError::empty());
    }
}

TEST(PageRanges, NumbersOutsideTheDocument) {
    EXPECT_EQ(failure(u"0"_s), PageRangeError::outOfRange(0, 10));
    EXPECT_EQ(failure(u"11"_s), PageRangeError::outOfRange(11, 10));
    EXPECT_EQ(failure(u"1"_s, 0), PageRangeError::outOfRange(1, 0));
    EXPECT_EQ(failure(u"1-"_s, -3), PageRangeError::outOfRange(1, -3));
}

TEST(PageRanges, BackwardsRangeKeepsTheNumbersAsWritten) {
    EXPECT_EQ(failure(u"5-3"_s), PageRangeError::backwards(5, 3));
}

TEST(PageRanges, UnreadablePiecesAreReportedWholeAfterDashReplacement) {
    for (const QString& piece : {u"-3"_s, u"1-2-3"_s, u"a"_s, u"1 2"_s, u"1\n2"_s, u"2\u20123"_s,
                                 u"2\u22123"_s, u"12345678901234567890"_s, u"\u0665"_s, u"--"_s})
        EXPECT_EQ(failure(piece), PageRangeError::unreadable(piece)) << piece.toStdString();
    EXPECT_EQ(failure(u"1, 2\u2013x "_s), PageRangeError::unreadable(u"2-x"_s));
    EXPECT_EQ(failure(u"9223372036854775808"_s), PageRangeError::unreadable(u"9223372036854775808"_s));
}

TEST(PageRanges, FirstNumberIsTestedBeforeSecondAndBothBeforeOrder) {
    EXPECT_EQ(failure(u"0-x"_s), PageRangeError::outOfRange(0, 10));
    EXPECT_EQ(failure(u"x-0"_s), PageRangeError::unreadable(u"x-0"_s));
    EXPECT_EQ(failure(u"9-0"_s), PageRangeError::outOfRange(0, 10));
    EXPECT_EQ(failure(u"2, x, 99"_s), PageRangeError::unreadable(u"x"_s));  // the first error stops the parse
}

TEST(PageRanges, TextIsWhatParseReadsBack) {
    EXPECT_EQ(PageRanges::text({4, 4}), u"4"_s);
    EXPECT_EQ(PageRanges::text({2, 9}), u"2-9"_s);
    EXPECT_EQ(read(PageRanges::text({2, 9})), (Ranges{{2, 9}}));
    EXPECT_EQ(PageRanges::eachPage(3), (Ranges{{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_TRUE(PageRanges::eachPage(0).empty());
    EXPECT_TRUE(PageRanges::eachPage(-1).empty());
}

TEST(Verdict, TrueOnlyWhenTheSecondIsSmaller) {
    EXPECT_TRUE(Verdict::decide(100, 99));
    EXPECT_FALSE(Verdict::decide(100, 100));
    EXPECT_FALSE(Verdict::decide(100, 101));
}

TEST(PDFJobOptions, RawValuesAreExactAndCodedAsBareStrings) {
    EXPECT_EQ(pdfCompressionFromRawValue(u"smallest"), PDFCompression::smallest);
    EXPECT_EQ(pdfCompressionFromRawValue(u"Smallest"), std::nullopt);
    EXPECT_EQ(splitModeFromRawValue(u"everyPage"), SplitMode::everyPage);
    EXPECT_EQ(splitModeFromRawValue(u"EveryPage"), std::nullopt);
    EXPECT_EQ(JSONCoding::encode(toJson(SplitMode::everyPage)), QByteArray("\"everyPage\""));
    EXPECT_EQ(pdfCompressionFromJson(JSONCoding::decode("\"balanced\"")), PDFCompression::balanced);
    EXPECT_THROW(pdfCompressionFromJson(JSONCoding::decode("\"fast\"")), JSONDecodingError);
    EXPECT_THROW(pdfCompressionFromJson(JSONCoding::decode("1")), JSONDecodingError);
    EXPECT_THROW(splitModeFromJson(JSONCoding::decode("{\"ranges\":1}")), JSONDecodingError);
    for (const SplitMode mode : allSplitModes)
        EXPECT_EQ(splitModeFromJson(toJson(mode)), mode);
}

}  // namespace
