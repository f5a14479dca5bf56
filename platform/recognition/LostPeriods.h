#pragma once

// A small period tucked close after a letter ("order.org" at a small size) is a speck the
// recognizer drops: the word comes back "orderorg". The ink still holds it: a dot on the
// baseline between two letters that were read side by side.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <vector>

namespace Platform::Recognition {

// Puts a "." between two letters of a word where a dot of ink stands on the line's
// baseline between them and the reading has none, no faint stroke stands on it
// and no fainter ink joins it to a glyph.
// `shapes` are the ink shapes of `gray` (darker than `threshold`), in the pixels of the
// word boxes. Needs the words' glyphs as read.
void restoreLostPeriods(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                        const std::vector<InkShape>& shapes);

}  // namespace Platform::Recognition
