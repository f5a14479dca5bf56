#pragma once

// Letters whose capital is the small letter drawn larger: "c" and "C", "o" and "O",
// "s", "v", "w", "x", "z". Alone in a cell (a spreadsheet's column "C" beside "B" and
// "D") the recognizer has no line of small letters to tell the case by and reads "c".
// A word of only such letters, as tall as the capitals and figures of its line, is read
// in capitals.

#include "platform/recognition/LineFragments.h"

#include <vector>

namespace Platform::Recognition {

void restoreCapitals(std::vector<LineWords>& lines);

}  // namespace Platform::Recognition
