#include "ZantrelKit/Contrast.h"
#include "ZantrelKit/Formatting.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ZantrelKit;

namespace {

// Every test here starts and ends in the kit's default locale.
class FormattingTest : public testing::Test {
protected:
    void SetUp() override { Formatting::setLocale(QLocale(QStringLiteral("en_US"))); }
    void TearDown() override { Formatting::setLocale(QLocale(QStringLiteral("en_US"))); }
};

TEST_F(FormattingTest, BytesInDecimalUnitsWithACapitalK) {
    EXPECT_EQ(Formatting::bytes(0), QStringLiteral("0 KB"));
    EXPECT_EQ(Formatting::bytes(1), QStringLiteral("1 byte"));
    EXPECT_EQ(Formatting::bytes(999), QStringLiteral("999 bytes"));
    EXPECT_EQ(Formatting::bytes(1000), QStringLiteral("1 KB"));
    EXPECT_EQ(Formatting::bytes(2048), QStringLiteral("2 KB"));
    EXPECT_EQ(Formatting::bytes(1'500), QStringLiteral("2 KB"));  // kilobytes show no fraction
    EXPECT_EQ(Formatting::bytes(1'500'000), QStringLiteral("1.5 MB"));
    EXPECT_EQ(Formatting::bytes(2'000'000), QStringLiteral("2 MB"));  // no trailing zero
    EXPECT_EQ(Formatting::bytes(1'234'567'890), QStringLiteral("1.23 GB"));
    EXPECT_EQ(Formatting::bytes(5'000'000'000'000), QStringLiteral("5 TB"));
    EXPECT_EQ(Formatting::bytes(-2048), QStringLiteral("-2 KB"));
}

TEST_F(FormattingTest, RoundingThatReachesAThousandMovesUpAUnit) {
    EXPECT_EQ(Formatting::bytes(999'999), QStringLiteral("1 MB"));
    EXPECT_EQ(Formatting::bytes(999'960'000), QStringLiteral("1 GB"));
    EXPECT_EQ(Formatting::bytes(std::numeric_limits<std::int64_t>::max()), QStringLiteral("9.22 EB"));
    EXPECT_EQ(Formatting::bytes(std::numeric_limits<std::int64_t>::min()), QStringLiteral("-9.22 EB"));
}

TEST_F(FormattingTest, BytesAndPercentFollowTheSharedLocale) {
    Formatting::setLocale(QLocale(QStringLiteral("de_DE")));
    EXPECT_EQ(Formatting::bytes(500), QStringLiteral("500 Byte"));
    EXPECT_EQ(Formatting::bytes(1'500'000), QStringLiteral("1,5 MB"));
    EXPECT_EQ(Formatting::bytes(2048), QStringLiteral("2 KB"));
    EXPECT_EQ(Formatting::percent(25), QStringLiteral("25\u00A0%"));
    Formatting::setLocale(QLocale(QStringLiteral("fr_FR")));
    EXPECT_EQ(Formatting::bytes(1), QStringLiteral("1\u00A0octet"));
    EXPECT_EQ(Formatting::bytes(500), QStringLiteral("500\u00A0octets"));
    EXPECT_EQ(Formatting::bytes(2048), QStringLiteral("2 ko"));
    EXPECT_EQ(Formatting::bytes(1'500'000), QStringLiteral("1,5 Mo"));
    EXPECT_EQ(Formatting::percent(25), QStringLiteral("25\u00A0%"));
    Formatting::setLocale(QLocale(QStringLiteral("tr_TR")));
    EXPECT_EQ(Formatting::percent(25), QStringLiteral("%25"));
    // Where a table by language goes wrong: Swiss German writes the sign close, unlike German;
    // Basque writes it first, with a space.
    Formatting::setLocale(QLocale(QStringLiteral("de_CH")));
    EXPECT_EQ(Formatting::percent(25), QStringLiteral("25%"));
    Formatting::setLocale(QLocale(QStringLiteral("eu_ES")));
    EXPECT_EQ(Formatting::percent(25), QStringLiteral("%\u00A025"));
    Formatting::setLocale(QLocale(QStringLiteral("en_US")));
    EXPECT_EQ(Formatting::percent(25), QStringLiteral("25%"));
    EXPECT_EQ(Formatting::percent(150), QStringLiteral("150%"));
    EXPECT_EQ(Formatting::percent(0), QStringLiteral("0%"));
    EXPECT_EQ(Formatting::percent(1500), QStringLiteral("1,500%"));
}

TEST_F(FormattingTest, SizeChange) {
    EXPECT_EQ(Formatting::sizeChange(0, 5), std::nullopt);
    EXPECT_EQ(Formatting::sizeChange(-4, 5), std::nullopt);
    EXPECT_EQ(Formatting::sizeChange(100, 75), QStringLiteral("25% smaller"));
    EXPECT_EQ(Formatting::sizeChange(1000, 1004), QStringLiteral("About the same size"));
    EXPECT_EQ(Formatting::sizeChange(200, 201), QStringLiteral("1% larger"));  // 0.5 away from zero
    EXPECT_EQ(Formatting::sizeChange(200, 199), QStringLiteral("1% smaller"));
    EXPECT_EQ(Formatting::sizeChange(100, 300), QStringLiteral("200% larger"));
    EXPECT_EQ(Formatting::sizeChange(100, 0), QStringLiteral("100% smaller"));
}

TEST(Contrast, LuminanceAndRatioAtTheExtremes) {
    EXPECT_DOUBLE_EQ(Contrast::luminance(0xFFFFFF), 1.0);
    EXPECT_DOUBLE_EQ(Contrast::luminance(0x000000), 0.0);
    EXPECT_DOUBLE_EQ(Contrast::ratio(0x000000, 0xFFFFFF), 21.0);
    EXPECT_DOUBLE_EQ(Contrast::ratio(0xFFFFFF, 0x000000), 21.0);
    EXPECT_DOUBLE_EQ(Contrast::ratio(0x3366AA, 0x3366AA), 1.0);
    // The top byte is not part of the colour.
    EXPECT_DOUBLE_EQ(Contrast::luminance(0xFF000000), 0.0);
    // Green weighs most; the linear segment holds below 0.04045.
    EXPECT_GT(Contrast::luminance(0x00FF00), Contrast::luminance(0xFF0000));
    EXPECT_NEAR(Contrast::luminance(0x0A0A0A), (10.0 / 255.0) / 12.92, 1e-12);
    EXPECT_NEAR(Contrast::ratio(0x777777, 0xFFFFFF), 4.48, 0.01);
}

TEST(Contrast, MixRoundsEachChannelHalfAwayFromZero) {
    EXPECT_EQ(Contrast::mix(0xFF0000, 0x0000FF, 0.5), 0x800080u);
    EXPECT_EQ(Contrast::mix(0x123456, 0xABCDEF, 1.0), 0x123456u);
    EXPECT_EQ(Contrast::mix(0x123456, 0xABCDEF, 0.0), 0xABCDEFu);
    EXPECT_EQ(Contrast::mix(0xFF123456, 0xEE000000, 1.0), 0x123456u);  // top byte zero on output
}

}  // namespace
