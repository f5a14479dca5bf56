#include "GlyphnabCore/Outcome.h"

#include <gtest/gtest.h>

using namespace GlyphnabCore;
using ZantrelText::FoundCode;
using ZantrelText::LineMode;
using ZantrelText::Reading;
using ZantrelText::TableText;
using ZantrelText::TextLayout;
using ZantrelText::TextPiece;

namespace {

FoundCode code(const QString& payload, const QString& kind = QStringLiteral("QR code")) {
    return {payload, kind, kind == u"QR code", QRectF(0, 0, 10, 10)};
}

Reading codesReading(QList<FoundCode> codes, const QString& words = {}) {
    Reading reading;
    if (!words.isEmpty())
        reading.layout = TextLayout({TextPiece{words, QRectF(0, 0, 200, 10)}});
    reading.codes = std::move(codes);
    return reading;
}

Reading tableReading(QList<QStringList> rows) {
    Reading reading;
    reading.table = TableText{};
    reading.table->rows = std::move(rows);
    return reading;
}

// Two wide lines of running text: kept as two lines, joined into one paragraph.
Reading paragraphReading() {
    return Reading{TextLayout({TextPiece{QStringLiteral("the first line of a long paragraph goes on"), QRectF(0, 0, 400, 10)},
                               TextPiece{QStringLiteral("and the second line ends it"), QRectF(0, 14, 400, 10)}}),
                   std::nullopt, {}};
}

}  // namespace

TEST(OutcomeKinds, NoPartsAndBlankPartsGiveNothing) {
    EXPECT_EQ(Outcome({}, LineMode::keep), Outcome());
    const Outcome blank({Part::text(QStringLiteral(" \n\t "))}, LineMode::keep);
    EXPECT_TRUE(blank.kind.is<Outcome::Kind::Nothing>());
    EXPECT_TRUE(blank.copied.isEmpty());
    EXPECT_TRUE(blank.preview.isEmpty());
    // A present table without rows renders nothing.
    EXPECT_TRUE(Outcome({Part::reading(tableReading({}))}, LineMode::keep).kind.is<Outcome::Kind::Nothing>());
}

TEST(OutcomeKinds, OneTrimmedWordIsTextWithoutOtherWay) {
    const Outcome outcome({Part::text(QStringLiteral("  word  "))}, LineMode::join);
    EXPECT_EQ(outcome.kind, Outcome::Kind::text());
    EXPECT_EQ(outcome.copied, "word");
    EXPECT_FALSE(outcome.otherWay);
    EXPECT_FALSE(outcome.alternate);
}

TEST(OutcomeKinds, CodesWinOverTextAndArePayloadsOnce) {
    const Outcome same({Part::reading(codesReading({code("A")})), Part::reading(codesReading({code("A")}))},
                       LineMode::keep);
    EXPECT_EQ(same.kind, Outcome::Kind::code("QR code"));
    EXPECT_EQ(same.copied, "A");

    const Outcome three({Part::reading(codesReading({code("first", "EAN-13"), code("second"), code("first")}))},
                        LineMode::keep);
    EXPECT_EQ(three.kind, Outcome::Kind::codes(2));
    EXPECT_EQ(three.copied, "first\nsecond");

    const Outcome withText({Part::reading(codesReading({code("payload")}, QStringLiteral("Scan me")))}, LineMode::keep);
    EXPECT_EQ(withText.copied, "payload");
    EXPECT_EQ(withText.alternate, QString("Scan me"));
    EXPECT_FALSE(withText.otherWay);
    EXPECT_FALSE(Outcome({Part::reading(codesReading({code("payload")}))}, LineMode::keep).alternate);
}

TEST(OutcomeKinds, CodesWinOverATable) {
    Reading reading = tableReading({{"a", "b"}});
    reading.codes = {code("x")};
    const Outcome outcome({Part::reading(reading)}, LineMode::keep);
    EXPECT_EQ(outcome.kind, Outcome::Kind::code("QR code"));
    EXPECT_EQ(outcome.alternate, QString("a\tb"));
}

TEST(OutcomeKinds, SingleTableGivesRowsAndColumnsButNotAmongSeveralParts) {
    const Reading table = tableReading({{"1", "2", "3", "4"}, {"5", "6", "7", "8"}, {"9", "10", "11", "12"}});
    const Outcome outcome({Part::reading(table)}, LineMode::join);
    EXPECT_EQ(outcome.kind, Outcome::Kind::table(3, 4));
    EXPECT_EQ(outcome.copied, "1\t2\t3\t4\n5\t6\t7\t8\n9\t10\t11\t12");
    EXPECT_FALSE(outcome.otherWay);

    const Outcome several({Part::reading(table), Part::text(QStringLiteral("more"))}, LineMode::join);
    EXPECT_EQ(several.kind, Outcome::Kind::text());
    EXPECT_TRUE(several.copied.endsWith("\n\nmore"));
}

TEST(OutcomeKinds, ARecopiedTableIsATableAgainAndOtherTextStaysText) {
    const QString table = Outcome({Part::reading(tableReading({{"", "Q1", "Q2"}, {"North", "4", ""}, {"South", "", "9"}}))},
                                  LineMode::keep)
                              .copied;
    const Outcome again = Outcome::recopied(table);
    EXPECT_EQ(again.kind, Outcome::Kind::table(3, 3)) << "the empty corner cell was trimmed off the text";
    EXPECT_EQ(again.copied, table);
    EXPECT_FALSE(again.otherWay);

    // Tabs that only indent, a single row, and rows without tabs between them are text.
    EXPECT_EQ(Outcome::recopied(QStringLiteral("if (a)\n\tb();\n\tc();")).kind, Outcome::Kind::text());
    EXPECT_EQ(Outcome::recopied(QStringLiteral("a\tb\tc")).kind, Outcome::Kind::text());
    EXPECT_EQ(Outcome::recopied(QStringLiteral("a\tb\nplain line\nc\td")).kind, Outcome::Kind::text());
    EXPECT_EQ(Outcome::recopied(QStringLiteral("Two lines\nof prose")), Outcome({Part::text("Two lines\nof prose")}, LineMode::keep));
}

TEST(OutcomeKinds, OtherWayFlipsAndFlipsBack) {
    const Outcome kept({Part::reading(paragraphReading())}, LineMode::keep);
    ASSERT_TRUE(kept.otherWay);
    EXPECT_TRUE(kept.copied.contains(u'\n'));
    EXPECT_FALSE(kept.otherWay->contains(u'\n'));
    const std::optional<Outcome> flipped = kept.flipped();
    ASSERT_TRUE(flipped);
    EXPECT_EQ(flipped->copied, *kept.otherWay);
    EXPECT_EQ(flipped->preview, Outcome::previewOf(*kept.otherWay));
    EXPECT_EQ(flipped->flipped(), kept);

    EXPECT_FALSE(Outcome({Part::reading(tableReading({{"a"}}))}, LineMode::keep).flipped());
    EXPECT_FALSE(Outcome({Part::reading(codesReading({code("a")}))}, LineMode::keep).flipped());
    EXPECT_FALSE(Outcome().flipped());
}

TEST(OutcomeLink, WholeTextMustBeOneWebAddress) {
    EXPECT_EQ(Outcome::linkIn("  https://example.com/path?q=1 \n"), QUrl("https://example.com/path?q=1"));
    EXPECT_TRUE(Outcome::linkIn("HTTP://Example.com"));
    EXPECT_FALSE(Outcome::linkIn("see https://example.com"));
    EXPECT_FALSE(Outcome::linkIn("ftp://example.com/file"));
    EXPECT_FALSE(Outcome::linkIn("mailto:someone@example.com"));
    EXPECT_FALSE(Outcome::linkIn("https://"));
    EXPECT_FALSE(Outcome::linkIn("https:example.com"));
    EXPECT_FALSE(Outcome::linkIn("https://example.com."));
    EXPECT_FALSE(Outcome::linkIn(""));

    const Outcome one({Part::reading(codesReading({code("https://example.com")}))}, LineMode::keep);
    EXPECT_TRUE(one.link);
    const Outcome two({Part::reading(codesReading({code("https://a.example"), code("https://b.example")}))},
                      LineMode::keep);
    EXPECT_FALSE(two.link);
}

TEST(OutcomePreview, TwoVisibleLinesCutAt120Characters) {
    const QString exact(120, u'x');
    EXPECT_EQ(Outcome::previewOf(exact), exact);
    EXPECT_EQ(Outcome::previewOf(QString(119, u'y') + QStringLiteral("  z")), QString(119, u'y') + QChar(0x2026));
    EXPECT_EQ(Outcome::previewOf(QString(121, u'x')), exact + QChar(0x2026));
    // 121 user-perceived characters, each two code units.
    const QString accent = QStringLiteral("e\u0301");
    EXPECT_EQ(Outcome::previewOf(accent.repeated(121)), accent.repeated(120) + QChar(0x2026));

    EXPECT_EQ(Outcome::previewOf("\n\n one\r\n\r\ntwo\nthree\nfour\nfive"), "one\ntwo");
    EXPECT_EQ(Outcome::previewOf("a\tb"), "a  b");
    for (const char16_t breakCharacter : {u'\v', u'\f', u'\r', u'\u0085', u'\u2028', u'\u2029'})
        EXPECT_EQ(Outcome::previewOf(QStringLiteral("a") + QChar(breakCharacter) + QStringLiteral("b")), "a\nb");
    EXPECT_EQ(Outcome::previewOf(" \t \n  "), "");
}
