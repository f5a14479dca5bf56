#pragma once

// A fixed-width font draws its hyphen inside the cell with room on both sides and its en
// dash across the whole cell. Against the glyph height a monospace hyphen can be as long
// as a proportional font's en dash ("action – screen" for "action - screen"); against
// the line's cell it never is.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <vector>

namespace Platform::Recognition {

// A hyphen reaches across at most this share of its cell; an en dash across nearly all of it.
inline constexpr double longestMonospaceHyphen = 0.85;

// Gives back its hyphen to each lone dash the recognizer read as "-" and a rule lengthened
// to "–" by the glyph height, where the line stands on a fixed-width grid and the dash is
// shorter than its cell. `shapes` are the ink shapes of the picture of the word boxes.
void restoreMonospaceHyphens(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes);

}  // namespace Platform::Recognition
