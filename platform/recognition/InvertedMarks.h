#pragma once

// The recognizer reads an inverted exclamation mark opening a Spanish sentence
// ("¡Gracias") as "i" or "į": the two differ in where their stroke stands. An "i"'s
// stem stands on the baseline; the "¡"'s hangs below it.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <vector>

namespace Platform::Recognition {

// Gives a word's leading "i" (or a look-alike) whose stroke hangs below the baseline of
// the word's other letters the text "¡". `shapes` are in the pixels of the word boxes;
// `glyph` is the text's median glyph height there.
void restoreInvertedMarks(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes, double glyph);

}  // namespace Platform::Recognition
