#pragma once

// A proportional UI font draws the two hyphens of a long option ("--no-cache") a pixel
// or two apart, and the recognizer reads them as one: "-no-cache". Each hyphen is a
// flat stroke of its own on the same rows.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <vector>

namespace Platform::Recognition {

// Gives each "-" read over two or more flat strokes side by side, each a hyphen's length,
// a hyphen per stroke; strokes whose ends ran together are parted where their ink
// lightens. `gray` is the picture the words' glyph boxes are in, `shapes` its ink shapes
// and `glyph` the text's median glyph height there.
void restoreDoubleHyphens(std::vector<LineWords>& lines, const QImage& gray, const std::vector<InkShape>& shapes,
                          double glyph);

}  // namespace Platform::Recognition
