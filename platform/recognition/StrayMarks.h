#pragma once

// Marks the recognizer reads where no glyph is. A table's rule, read through a row of
// text, comes back as a word of its own: "|" or "l" for a vertical rule, "_" or "—" for
// a horizontal one; its ink runs on well past the line, which no glyph's does. And a
// wide gap between two words (spaces in a terminal) can come back as a "|" with no ink
// under it at all. Such words are dropped, so the words on either side stay apart. A
// line or quote boxed within a word's last letter ("Mean_") is dropped from the word, and
// a rule read as a longer run of lines ("__—") goes like a short one.

#include "platform/recognition/LineFragments.h"

#include <QImage>

#include <vector>

namespace Platform::Recognition {

// `gray` is the picture the boxes are in, `threshold` its ink level and `glyph` the
// text's median glyph height in its pixels.
void dropStrayMarks(std::vector<LineWords>& lines, const QImage& gray, int threshold, double glyph);

}  // namespace Platform::Recognition
