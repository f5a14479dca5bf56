#pragma once

// The recognizer reads a period that starts a word (".map(", ".gitignore") as a hyphen.
// The two differ in where their ink sits: a hyphen is a stroke longer than thick halfway
// up the x-height, a period a dot on the baseline.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <vector>

namespace Platform::Recognition {

struct LineHeights;

// A period's dot, its ink from `top` to `bottom`: about as wide as high, its foot on the
// baseline, no higher than a third of the x-height.
bool standsAsDot(double top, double bottom, double width, const LineHeights& heights);

// Gives each "-" whose ink is a dot standing on the line's baseline the text ".".
// `shapes` are the ink shapes of the picture of the word boxes. Needs the words' glyphs
// as read.
void restorePeriods(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes);

// A period after a closing quote or a bracket can come back as a comma, and so can a
// list number's ("1," for "1."). Gives such a word's last "," the text "." where the
// word's last ink is a dot standing on the baseline: a comma reaches below it.
void restoreFinalPeriods(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes);

}  // namespace Platform::Recognition
