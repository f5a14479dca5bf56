#pragma once

// The recognizer may read a quote mark at a word's start or end where there is no glyph,
// only a faint ring: the anti-aliased rim of a button around the word ("‘Customer").
// A mark with no ink of its own, beside the glyph it was read over, is no part of the word.

#include "platform/recognition/LineFragments.h"

#include <QImage>

#include <vector>

namespace Platform::Recognition {

// Drops quote marks that begin or end a word where `gray` (the picture the boxes are in)
// has no pixel darker than `threshold` under the mark's glyph box, beside the glyph next to it.
void dropInklessQuotes(std::vector<LineWords>& lines, const QImage& gray, int threshold);

// The recognizer at times ends a bold word with a mark that has no ink of its own
// ("Mean_", "Mean’"): a sliver of a box within the last letter's, or begins one with such
// slivers within its first letter's ("—_Local"). Such lines and quotes go; a period or
// comma can come back boxed like that and stays.
void dropMarksWithoutInk(WordBox& word);

}  // namespace Platform::Recognition
