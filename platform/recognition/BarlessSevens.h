#pragma once

// An italic "1" leans and has a flag at its top, and the recognizer can read it "7":
// "3151" comes back "3757". A "7" has a bar across the whole of its top; a "1" only its
// stem's end there.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <vector>

namespace Platform::Recognition {

// Whether the ink of `box` in `gray` (darker than `threshold`) has no bar at its top: its
// two top rows span less than 0.75 of its width. False for a box too small to tell.
bool hasBarlessTop(const QImage& gray, int threshold, const QRect& box);

// Gives each "7" of a figure whose ink has no bar at its top the text "1". `shapes` are
// the ink shapes of `gray` at `threshold`, in the pixels of the word boxes.
void restoreBarlessSevens(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                          const std::vector<InkShape>& shapes);

}  // namespace Platform::Recognition
