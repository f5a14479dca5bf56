#pragma once

// The recognizer reads an en dash as a hyphen, whatever the language model: "Café
// Müller – naïve" comes back with "-". A dash that stands as a word of its own between
// two words is told by its length against the text's glyph height, which sets hyphens,
// en dashes and em dashes apart in every common screen font from 11 to 22 pixels.

#include "platform/recognition/LineFragments.h"

#include <vector>

namespace Platform::Recognition {

// A hyphen's ink is at most about 0.64 glyph heights long, an en dash's from 0.72 to 1.
inline constexpr double enDashLength = 0.68;
// An em dash is at least 1.5 glyph heights long. Monospace fonts draw both dashes about
// 1.1 long; between these bounds the recognizer's own choice stands.
inline constexpr double longestEnDash = 1.02;
inline constexpr double emDashLength = 1.3;

// Gives each lone dash between two words of a line the dash its length says it is: a
// "-" long enough is an en or em dash, a "—" as short as an en dash is one.
// `glyph` is the text's median glyph height, in the pixels of the word boxes.
void restoreDashes(std::vector<LineWords>& lines, double glyph);

}  // namespace Platform::Recognition
