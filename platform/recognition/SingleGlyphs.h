#pragma once

// A glyph standing alone, such as a column letter or a row number in a sheet, can come
// back as two characters boxed over the same ink ("E" as "[3", "5" as "5)", "C" as
// "cS"), or as a mark its ink cannot be. Read again as one character, it comes out right.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <vector>

namespace Platform::Recognition {

// The one glyph-like shape of ink under `word`; none when there are several or one
// reaches out of it.
const InkShape* onlyShapeUnder(const WordBox& word, const std::vector<InkShape>& shapes, int pictureHeight);

// Whether a word is one glyph misread: its ink is a single shape about as wide as tall,
// and it was read, unsurely, as several characters boxed over each other rather than
// side by side, or as a mark drawn in two pieces ("=" for an "E"). `shapes` are those
// of a picture `pictureHeight` pixels high.
bool misreadsOneGlyph(const WordBox& word, const std::vector<InkShape>& shapes, int pictureHeight, double glyph);

// Whether `reading`, the glyph read again as one character, may replace the word: a
// letter or figure read surely, and more surely than the word.
bool standsForOneGlyph(const WordBox& word, const WordBox& reading);

}  // namespace Platform::Recognition
