#pragma once

// A line of a fixed-width font that runs past the picture's right edge leaves part of a
// glyph there, which the recognizer reads as a letter: "output" cut after its "u" comes
// back "outpui". A character whose cell has its middle past the edge is not on the
// screen for anyone to read; its glyph is dropped.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <vector>

namespace Platform::Recognition {

// Drops the trailing glyphs of fixed-width lines whose cells' middles lie past the right
// edge of a picture `width` pixels wide, and the words and lines that leaves empty.
// Lines short of slim letters to prove their font count as fixed-width when their glyphs
// stand on the cells measured on the page's other fixed-width lines. `shapes` are the
// picture's ink shapes.
void dropEdgeGlyphs(std::vector<LineWords>& lines, int width, const std::vector<InkShape>& shapes);

}  // namespace Platform::Recognition
