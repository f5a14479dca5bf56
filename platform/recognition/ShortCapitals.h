#pragma once

// A word of x-height letters and dashes ("-rw-------") gives the recognizer no line to
// tell small letters from capitals by: it comes back "-TW-------". Ink no taller than
// the line's small letters holds no capital, so such a word of capitals is made small.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <vector>

namespace Platform::Recognition {

// `shapes` are the ink shapes of the picture the lines' boxes are in.
void lowerShortCapitals(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes);

// The small letter an x-height glyph read as this capital is, or the capital itself.
QChar smallLetterFor(QChar capital);

}  // namespace Platform::Recognition
