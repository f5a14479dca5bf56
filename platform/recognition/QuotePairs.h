#pragma once

// A quotation opens and closes with marks of one kind: typewriter quotes ('x', "x") or
// typographic ones (‘x’, “x”). The recognizer reads one of the two marks as the other
// kind now and then ("require(‘release')"); the ink of the pair tells which kind the
// text was set in.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <vector>

namespace Platform::Recognition {

// Gives both marks of each quotation read with one typewriter and one typographic mark
// the kind their ink shows: upright strokes are typewriter marks, marks leaning like a
// comma typographic ones. A pair whose marks disagree, or whose ink cannot be found,
// stays as read. `gray` is dark ink on light in the pixels of the word and glyph boxes;
// `shapes` its ink shapes.
void settleQuotePairs(std::vector<LineWords>& lines, const QImage& gray, const std::vector<InkShape>& shapes);

}  // namespace Platform::Recognition
