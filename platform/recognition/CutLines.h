#pragma once

// A grab whose edge runs through a line of text leaves the tops (or bottoms) of its
// glyphs, which the recognizer reads as words of junk ("CQuaritah mene natian"). Such a
// line is left out unless it was read with confidence: a line cut only through its
// descenders still reads whole.

#include "platform/recognition/LineFragments.h"

#include <QImage>

#include <vector>

namespace Platform::Recognition {

// Drops the lines of `lines` (in the pixels of `gray`, dark text on light) whose
// strokes run across the picture's top or bottom row, lower than the picture's whole
// lines, whose words the recognizer is unsure of. `threshold` parts ink from ground.
void dropCutLines(std::vector<LineWords>& lines, const QImage& gray, int threshold);

}  // namespace Platform::Recognition
