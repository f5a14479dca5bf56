#pragma once

// In a monospace font dashes in a row touch and make one flat line of ink, which the page
// layout takes for a rule and leaves out: "drw-------" comes back "drw-" and "-" with
// spaces between. A flat line at the middle of a line's letters, right against a word,
// is as many dashes as the character cells it spans.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <vector>

namespace Platform::Recognition {

// `shapes` are the ink shapes of the picture the lines' boxes are in; `glyph` the text's
// median glyph height there.
void restoreDashRuns(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes, double glyph);

}  // namespace Platform::Recognition
