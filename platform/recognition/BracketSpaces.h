#pragma once

// The recognizer can read a word and the bracket after it as one word when a space
// stands between them: a table's header "Rain (mm)" comes back as "Rain(mm)". A call
// such as "f(x)" has its bracket close to the name; a space leaves a gap wider than
// the word's own gaps between its letters.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <vector>

namespace Platform::Recognition {

// Splits a word before an opening bracket whose ink stands at least `glyph` × 0.6 from
// the letter or figure before it, and about twice as far as the word's letters stand
// from each other. `shapes` are the ink shapes of the picture the words' boxes are in;
// `glyph` the text's median glyph height there.
void restoreSpacesBeforeBrackets(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes, double glyph);

}  // namespace Platform::Recognition
