#pragma once

// The dot of an "i" or "j" standing between two lines (a table's header cell centred
// beside two rows of headers) can be read into the line above as a word of its own,
// "." or "'", which then pastes as a cell of its own. Such a word whose ink lies inside a
// word of another line is that word's ink, and is dropped.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <vector>

namespace Platform::Recognition {

// `shapes` are the ink shapes of the picture the lines are in.
void dropDetachedDots(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes);

}  // namespace Platform::Recognition
