#pragma once

// In many sans-serif fonts a capital "I" and a small "l" are the same stroke, and the
// recognizer reads the French "Il" as "II" ("« II faut"). Roman numerals stand alone:
// "II" never runs on into small letters, and it starts a sentence before a small word
// only as a misread "Il".

#include "platform/recognition/LineFragments.h"

#include <vector>

namespace Platform::Recognition {

// Each word that begins "II" followed by a small letter ("IIs", "IIlinois") reads its
// second glyph "l"; a word "II" that starts its line or a sentence in it and comes
// before a word with a small first letter reads "Il".
void restoreSmallL(std::vector<LineWords>& lines);

}  // namespace Platform::Recognition
