#pragma once

// Fixed-width fonts draw "l" with a serif left of its stem at the top, and nothing right
// of it there, so that it fills its cell; the recognizer reads it "L" at a word's start
// ("function Link(list)", "> Limit:"). An "L" has no ink left of its stem, or (with slab
// serifs) ink on both sides of its top.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <vector>

namespace Platform::Recognition {

// Whether the ink of `box` in `gray` (darker than `threshold`) is drawn like an "l":
// its top rows reach two pixels or more left of the stem its middle rows share, and
// have no ink right of that stem.
bool isSerifedEll(const QImage& gray, int threshold, const QRect& box);

// Gives an "L" that starts a word of small letters the text "l" where its ink is drawn
// like one. `shapes` are the ink shapes of `gray` at `threshold`, in the pixels of the
// word and glyph boxes. Needs the words' glyphs as read.
void restoreSmallEll(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                     const std::vector<InkShape>& shapes);

}  // namespace Platform::Recognition
