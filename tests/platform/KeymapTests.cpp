// Key positions and names under compiled keymaps: no display needed.

#include "platform/keyboard/KeyPositions.h"
#include "platform/keyboard/Keymap.h"

#include <xkbcommon/xkbcommon-keysyms.h>

#include <gtest/gtest.h>

namespace {

using Platform::Keymap;

Keymap keymap(const char* layout) {
    auto map = Keymap::fromNames(QString::fromLatin1(layout));
    if (!map)
        throw std::runtime_error("no keymap");
    return *map;
}

TEST(KeyPositions, StoredCodesMapBothWays) {
    EXPECT_EQ(Platform::KeyPositions::xkbName(17), "AD05");  // T
    EXPECT_EQ(Platform::KeyPositions::xkbName(38), "AC07");  // J
    EXPECT_EQ(Platform::KeyPositions::keyCode("AD05"), 17);
    EXPECT_FALSE(Platform::KeyPositions::xkbName(52));  // no PC key
    EXPECT_FALSE(Platform::KeyPositions::keyCode("XXXX"));
    // Every named code comes back as itself.
    for (std::uint16_t code = 0; code < 128; ++code) {
        if (const auto name = Platform::KeyPositions::xkbName(code)) {
            EXPECT_EQ(Platform::KeyPositions::keyCode(*name), code) << code;
        }
    }
}

TEST(Keymap, PositionsAreTheSameKeysOnEveryLayout) {
    const Keymap us = keymap("us");
    const Keymap de = keymap("de");
    ASSERT_TRUE(us.x11KeyCode(17));
    EXPECT_EQ(*us.x11KeyCode(17), 28);  // evdev key T
    EXPECT_EQ(us.x11KeyCode(16), de.x11KeyCode(16));
    EXPECT_EQ(us.keyCode(28), 17);
    EXPECT_EQ(us.keyCode(*us.x11KeyCode(38)), 38);
}

TEST(Keymap, LettersAreNamedByTheLayout) {
    EXPECT_EQ(keymap("us").typedText(16), u"y");
    EXPECT_EQ(keymap("de").typedText(16), u"z");  // QWERTZ
    EXPECT_EQ(keymap("de").typedText(6), u"y");
    const Keymap fr = keymap("fr");  // AZERTY
    EXPECT_EQ(fr.typedText(12), u"a");
    EXPECT_EQ(fr.typedText(0), u"q");
    EXPECT_EQ(fr.typedText(46), u",");
    EXPECT_EQ(fr.typedText(18), u"&");  // the digit row types symbols unshifted
    EXPECT_EQ(keymap("de").typedText(41), u"ö");
}

TEST(Keymap, KeysThatTypeNoVisibleTextHaveNoName) {
    const Keymap us = keymap("us");
    EXPECT_FALSE(us.typedText(36));  // Return
    EXPECT_FALSE(us.typedText(48));  // Tab
    EXPECT_FALSE(us.typedText(49));  // Space is blank only
    EXPECT_FALSE(us.typedText(53));  // Escape
    EXPECT_FALSE(us.typedText(52));  // no such key
}

TEST(Keymap, DeadKeysShowTheirAccent) {
    EXPECT_EQ(keymap("de").typedText(50), u"^");
    EXPECT_EQ(keymap("fr").typedText(33), u"^");
}

TEST(Keymap, FindsTheKeyThatTypesASymbol) {
    const Keymap us = keymap("us");
    const auto t = us.keyTyping(XKB_KEY_t);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->keyCode, 17);
    EXPECT_FALSE(t->shifted);
    const auto exclam = us.keyTyping(XKB_KEY_exclam);
    ASSERT_TRUE(exclam);
    EXPECT_EQ(exclam->keyCode, 18);
    EXPECT_TRUE(exclam->shifted);
    EXPECT_EQ(us.keyTyping(XKB_KEY_F5)->keyCode, 96);
    EXPECT_EQ(keymap("de").keyTyping(XKB_KEY_z)->keyCode, 16);
    EXPECT_FALSE(us.keyTyping(XKB_KEY_odiaeresis));
}

TEST(Keymap, UnknownLayoutIsNoMap) {
    EXPECT_FALSE(Keymap::fromNames(QStringLiteral("no-such-layout")));
}

}  // namespace
