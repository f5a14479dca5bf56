#include "ZantrelKit/Localization.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ZantrelKit;

namespace {

TEST(FillArguments, TakesTextAndIntegersInOrderOrByPosition) {
    EXPECT_EQ(fillArguments(QStringLiteral("Step %lld of %lld"), {2, 4}), QStringLiteral("Step 2 of 4"));
    EXPECT_EQ(fillArguments(QStringLiteral("%@ had %@ before"), {QStringLiteral("A"), QStringLiteral("B")}),
              QStringLiteral("A had B before"));
    EXPECT_EQ(fillArguments(QStringLiteral("%2$@ before %1$@"), {QStringLiteral("A"), QStringLiteral("B")}),
              QStringLiteral("B before A"));
    EXPECT_EQ(fillArguments(QStringLiteral("%2$lld von %1$lld"), {7, 2}), QStringLiteral("2 von 7"));
    EXPECT_EQ(fillArguments(QStringLiteral("%lld%% of %@"), {-3, QStringLiteral("x")}),
              QStringLiteral("-3% of x"));
    EXPECT_EQ(fillArguments(QStringLiteral("%ld and %d"), {qint64{9'000'000'000}, 1}),
              QStringLiteral("9000000000 and 1"));
}

TEST(FillArguments, FaultyPatternsShowInsteadOfBreaking) {
    // A specifier without an argument stays as written; a stray percent stays text.
    EXPECT_EQ(fillArguments(QStringLiteral("%@ and %@"), {QStringLiteral("one")}), QStringLiteral("one and %@"));
    EXPECT_EQ(fillArguments(QStringLiteral("%3$@"), {QStringLiteral("a")}), QStringLiteral("%3$@"));
    EXPECT_EQ(fillArguments(QStringLiteral("100% sure %x %"), {}), QStringLiteral("100% sure %x %"));
    // The other kind of argument is written as text all the same.
    EXPECT_EQ(fillArguments(QStringLiteral("%lld files"), {QStringLiteral("many")}), QStringLiteral("many files"));
    EXPECT_EQ(fillArguments(QStringLiteral("%@ files"), {3}), QStringLiteral("3 files"));
    // An argument's own percent signs are not read as specifiers.
    EXPECT_EQ(fillArguments(QStringLiteral("%@ %@"), {QStringLiteral("%@"), QStringLiteral("b")}),
              QStringLiteral("%@ b"));
}

class StringTablesTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        write(u"de", R"({"greet": "Hallo %@", "count": "%2$lld von %1$lld", "number": 5})");
        write(u"pt", R"({"word": "pt", "only": "pt only"})");
        write(u"pt-BR", R"({"word": "br"})");
        write(u"fr", "{not json");
    }
    void TearDown() override { Localization::resetLocale(); }

    void write(const char16_t* language, const char* json) {
        const QString dir = folder.path() + u'/' + QString::fromUtf16(language) + QStringLiteral(".lproj");
        ASSERT_TRUE(QDir().mkpath(dir));
        QFile file(dir + QStringLiteral("/Localizable.json"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(json);
    }

    QTemporaryDir folder;
};

TEST_F(StringTablesTest, TranslationWithArgumentsAndEnglishDefaultOtherwise) {
    const StringTables tables(folder.path());
    Localization::setLocale(QLocale(QStringLiteral("de_DE")));
    EXPECT_EQ(tables.text(QStringLiteral("greet"), QStringLiteral("Hello %@"), {QStringLiteral("Ann")}),
              QStringLiteral("Hallo Ann"));
    EXPECT_EQ(tables.text(QStringLiteral("count"), QStringLiteral("%lld of %lld"), {7, 2}),
              QStringLiteral("2 von 7"));
    // A missing entry, or one that is not a text, gives the English default.
    EXPECT_EQ(tables.text(QStringLiteral("absent"), QStringLiteral("%lld left"), {3}), QStringLiteral("3 left"));
    EXPECT_EQ(tables.text(QStringLiteral("number"), QStringLiteral("Five")), QStringLiteral("Five"));

    // The locale is read on every call.
    Localization::setLocale(QLocale(QStringLiteral("en_US")));
    EXPECT_EQ(tables.text(QStringLiteral("greet"), QStringLiteral("Hello %@"), {QStringLiteral("Ann")}),
              QStringLiteral("Hello Ann"));
}

TEST_F(StringTablesTest, RegionTableFirstThenLanguageTable) {
    const StringTables tables(folder.path());
    const QLocale brazil(QStringLiteral("pt_BR"));
    EXPECT_EQ(tables.lookup(QStringLiteral("word"), QStringLiteral("en"), brazil), QStringLiteral("br"));
    EXPECT_EQ(tables.lookup(QStringLiteral("only"), QStringLiteral("en"), brazil), QStringLiteral("pt only"));
    EXPECT_EQ(tables.lookup(QStringLiteral("word"), QStringLiteral("en"), QLocale(QStringLiteral("pt_PT"))),
              QStringLiteral("pt"));
}

TEST_F(StringTablesTest, BrokenOrMissingTableGivesEnglish) {
    const StringTables tables(folder.path());
    EXPECT_EQ(tables.lookup(QStringLiteral("greet"), QStringLiteral("Hello"), QLocale(QStringLiteral("fr_FR"))),
              QStringLiteral("Hello"));
    EXPECT_EQ(tables.lookup(QStringLiteral("greet"), QStringLiteral("Hello"), QLocale(QStringLiteral("ja_JP"))),
              QStringLiteral("Hello"));
    const StringTables nowhere(folder.path() + QStringLiteral("/none"));
    EXPECT_EQ(nowhere.lookup(QStringLiteral("greet"), QStringLiteral("Hello"), QLocale(QStringLiteral("de_DE"))),
              QStringLiteral("Hello"));
}

TEST(TableLanguages, MostSpecificFirst) {
    const QStringList brazil = tableLanguages(QLocale(QStringLiteral("pt_BR")));
    ASSERT_TRUE(brazil.contains(QStringLiteral("pt-BR")) && brazil.contains(QStringLiteral("pt_BR")));
    EXPECT_LT(brazil.indexOf(QStringLiteral("pt_BR")), brazil.indexOf(QStringLiteral("pt")));
    EXPECT_EQ(brazil.first(), QStringLiteral("pt-BR"));
    EXPECT_TRUE(tableLanguages(QLocale(QStringLiteral("zh_CN"))).contains(QStringLiteral("zh-Hans")));
    EXPECT_FALSE(tableLanguages(QLocale::c()).contains(QStringLiteral("C")));
}

}  // namespace
