#pragma once

// Controls drawn beside a form's text: a check box (a square frame, or a filled square
// when ticked) and a drop-down's chevron. The recognizer reads them as "®", "©", "@",
// "()" or "v", which then paste as text the form does not hold. A word of a character
// or two whose ink is one such shape is dropped.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <vector>

namespace Platform::Recognition {

// `gray` is the picture the boxes and `shapes` are in, `threshold` its ink level and
// `glyph` the text's median glyph height in its pixels.
void dropControlMarks(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                      const std::vector<InkShape>& shapes, double glyph);

}  // namespace Platform::Recognition
