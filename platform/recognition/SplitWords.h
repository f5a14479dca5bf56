#pragma once

// The recognizer can read one word as two where a wide glyph follows a narrow one with
// no more room than between the word's other letters: "history@archive.org" comes back
// "history @archive.org". A space stands well apart from a word's letter gaps.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <vector>

namespace Platform::Recognition {

// Joins neighbouring words of a line whose ink stands no further apart than the two
// words' own letters usually do, and less than `glyph` × 0.3. `shapes` are the ink
// shapes of the picture the words' boxes are in; `glyph` the text's median glyph height
// there. Words whose characters are not one shape each (or a known few) stay apart.
void joinSplitWords(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes, double glyph);

}  // namespace Platform::Recognition
