#pragma once

// The recognizer can read a shell prompt's sign and the command a full character cell
// apart as one word: "$ ls" comes back "$ls".

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <vector>

namespace Platform::Recognition {

// Puts a space between a prompt's sign ("$", "#", "%", ">") and the letter or figure
// after it in a word when their ink stands at least `glyph` × 0.85 apart. `shapes` are
// the ink shapes of the picture the words' boxes are in; `glyph` the text's median
// glyph height there.
void restoreLostSpaces(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes, double glyph);

}  // namespace Platform::Recognition
