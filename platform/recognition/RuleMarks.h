#pragma once

// A table's rule, read through a row of text, comes back as a word of its own: "|" or
// "l" for a vertical rule, "_" or "—" for a horizontal one. Its ink runs on well past
// the line, which no glyph's does; such words are dropped, so the cells on either side
// stay apart.

#include "platform/recognition/LineFragments.h"

#include <QImage>

#include <vector>

namespace Platform::Recognition {

// `gray` is the picture the boxes are in, `threshold` its ink level and `glyph` the
// text's median glyph height in its pixels.
void dropRuleMarks(std::vector<LineWords>& lines, const QImage& gray, int threshold, double glyph);

}  // namespace Platform::Recognition
