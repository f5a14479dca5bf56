#pragma once

// A middle dot between words ("Maria Lopez · 09:41", "Privacy · Terms") has no good
// reading in the recognizer: it comes back as ":", "." or "«". Standing alone between
// two words, a dot is told by where it sits: a middle dot halfway up the x-height, a
// period on the baseline.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <vector>

namespace Platform::Recognition {

// Gives each lone one-character word between two words whose ink is a small dot at the
// middle of the x-height the text "·". `glyph` is the text's median glyph height, in
// the pixels of the word boxes. Given the picture's ink `shapes`, a word's ink is
// measured rather than its box: the recognizer may box a lone dot as tall as its line.
// Given the `gray` picture those shapes are of, a faint dot is measured by its own
// darkness rather than by the shapes' threshold.
void restoreMiddleDots(std::vector<LineWords>& lines, double glyph, const std::vector<InkShape>& shapes = {},
                       const QImage& gray = QImage());

}  // namespace Platform::Recognition
