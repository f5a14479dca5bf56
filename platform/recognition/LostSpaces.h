#pragma once

// The recognizer can read a shell prompt's sign and the command a full character cell
// apart as one word: "$ ls" comes back "$ls"; groups of figures with a space between them
// can come back as one number: "81 5918557" as "815918557".

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <vector>

namespace Platform::Recognition {

// Puts a space between a prompt's sign ("$", "#", "%", ">") and the letter or figure
// after it in a word when their ink stands at least `glyph` × 0.85 apart. `shapes` are
// the ink shapes of the picture the words' boxes are in; `glyph` the text's median
// glyph height there. A word of figures alone is split where one figure stands a
// space's width further from the next than the word's figures usually stand.
void restoreLostSpaces(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes, double glyph);

}  // namespace Platform::Recognition
