#pragma once

// Small filled icons beside a line (a thumbs-up, a pager's dots and bar) read as short
// words: "if", "ee", "coca". Letters are strokes with ground around and between them;
// only a period, an i's dot or a bullet is a filled blob, and those are small. A word of
// letters whose ink is nearly all filled blobs as big as letters is no text and goes.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <vector>

namespace Platform::Recognition {

// `gray` is the picture the boxes and `shapes` are in, `threshold` its ink level and
// `glyph` the text's median glyph height in its pixels.
void dropIconWords(std::vector<LineWords>& lines, const QImage& gray, int threshold, const std::vector<InkShape>& shapes,
                   double glyph);

}  // namespace Platform::Recognition
