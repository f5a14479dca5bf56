#pragma once

// A lone character read unsurely can be a glyph of another height: an orange "0" read
// as "a". The ink tells the two apart where the recognizer doubts: a figure stands as
// tall as a capital, an "a" only as tall as the line's small letters.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <optional>
#include <vector>

namespace Platform::Recognition {

enum class GlyphHeight { small, tall };

// Small letters without ascenders are small; figures, capitals and "b d f h k l" tall.
// Nothing for the rest, whose ink height says little ("t", "i", descenders, marks).
std::optional<GlyphHeight> heightOf(QChar c);

// The height of the ink under `word` when it contradicts its reading: one character read
// unsurely over a single shape, measured against the small letters of the line's other
// words. Nothing when the two agree or the ink cannot tell.
std::optional<GlyphHeight> contradictedHeight(const WordBox& word, const LineWords& line,
                                              const std::vector<InkShape>& shapes, int pictureHeight);

// Whether `reading`, the glyph read again alone, may replace the word: a letter or figure
// of the ink's height, read more surely than the word.
bool fitsInkHeight(const WordBox& word, const WordBox& reading, GlyphHeight ink);

}  // namespace Platform::Recognition
