#include "ZantrelKit/KeyNames.h"
#include "ZantrelKit/Localization.h"
#include "ZantrelKit/Shortcut.h"
#include "ZantrelKit/JSONCoding.h"

#include <QSet>

#include <gtest/gtest.h>

#include <ostream>
#include <unordered_set>

namespace ZantrelKit {
void PrintTo(const Shortcut& shortcut, std::ostream* out) {
    *out << "Shortcut{" << shortcut.keyCode << ", " << shortcut.modifiers.rawValue() << "}";
}
void PrintTo(Shortcut::Modifiers modifiers, std::ostream* out) { *out << "Modifiers(" << modifiers.rawValue() << ")"; }
}  // namespace ZantrelKit

using namespace ZantrelKit;
using Modifiers = Shortcut::Modifiers;

namespace {

const Modifiers controlShiftCommand{Modifiers::control, Modifiers::shift, Modifiers::command};

// Texts read in English whatever the desktop's language.
class EnglishTexts : public testing::Test {
protected:
    void SetUp() override { Localization::setLocale(QLocale(QStringLiteral("en_US"))); }
    void TearDown() override { Localization::resetLocale(); }
};

TEST(ShortcutModifiers, ConvertBothWaysThroughTheFourRows) {
    EXPECT_EQ(controlShiftCommand.rawValue(), 13);
    EXPECT_EQ(controlShiftCommand.carbonFlags(), 0x1300u);
    EXPECT_EQ(Modifiers::fromCarbonFlags(0x1B00), Modifiers(15));
    EXPECT_EQ(Modifiers::fromCarbonFlags(0x1B00).carbonFlags(), 0x1B00u);
    EXPECT_EQ(Modifiers::fromCarbonFlags(0x1B00 | 0x0400 | 0x0001), Modifiers(15));  // other bits ignored
    EXPECT_EQ(Modifiers::fromEventFlags(0x40000 | 0x20000 | 0x100000), controlShiftCommand);
    EXPECT_EQ(Modifiers::fromEventFlags(0x80000), Modifiers::option);
    // Caps lock (0x10000) and function (0x800000) alone give the empty set.
    EXPECT_TRUE(Modifiers::fromEventFlags(0x10000 | 0x800000).isEmpty());
    EXPECT_EQ(Modifiers(15).eventFlags(), 0x1E0000u);
}

TEST(ShortcutModifiers, QtModifiersMapCommandToSuper) {
    EXPECT_EQ(Modifiers::fromQt(Qt::ControlModifier | Qt::ShiftModifier | Qt::MetaModifier), controlShiftCommand);
    EXPECT_EQ(Modifiers::fromQt(Qt::AltModifier | Qt::KeypadModifier), Modifiers::option);
    EXPECT_EQ(controlShiftCommand.qtModifiers(), Qt::ControlModifier | Qt::ShiftModifier | Qt::MetaModifier);
}

TEST(ShortcutModifiers, UnknownBitsAreCarriedButShowNowhere) {
    const Modifiers unknown(16);
    EXPECT_EQ(unknown.carbonFlags(), 0u);
    EXPECT_TRUE(unknown.symbols().isEmpty());
    EXPECT_NE(Shortcut({17, unknown}), Shortcut({17, Modifiers()}));
    EXPECT_EQ(Modifiers(16 | 4).symbols(), QStringLiteral("Shift"));
    EXPECT_EQ(Modifiers().carbonFlags(), 0u);
    EXPECT_TRUE(Modifiers().symbols().isEmpty());
}

TEST(ShortcutModifiers, EqualSetsHashAlikeWhateverTheOrderOfInsertion) {
    Modifiers built;
    built.insert(Modifiers::command);
    built.insert(Modifiers::control);
    built.insert(Modifiers::shift);
    EXPECT_EQ(built, controlShiftCommand);
    const Shortcut a{17, built};
    const Shortcut b{17, Modifiers{Modifiers::shift, Modifiers::control, Modifiers::command}};
    EXPECT_EQ(a, b);
    EXPECT_EQ(qHash(a), qHash(b));
    EXPECT_EQ(std::hash<Shortcut>{}(a), std::hash<Shortcut>{}(b));
    EXPECT_EQ(QSet<Shortcut>{a}.contains(b), true);
    EXPECT_EQ(std::unordered_set<Shortcut>{a}.count(b), 1u);
    built.remove(Modifiers::control);
    EXPECT_EQ(built.rawValue(), 12);
}

TEST(Shortcut, FromCarbonRefusesTheNoKeyCode) {
    EXPECT_FALSE(Shortcut::fromCarbon(65535, 0x1300));
    EXPECT_FALSE(Shortcut::fromCarbon(70000, 0));
    EXPECT_FALSE(Shortcut::fromCarbon(-1, 0));
    EXPECT_EQ(Shortcut::fromCarbon(65534, 0x1300), Shortcut({65534, controlShiftCommand}));
    EXPECT_EQ(Shortcut::fromCarbon(17, 0x0900), Shortcut({17, Modifiers{Modifiers::option, Modifiers::command}}));
}

TEST(KeyNames, NameFollowsSpecialThenTypedThenUSLayout) {
    EXPECT_EQ(KeyNames::name(122, QStringLiteral("x")), QStringLiteral("F1"));
    EXPECT_EQ(KeyNames::name(90, std::nullopt), QStringLiteral("F20"));
    EXPECT_EQ(KeyNames::name(49, QStringLiteral(" ")), QStringLiteral("Space"));
    EXPECT_EQ(KeyNames::name(0, std::nullopt), QStringLiteral("A"));
    EXPECT_EQ(KeyNames::name(0, QStringLiteral("q")), QStringLiteral("Q"));  // AZERTY
    EXPECT_EQ(KeyNames::name(19, QStringLiteral("é")), QStringLiteral("É"));
    EXPECT_EQ(KeyNames::name(27, QStringLiteral("ß")), QStringLiteral("SS"));
    EXPECT_EQ(KeyNames::name(42, std::nullopt), QStringLiteral("\\"));
    EXPECT_EQ(KeyNames::name(200, std::nullopt), QStringLiteral("#200"));
    EXPECT_EQ(KeyNames::name(10, std::nullopt), QStringLiteral("#10"));
    EXPECT_EQ(KeyNames::name(17, QString()), QStringLiteral("T"));  // types nothing
}

TEST(KeyNames, TablesHoldTheirFullSets) {
    EXPECT_EQ(KeyNames::special().size(), 35);
    EXPECT_EQ(KeyNames::usLayout().size(), 47);
    EXPECT_EQ(KeyNames::functionKeyCodes().size(), 20);
    EXPECT_TRUE(KeyNames::isModifierKey(54));
    EXPECT_TRUE(KeyNames::isModifierKey(63));
    EXPECT_FALSE(KeyNames::isModifierKey(64));
    EXPECT_EQ(KeyNames::functionKeyName(96), QStringLiteral("F5"));
    EXPECT_EQ(KeyNames::functionKeyName(123), std::nullopt);  // special, but no function key
}

TEST(KeyNames, TypedTextComesFromTheInstalledSource) {
    EXPECT_FALSE(KeyNames::typedText(0));
    KeyNames::setTypedTextSource([](std::uint16_t code) -> std::optional<QString> {
        if (code == 0)
            return QStringLiteral("q");
        return std::nullopt;
    });
    EXPECT_EQ(KeyNames::typedText(0), QStringLiteral("q"));
    EXPECT_FALSE(KeyNames::typedText(1));
    EXPECT_EQ(Shortcut({0, Modifiers::command}).text(KeyNames::typedText(0)), QStringLiteral("Super+Q"));
    KeyNames::setTypedTextSource({});
    EXPECT_FALSE(KeyNames::typedText(0));
}

TEST(Shortcut, TextNamesTheKeysTheWayLinuxDesktopsWriteThem) {
    EXPECT_EQ(Shortcut({17, controlShiftCommand}).text(QStringLiteral("t")), QStringLiteral("Ctrl+Shift+Super+T"));
    EXPECT_EQ(Shortcut({49, Modifiers::option}).text(), QStringLiteral("Alt+Space"));
    EXPECT_EQ(Shortcut({38, Modifiers(15)}).text(), QStringLiteral("Ctrl+Alt+Shift+Super+J"));
    EXPECT_EQ(Shortcut({17, Modifiers()}).text(), QStringLiteral("T"));
    EXPECT_EQ(Shortcut({17, Modifiers(16)}).text(), QStringLiteral("T"));  // no stray "+"
    // Named keys are words, as the desktop writes them, not symbols.
    EXPECT_EQ(Shortcut({123, Modifiers::command}).text(QStringLiteral("x")), QStringLiteral("Super+Left"));
    EXPECT_EQ(Shortcut({53, Modifiers::control}).text(), QStringLiteral("Ctrl+Escape"));
    EXPECT_EQ(Shortcut({121, Modifiers::shift}).text(), QStringLiteral("Shift+Page Down"));
    EXPECT_EQ(Shortcut({51, Modifiers::option}).text(), QStringLiteral("Alt+Backspace"));
}

TEST_F(EnglishTexts, SpokenTextSpellsEveryWord) {
    EXPECT_EQ(Shortcut({17, controlShiftCommand}).spokenText(QStringLiteral("t")),
              QStringLiteral("Control+Shift+Super+T"));
    EXPECT_EQ(Shortcut({36, Modifiers::option}).spokenText(), QStringLiteral("Alt+Return"));
    EXPECT_EQ(Shortcut({123, Modifiers::command}).spokenText(), QStringLiteral("Super+Left Arrow"));
    EXPECT_EQ(Shortcut({122, Modifiers()}).spokenText(), QStringLiteral("F1"));
    EXPECT_EQ(Shortcut({200, Modifiers::control}).spokenText(), QStringLiteral("Control+#200"));
}

TEST(Shortcut, AllowedWithACommandModifierOrOnAFunctionKey) {
    EXPECT_TRUE(Shortcut({17, Modifiers::control}).isAllowed());
    EXPECT_TRUE(Shortcut({17, Modifiers::option}).isAllowed());
    EXPECT_TRUE(Shortcut({17, Modifiers::command}).isAllowed());
    EXPECT_FALSE(Shortcut({17, Modifiers::shift}).isAllowed());
    EXPECT_FALSE(Shortcut({17, Modifiers(16)}).isAllowed());
    EXPECT_TRUE(Shortcut({96, Modifiers()}).isAllowed());
    EXPECT_FALSE(Shortcut({0, Modifiers()}).isAllowed());
}

TEST(ShortcutJSON, StoredAsKeyCodeAndRawModifiers) {
    const Shortcut grab{17, controlShiftCommand};
    EXPECT_EQ(JSONCoding::encode(grab.toJson()), QByteArray(R"({"keyCode":17,"modifiers":13})"));
    EXPECT_EQ(Shortcut::fromJson(JSONCoding::decode(R"({"modifiers":13,"keyCode":17})")), grab);
    EXPECT_EQ(Shortcut::fromJson(JSONCoding::decode(R"({"keyCode":65535,"modifiers":16,"extra":1})")),
              Shortcut({65535, Modifiers(16)}));
    const Shortcut wide{1, Modifiers(std::numeric_limits<std::int64_t>::min())};
    EXPECT_EQ(Shortcut::fromJson(JSONCoding::decode(JSONCoding::encode(wide.toJson()))), wide);
    EXPECT_EQ(JSONCoding::encode(Modifiers(13).toJson()), QByteArray("13"));
}

TEST(ShortcutJSON, DecodingNeedsBothKeysAndAKeyCodeInRange) {
    for (const char* text : {R"({"keyCode":17})", R"({"modifiers":13})", R"({"keyCode":65536,"modifiers":13})",
                             R"({"keyCode":-1,"modifiers":13})", R"({"keyCode":17.5,"modifiers":13})",
                             R"({"keyCode":"17","modifiers":13})", R"({"keyCode":17,"modifiers":null})",
                             R"([17,13])"})
        EXPECT_THROW(Shortcut::fromJson(JSONCoding::decode(text)), JSONDecodingError) << text;
}

}  // namespace
