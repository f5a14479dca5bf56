#pragma once

// A line whose glyphs stand a little below the next line up (a table's merged header cell
// beside a row of group headers) can be cut by the bands the page is read in, and the
// recognizer reads the tops of its glyphs as a short unsure word of their own: "a" over
// "Limit". No letter or figure is that flat; the glyphs are read whole in their own band.

#include "platform/recognition/LineFragments.h"

#include <vector>

namespace Platform::Recognition {

// Drops such words, and the lines they leave empty. `glyph` is the text's median glyph
// height in the pixels of the boxes.
void dropGlyphCuts(std::vector<LineWords>& lines, double glyph);

}  // namespace Platform::Recognition
