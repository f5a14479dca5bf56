#pragma once

// A small "l" is one stroke from the ascender to the baseline, and the recognizer can
// take it for a mark: "Channel" comes back "Channe!", an italic "old" "o/d", "local"
// "/oca/". A "!" has a dot apart from its stroke; a "/" leans further than the letters
// of its word, italic or not.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <optional>
#include <vector>

namespace Platform::Recognition {

// How far the ink shape at `box` in `gray` (darker than `threshold`) leans: the shift
// to the right per row upwards that makes it narrowest. Nothing for a shape too small
// to tell.
std::optional<double> inkLean(const QImage& gray, int threshold, const QRect& box);

// Gives the text "l" to each "!" beside a small letter whose ink is one stroke standing
// on the baseline, and to each "/" beside a letter that leans no further than the other
// letters of its word lean. `shapes` are the ink shapes of `gray` at `threshold`, in the
// pixels of the word and glyph boxes. Needs the words' glyphs as read.
void restoreEllMarks(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                     const std::vector<InkShape>& shapes);

}  // namespace Platform::Recognition
