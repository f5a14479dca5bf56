#include "ZantrelKit/documents/PageMarks.h"

#include "ZantrelKit/JSONCoding.h"

#include <gtest/gtest.h>

using namespace ZantrelKit;
using namespace Qt::Literals::StringLiterals;

namespace {

using Slot = PageMark::Slot;
using Content = PageMark::Content;
using Indexes = std::vector<std::int64_t>;
using Lines = std::vector<PageMarks::NumberedLine>;

std::optional<Indexes> pagesOf(const QString& pages, std::int64_t count) {
    PageMark mark = PageMark::pageNumber(u"{page}"_s, Slot::bottomCenter);
    mark.pages = pages;
    return PageMarks::pageIndexes(mark, count);
}

std::string decodingError(const QByteArray& json) {
    try {
        Content::fromJson(JSONCoding::decode(json));
    } catch (const JSONDecodingError& error) {
        return error.what();
    }
    return "decoded";
}

TEST(PageMarks, PagesTextPicksPagesOnceAscending) {
    EXPECT_EQ(pagesOf(u""_s, 3), (Indexes{0, 1, 2}));
    EXPECT_EQ(pagesOf(u" \t "_s, 2), (Indexes{0, 1}));
    EXPECT_EQ(pagesOf(u""_s, 0), Indexes{});
    EXPECT_EQ(pagesOf(u"3, 1-2, 2"_s, 5), (Indexes{0, 1, 2}));
    EXPECT_EQ(pagesOf(u"4-, 2-5"_s, 5), (Indexes{1, 2, 3, 4}));
    EXPECT_EQ(pagesOf(u"7"_s, 5), std::nullopt);
    EXPECT_EQ(pagesOf(u"\n"_s, 5), std::nullopt);  // a line break is no blank here
}

TEST(PageMarks, ExpandFillsPlaceholdersOnly) {
    EXPECT_EQ(PageMarks::expand(u"Page {page} of {pages}"_s, 0, 12, {}, {}, std::nullopt), u"Page 1 of 12"_s);
    EXPECT_EQ(PageMarks::expand(u"Page {page} of {pages}"_s, 0, 12, {}, {}, u"iv"_s), u"Page iv of 12"_s);
    EXPECT_EQ(PageMarks::expand(u"{file} {date} {page}{page} {Page} {x}"_s, 4, 9, u"2026-12-09"_s, u"a.pdf"_s,
                                std::nullopt),
              u"a.pdf 2026-12-09 55 {Page} {x}"_s);
}

TEST(PageMarks, BatesNumbersPadToAtMostTwelveDigits) {
    EXPECT_EQ(PageMarks::batesNumber(u"ABC"_s, 6, 1, {}, 41), u"ABC000042"_s);
    EXPECT_EQ(PageMarks::batesNumber({}, 20, 1, {}, 0), u"000000000001"_s);
    EXPECT_EQ(PageMarks::batesNumber({}, 0, 7, u"-X"_s, 0), u"7-X"_s);
    EXPECT_EQ(PageMarks::batesNumber({}, 2, 12345, {}, 0), u"12345"_s);
    EXPECT_EQ(PageMarks::batesNumber({}, 4, -5, {}, 0), u"00-5"_s);
}

TEST(PageMarks, LineNumbersEveryNthLine) {
    EXPECT_EQ(PageMarks::lineNumbers(12, 5, true, 99), (Lines{{4, 5}, {9, 10}}));
    EXPECT_EQ(PageMarks::lineNumbers(12, 5, false, 3), (Lines{{1, 5}, {6, 10}, {11, 15}}));
    EXPECT_EQ(PageMarks::lineNumbers(2, 0, true, 0), (Lines{{0, 1}, {1, 2}}));
    EXPECT_EQ(PageMarks::lineNumbers(2, -4, false, 10), (Lines{{0, 11}, {1, 12}}));
    EXPECT_EQ(PageMarks::lineNumbers(0, 1, true, 0), Lines{});
}

TEST(PageMarks, OriginPerSlot) {
    const QSizeF box(100, 20);
    const QSizeF page(600, 800);
    EXPECT_EQ(PageMarks::origin(Slot::topLeft, box, page, 36), QPointF(36, 744));
    EXPECT_EQ(PageMarks::origin(Slot::topCenter, box, page, 36), QPointF(250, 744));
    EXPECT_EQ(PageMarks::origin(Slot::topRight, box, page, 36), QPointF(464, 744));
    EXPECT_EQ(PageMarks::origin(Slot::middle, box, page, 36), QPointF(250, 390));
    EXPECT_EQ(PageMarks::origin(Slot::bottomLeft, box, page, 36), QPointF(36, 36));
    EXPECT_EQ(PageMarks::origin(Slot::bottomCenter, box, page, 36), QPointF(250, 36));
    EXPECT_EQ(PageMarks::origin(Slot::bottomRight, box, page, 36), QPointF(464, 36));
}

TEST(PageMarks, JSONFormKeepsKeyOrderAndRoundTrips) {
    const PageMark watermark = PageMark::watermark(u"DRAFT"_s);
    EXPECT_EQ(watermark.jsonText(),
              QByteArray(R"({"content":{"text":{"_0":"DRAFT"}},"role":"watermark","slot":"middle","size":72,)"
                         R"("color":9051164,"opacity":0.18,"angle":45,"behind":true,"margin":36,"pages":""})"));
    EXPECT_EQ(PageMark::fromJson(JSONCoding::decode(watermark.jsonText())), watermark);

    PageMark bates(Content{Content::Bates{u"ABC"_s, 6, 1, u"-P"_s}}, PageMark::Role::bates, Slot::bottomRight);
    bates.pages = u"2-"_s;
    PageMark lines(Content{Content::LineNumbers{5, true}}, PageMark::Role::lineNumbers, Slot::topLeft);
    PageMark picture(Content{Content::Picture{QByteArray("\x89PNG\0\1", 6), 0.5}}, PageMark::Role::header,
                     Slot::topRight);
    EXPECT_EQ(picture.content.jsonText(), QByteArray(R"({"picture":{"_0":"iVBORwAB","scale":0.5}})"));
    EXPECT_EQ(bates.content.jsonText(),
              QByteArray(R"({"bates":{"prefix":"ABC","digits":6,"start":1,"suffix":"-P"}})"));
    for (const PageMark& mark : {bates, lines, picture})
        EXPECT_EQ(PageMark::fromJson(mark.toJson()), mark);
}

TEST(PageMarks, ContentNeedsExactlyOneCaseKey) {
    const std::string message = "Invalid number of keys found, expected one.";
    EXPECT_EQ(decodingError(R"({"text":{"_0":"a"},"bates":{"prefix":"","digits":1,"start":1,"suffix":""}})"), message);
    EXPECT_EQ(decodingError("{}"), message);
    EXPECT_EQ(decodingError(R"({"stamp":{"_0":"a"}})"), message);
    EXPECT_EQ(decodingError(R"({"text":{"_0":"a"},"note":1})"), "decoded");
    EXPECT_NE(decodingError(R"({"lineNumbers":{"every":5}})"), "decoded");
    EXPECT_NE(decodingError(R"({"picture":{"_0":"not base64!","scale":1}})"), "decoded");
}

TEST(PageMarks, MarkDecodingRequiresEveryKeyWithItsType) {
    const QJsonObject whole = PageMark::watermark(u"X"_s).toJson().toObject();
    for (const QString& key : whole.keys()) {
        QJsonObject missing = whole;
        missing.remove(key);
        EXPECT_THROW(PageMark::fromJson(missing), JSONDecodingError) << key.toStdString();
    }
    QJsonObject wrong = whole;
    wrong[u"behind"_s] = 1;
    EXPECT_THROW(PageMark::fromJson(wrong), JSONDecodingError);
    wrong = whole;
    wrong[u"color"_s] = -1;
    EXPECT_THROW(PageMark::fromJson(wrong), JSONDecodingError);
    wrong = whole;
    wrong[u"slot"_s] = u"centre"_s;
    EXPECT_THROW(PageMark::fromJson(wrong), JSONDecodingError);
}

}  // namespace
