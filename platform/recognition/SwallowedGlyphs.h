#pragma once

// In a fixed-width font every character takes a cell of its own, yet the recognizer at
// times boxes two neighbouring glyphs as one letter: "$ ls -l" comes back "$ s -l", the
// "s" boxed over the cells of "l" and "s". Proportional glyph boxes overlap their
// neighbours' ink all the time, so only lines on the grid of the page's proven
// fixed-width lines are looked at.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QRect>

#include <vector>

namespace Platform::Recognition {

struct SwallowedGlyph {
    std::size_t line = 0;
    std::size_t word = 0;
    std::size_t glyph = 0;
    // The ink of each cell the glyph's box spans, left to right; the letter read stands
    // for the last, as the recognizer's box ends with it.
    std::vector<QRect> cells;
    // The line's grid: the middle of its cell 0 and the cells' width.
    double origin = 0;
    double cell = 0;
};

// The glyphs of unsure words boxed over the ink of two or more cells, each cell's ink a
// glyph of its own, in reading order. `shapes` are the ink shapes of the lines' picture.
std::vector<SwallowedGlyph> swallowedGlyphs(const std::vector<LineWords>& lines, const std::vector<InkShape>& shapes);

// The word the glyph belongs to with the glyph replaced by one glyph per cell, spelled
// `letters`, and broken where an empty cell now parts its glyphs; nothing when the word's
// glyphs do not spell it.
std::optional<std::vector<WordBox>> withCellGlyphs(const WordBox& word, const SwallowedGlyph& swallowed,
                                                   const QString& letters);

}  // namespace Platform::Recognition
