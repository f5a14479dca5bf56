#pragma once

// A doubtful word is read once more alone, without its line around it. That second
// reading stands only where it can have found what the line's reading lost.

#include "platform/recognition/LineFragments.h"

namespace Platform::Recognition {

// Below this confidence a word is read again alone.
inline constexpr float doubtfulConfidence = 0.5f;

// Whether `second`, the word read alone, stands for `first`, its reading in the line:
// a word given up on (confidence near nothing) whose first glyphs were lost ("d’" of
// "d’assurance") when the second reading ends with the first; a doubtful one that lost
// letters inside it ("Strae" for "Straße") when the second reading, clearly surer, keeps
// every character of the first in order and only adds letters between them.
bool standsForDoubtfulWord(const WordBox& first, const WordBox& second);

}  // namespace Platform::Recognition
