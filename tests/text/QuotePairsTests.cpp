#include "platform/recognition/QuotePairs.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

// A word of 10 px cells, dark on white, drawn from `ink`: a mark is "|" (an upright
// stroke, typewriter) or "/" (a stroke leaning like a comma, typographic); any other
// character is a solid letter. The recognizer's reading, `read`, has one glyph per cell.
std::string settle(const QString& ink, const QString& read) {
    QImage gray(20 + 10 * static_cast<int>(ink.size()), 40, QImage::Format_Grayscale8);
    gray.fill(255);
    WordBox word{read, QRectF(10, 10, 10.0 * static_cast<double>(ink.size()), 20), 0.9f};
    for (qsizetype i = 0; i < ink.size(); ++i) {
        const int left = 10 + 10 * static_cast<int>(i);
        const bool mark = ink[i] == u'|' || ink[i] == u'/';
        for (int y = 10; y < (mark ? 18 : 30); ++y) {
            // A leaning stroke moves a pixel left every three rows down.
            const int x = left + 4 + (ink[i] == u'/' ? (18 - y) / 3 : 0);
            for (int dx = 0; dx < (mark ? 2 : 8); ++dx)
                gray.scanLine(y)[mark ? x + dx : left + 1 + dx] = 0;
        }
        word.glyphs.push_back({QString(read[i]), QRectF(left, 10, 10, mark ? 8 : 20)});
    }
    std::vector<LineWords> lines{{word.box, {word}}};
    settleQuotePairs(lines, gray, inkShapes(gray, 128));
    return lines.front().words.front().text.toStdString();
}

}  // namespace

TEST(QuotePairs, AMixedPairTakesTheKindItsInkShows) {
    // Upright marks: code's typewriter quotes, whichever of them was read curly.
    EXPECT_EQ(settle("a(|b|)", "a(\u2018b')"), "a('b')");
    EXPECT_EQ(settle("a(|b|)", "a('b\u2019)"), "a('b')");
    EXPECT_EQ(settle("||b||", "\"\u201Cb\"\""), "\"\"b\"\"");
    // Leaning marks: typographic quotes, opened and closed.
    EXPECT_EQ(settle("/ab/", "'ab\u2019"), "\u2018ab\u2019");
    EXPECT_EQ(settle("/ab/", "\u201Cab\""), "\u201Cab\u201D");
}

TEST(QuotePairs, PairsOfOneKindAndPairsInDoubtStayAsRead) {
    // Matching pairs are the recognizer's to read, whatever the ink.
    EXPECT_EQ(settle("/ab/", "'ab'"), "'ab'");
    EXPECT_EQ(settle("|ab|", "\u2018ab\u2019"), "\u2018ab\u2019");
    // Marks whose ink disagrees, and a pair of two families.
    EXPECT_EQ(settle("|ab/", "'ab\u2019"), "'ab\u2019");
    EXPECT_EQ(settle("|ab|", "'ab\u201D"), "'ab\u201D");
    // An apostrophe between letters opens nothing: the quotation is the one after it.
    EXPECT_EQ(settle("a|b(|c|)", "a\u2019b('c\u2019)"), "a\u2019b('c')");
}
