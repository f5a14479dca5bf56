// Scraps of glyph tops read as words of their own.

#include "platform/recognition/GlyphCuts.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

TEST(GlyphCuts, AFlatUnsureScrapGoesAndSmallLettersMarksAndSureWordsStay) {
    const auto read = [](const char* text, double top, double height, float confidence) {
        return WordBox{QString::fromUtf8(text), QRectF(100, top, 40, height), confidence};
    };
    // Glyphs 28 px high: "a" read over 6 px is the tops of the line below; a small "x"
    // stands 14 px; a dash is flat by nature; a flat word read with confidence is kept.
    std::vector<LineWords> lines{
        {QRectF(0, 70, 600, 40), {read("a", 100, 6, 0.32f)}},
        {QRectF(0, 120, 600, 40), {read("x", 130, 14, 0.3f), read("-", 135, 3, 0.3f), read("ab", 130, 6, 0.9f),
                                    read("Ql", 130, 7, 0.4f)}},
    };
    dropGlyphCuts(lines, 28);
    ASSERT_EQ(lines.size(), 1u);
    QStringList kept;
    for (const WordBox& word : lines.front().words)
        kept.append(word.text);
    EXPECT_EQ(kept, QStringList({QStringLiteral("x"), QStringLiteral("-"), QStringLiteral("ab")}));
}

}  // namespace
