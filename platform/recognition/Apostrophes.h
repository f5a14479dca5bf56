#pragma once

// The recognizer reads a typographic apostrophe ("d’assurance", "s’élève") as the
// typewriter one ("'"): the two differ only in shape. A typewriter apostrophe is a
// straight upright stroke; a typographic one is a raised comma, its head right of its
// tail. The ink of each "'" read inside a word tells which was drawn.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>
#include <QRect>

#include <vector>

namespace Platform::Recognition {

// Whether the raised mark in `box` of `gray` (dark ink on light) leans like a comma: the
// ink of its lower half, or of its last row, lies left of that of its upper half.
bool isCurlyMark(const QImage& gray, const QRect& box);

// Gives each "'" between letters of a word whose raised mark is curly the text "’".
// `shapes` are in the pixels of `gray` and the word boxes; `glyph` is the text's median
// glyph height there.
void restoreApostrophes(std::vector<LineWords>& lines, const QImage& gray, const std::vector<InkShape>& shapes,
                        double glyph);

}  // namespace Platform::Recognition
