#include "text/LanguageMatch.h"
#include "text/Languages.h"

#include <gtest/gtest.h>

using namespace ZantrelText;

namespace {

std::string maximal(const QString& identifier) { return LanguageMatch::maximized(identifier).identifier().toStdString(); }

QStringList match(const QStringList& preferred, const QStringList& supported) {
    return LanguageMatch::match(preferred, supported);
}

}  // namespace

TEST(LanguageMatch, MaximizingAddsLikelyScriptAndRegion) {
    EXPECT_EQ(maximal("en"), "en-Latn-US");
    EXPECT_EQ(maximal("en_GB"), "en-Latn-GB");
    EXPECT_EQ(maximal("pt"), "pt-Latn-BR");
    EXPECT_EQ(maximal("zh-Hans"), "zh-Hans-CN");
    EXPECT_EQ(maximal("zh-Hant"), "zh-Hant-TW");
    EXPECT_EQ(maximal("zh-TW"), "zh-Hant-TW");
    // Unknown to the locale data: kept as named.
    EXPECT_EQ(maximal("qq-ZZ"), "qq-ZZ");
    EXPECT_EQ(maximal(""), "");
}

TEST(LanguageMatch, RegionFallsBackToLanguageAndScriptWithoutRepeats) {
    EXPECT_EQ(match({"en-GB", "en-US"}, {"en-US", "fr-FR"}), QStringList{"en-US"});
    EXPECT_EQ(match({"fr", "en-GB"}, {"en-US", "fr-FR"}), (QStringList{"fr-FR", "en-US"}));
    EXPECT_EQ(match({"en-GB"}, {"en-US", "en-GB"}), QStringList{"en-GB"});
}

TEST(LanguageMatch, ScriptsMustAgreeEvenInTheFallback) {
    EXPECT_EQ(match({"zh-Hant"}, {"zh-Hans", "zh-Hant"}), QStringList{"zh-Hant"});
    EXPECT_TRUE(match({"zh-Hant"}, {"zh-Hans"}).isEmpty());
}

TEST(LanguageMatch, PortugueseMeansBrazil) {
    EXPECT_EQ(match({"pt"}, {"pt-PT", "pt-BR"}), QStringList{"pt-BR"});
    EXPECT_TRUE(LanguageMatch::matches("pt-BR", LanguageMatch::maximized("pt")));
    EXPECT_FALSE(LanguageMatch::matches("pt-PT", LanguageMatch::maximized("pt")));
}

TEST(LanguageMatch, UnmatchedPreferencesAreSkippedAndEmptySupportGivesNothing) {
    EXPECT_EQ(match({"ja", "de-DE", "xx"}, {"de-DE"}), QStringList{"de-DE"});
    EXPECT_TRUE(match({"en-US"}, {}).isEmpty());
    EXPECT_TRUE(match({}, {"en-US"}).isEmpty());
}

TEST(SupportedLanguages, InstalledModelsAsMaximalIdentifiers) {
    EXPECT_EQ(TextReader::languageOfModel("eng"), QStringLiteral("en"));
    EXPECT_EQ(TextReader::languageOfModel("deu"), QStringLiteral("de"));
    EXPECT_EQ(TextReader::languageOfModel("fra"), QStringLiteral("fr"));
    EXPECT_EQ(TextReader::languageOfModel("jpn"), QStringLiteral("ja"));
    EXPECT_EQ(TextReader::languageOfModel("chi_sim"), QStringLiteral("zh-Hans"));
    EXPECT_EQ(TextReader::languageOfModel("chi_tra"), QStringLiteral("zh-Hant"));
    EXPECT_EQ(TextReader::languageOfModel("osd"), std::nullopt);
    EXPECT_EQ(TextReader::languageOfModel("jpn_vert"), std::nullopt);

    // This machine has the English model.
    const QStringList supported = TextReader::supportedLanguages();
    EXPECT_TRUE(supported.contains("en-Latn-US")) << supported.join(u',').toStdString();
    for (const QString& identifier : supported)
        EXPECT_EQ(LanguageMatch::maximized(identifier).identifier(), identifier);
}
