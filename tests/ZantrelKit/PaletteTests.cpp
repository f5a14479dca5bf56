#include "ZantrelKit/AccentPair.h"
#include "ZantrelKit/Palette.h"

#include <gtest/gtest.h>

#include <set>

using namespace ZantrelKit;

namespace {

std::vector<Palette::Tone> tones(const Palette& p) {
    return {p.card, p.cardStroke, p.hairline, p.primary, p.secondary, p.tertiary, p.onAccent, p.danger};
}

TEST(Palette, TablesHoldTheFamilyValuesAndValidOpacities) {
    EXPECT_EQ(Palette::dark.windowTop, 0x15132Au);
    EXPECT_EQ(Palette::light.windowBottom, 0xE8E6F0u);
    EXPECT_EQ(Palette::dark.onAccent, (Palette::Tone{0x000000, 0.8}));
    EXPECT_EQ(Palette::light.cardStroke, (Palette::Tone{0x000000, 0.13}));
    EXPECT_EQ(Palette::light.danger, (Palette::Tone{0xBE2E28, 1.0}));
    for (const Palette* palette : {&Palette::dark, &Palette::light}) {
        EXPECT_LE(palette->windowTop, 0xFFFFFFu);  // bare colours, no opacity byte
        EXPECT_LE(palette->windowBottom, 0xFFFFFFu);
        for (const Palette::Tone& tone : tones(*palette)) {
            EXPECT_GE(tone.alpha, 0.0);
            EXPECT_LE(tone.alpha, 1.0);
            EXPECT_LE(tone.hex, 0xFFFFFFu);
        }
    }
    EXPECT_EQ(Palette::dark.description(), "dark");
    EXPECT_EQ(Palette::light.description(), "light");
}

TEST(AccentPair, GlyphnabIsTheFourthRowAndNamesAreUnique) {
    EXPECT_EQ(AccentPair::all[3], AccentPair::glyphnab);
    EXPECT_EQ(AccentPair::glyphnab.description(), "glyphnab");
    EXPECT_EQ(AccentPair::glyphnab.dark, (AccentPair::Stops{0xFFA3C7, 0xF2669F, 0xFF94BD}));
    EXPECT_EQ(AccentPair::glyphnab.light, (AccentPair::Stops{0xC2255F, 0xA61C50, 0xA61C50}));
    EXPECT_EQ(AccentPair::fallback.light, (AccentPair::Stops{0x34304F, 0x242138, 0x2B2840}));
    std::set<QString> names;
    for (const AccentPair& pair : AccentPair::all) {
        EXPECT_FALSE(pair.name.isEmpty());
        EXPECT_EQ(pair.name, pair.name.toLower());
        names.insert(pair.name);
    }
    EXPECT_EQ(names.size(), AccentPair::all.size());
    EXPECT_FALSE(names.contains(AccentPair::fallback.name));
}

TEST(AccentPair, NamedMatchesWholeCaseSensitiveNamesElseFallback) {
    EXPECT_EQ(AccentPair::named(QStringLiteral("glyphnab")), AccentPair::glyphnab);
    EXPECT_EQ(AccentPair::named(QStringLiteral("Glyphnab")), AccentPair::fallback);
    EXPECT_EQ(AccentPair::named(QString()), AccentPair::fallback);
    EXPECT_EQ(AccentPair::named(QStringLiteral("glyph")), AccentPair::fallback);
    EXPECT_EQ(AccentPair::named(AccentPair::all[0].name), AccentPair::all[0]);
    // The fallback's own name is no row, so it still answers the fallback.
    EXPECT_EQ(AccentPair::named(AccentPair::fallback.name), AccentPair::fallback);
}

}  // namespace
