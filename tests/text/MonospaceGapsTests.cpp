// A word gap narrower than a cell is no space in a fixed-width line, even in a line
// without slim letters to prove its font by its glyphs.

#include "platform/recognition/MonospaceGaps.h"

#include <gtest/gtest.h>

using namespace Platform::Recognition;

namespace {

// Words drawn as blocks of ink, one glyph after another: each glyph `advance(c)` pixels
// on from the last, its ink `ink(c)` pixels wide in the middle of that advance; `spaces`
// pixels before each word. The words are read as given.
struct Drawn {
    QImage gray{600, 40 * 3, QImage::Format_Grayscale8};
    std::vector<LineWords> lines;
};

template <typename Advance, typename Ink>
void drawLine(Drawn& drawn, int row, const QStringList& words, const QList<int>& spaces, Advance advance, Ink ink) {
    const int top = row * 40;
    LineWords line{QRectF(0, top + 10, 600, 20), {}};
    double x = 10;
    for (qsizetype w = 0; w < words.size(); ++w) {
        x += spaces[w];
        WordBox word{words[w], QRectF(), 0.9f};
        for (const QChar c : words[w]) {
            const int width = ink(c);
            const bool low = c == u'.';
            const QRect box(static_cast<int>(x + (advance(c) - width) / 2.0), top + (low ? 24 : 12), width,
                            low ? 2 : 14);
            for (int y = box.top(); y <= box.bottom(); ++y)
                std::fill_n(drawn.gray.scanLine(y) + box.left(), box.width(), uchar(0));
            word.glyphs.push_back({QString(c), QRectF(box)});
            x += advance(c);
        }
        word.box = word.glyphs.front().box.united(word.glyphs.back().box);
        line.words.push_back(word);
    }
    line.box = QRectF(0, top + 10, 600, 20);
    drawn.lines.push_back(line);
}

// Cells 10 pixels wide; a period 2 pixels, the others 7 ("i" and "l" with serifs).
int cellAdvance(QChar) { return 10; }
int cellInk(QChar c) { return c == u'.' ? 2 : 7; }

QStringList wordsOf(const LineWords& line) {
    QStringList words;
    for (const WordBox& word : line.words)
        words.append(word.text);
    return words;
}

QStringList afterJoining(Drawn& drawn, std::size_t line) {
    const int threshold = 128;
    joinNarrowMonospaceGaps(drawn.lines, drawn.gray, threshold, inkShapes(drawn.gray, threshold));
    return wordsOf(drawn.lines[line]);
}

Drawn blank() {
    Drawn drawn;
    drawn.gray.fill(255);
    return drawn;
}

}  // namespace

TEST(MonospaceGaps, AGapNarrowerThanACellJoinsWordsOfALineWhoseInkStandsOnCells) {
    // A manual's header, read with a space before the last bracket; no slim letter in it.
    const QStringList read{"BRANCH(1", ")", "User", "Commands"};
    const QList<int> spaces{0, 0, 30, 10};
    Drawn fixed = blank();
    drawLine(fixed, 0, read, spaces, cellAdvance, cellInk);
    EXPECT_EQ(afterJoining(fixed, 0), QStringList({"BRANCH(1)", "User", "Commands"}));

    // The same words in a proportional font: glyphs of many widths, spaces narrower than
    // the widest glyphs.
    const auto advance = [](QChar c) { return 6 + static_cast<int>(c.unicode() % 7); };
    const auto ink = [&](QChar c) { return advance(c) - 2; };
    Drawn proportional = blank();
    drawLine(proportional, 0, read, {0, 0, 5, 5}, advance, ink);
    EXPECT_EQ(afterJoining(proportional, 0), read);

    // Figures are set in cells in proportional fonts too, with narrower spaces: a line of
    // them is no proof.
    const QStringList figures{"2026082401175313", "05"};
    Drawn digits = blank();
    drawLine(digits, 0, figures, {0, 3}, cellAdvance, cellInk);
    EXPECT_EQ(afterJoining(digits, 0), figures);
}

TEST(MonospaceGaps, OnlyAGapTheLineAndTheBoxesProveIsJoined) {
    // "network.log" read with a space after the period: too short to prove its cells.
    Drawn shortLine = blank();
    drawLine(shortLine, 0, {"network.", "log"}, {0, 0}, cellAdvance, cellInk);
    EXPECT_EQ(afterJoining(shortLine, 0), QStringList({"network.", "log"}));
    // A box set off its glyph, over the blank beside it, says nothing of the gap.
    const QStringList read{"BRANCH(1", ")", "User", "Commands"};
    Drawn offInk = blank();
    drawLine(offInk, 0, read, {0, 0, 30, 10}, cellAdvance, cellInk);
    offInk.lines.front().words[1].box.translate(10, 0);
    EXPECT_EQ(afterJoining(offInk, 0), read);
    // A whole empty cell stays a space.
    Drawn spaced = blank();
    drawLine(spaced, 0, {"BRANCH(1", ")", "User", "Commands"}, {0, 10, 30, 10}, cellAdvance, cellInk);
    EXPECT_EQ(afterJoining(spaced, 0), read);
}
