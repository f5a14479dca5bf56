#include "platform/recognition/WordRereads.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

WordBox read(const char* text, float confidence) { return {QString::fromUtf8(text), QRectF(0, 0, 60, 14), confidence}; }

}  // namespace

TEST(WordRereads, OnlyASurerReadingThatAddsWhatTheLineLostStands) {
    // Letters lost inside the word, or its first glyphs when the line gave up on it.
    EXPECT_TRUE(standsForDoubtfulWord(read("Strae", 0.44f), read("Straße", 0.81f)));
    EXPECT_TRUE(standsForDoubtfulWord(read("assurance.", 0.0f), read("d’assurance.", 0.02f)));
    // Not much surer, or no surer at all.
    EXPECT_FALSE(standsForDoubtfulWord(read("Strae", 0.44f), read("Straße", 0.5f)));
    EXPECT_FALSE(standsForDoubtfulWord(read("Strae", 0.44f), read("Straße", 0.3f)));
    // A point or a sign put into a figure is the figure rules' to judge, from the ink.
    EXPECT_FALSE(standsForDoubtfulWord(read("744", 0.36f), read("7.44", 0.95f)));
    // Another word, or one that changes a letter of the first reading.
    EXPECT_FALSE(standsForDoubtfulWord(read("link", 0.49f), read("binatc", 0.63f)));
    EXPECT_FALSE(standsForDoubtfulWord(read("fiter", 0.2f), read("filler", 0.9f)));
    EXPECT_FALSE(standsForDoubtfulWord(read("Strae", 0.44f), read("Strae", 0.9f)));
    // A letter more at an end is as likely a stray mark beside the word.
    EXPECT_FALSE(standsForDoubtfulWord(read("voken", 0.3f), read("vokeni", 0.6f)));
    EXPECT_FALSE(standsForDoubtfulWord(read("oken", 0.3f), read("token", 0.6f)));
}
