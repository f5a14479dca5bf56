#pragma once

// A small "5" can come back as "$" ("57.1" read "$7.1"): the recognizer takes the
// hook's faint corners for the sign's bar. A dollar sign's bar reaches above and below
// the figures beside it; a "$" whose ink keeps within the rows of the digit after it is
// a "5".

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <vector>

namespace Platform::Recognition {

// `shapes` is the ink of the picture the lines' boxes are in. Changes only a "$" that
// heads a figure whose ink falls apart into shapes as its characters do.
void restoreDollarFives(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes);

}  // namespace Platform::Recognition
