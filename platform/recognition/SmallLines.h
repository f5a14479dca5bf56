#pragma once

// Small print on a page of larger text (footnotes under an article, a fine-print line
// under a form) is read at the scale the body text needs, too small for its own glyphs:
// "Built-in" comes back "Buln". Such a line is worth a second reading at the scale its
// own glyphs need.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <optional>
#include <vector>

namespace Platform::Recognition {

// The scale a line's own glyphs need, when it is clearly larger than `pageScale`, the
// scale the line was read at. `shapes` and the line's box are in the read picture's
// pixels, which are `pageScale` times the original's; `pictureHeight` is that picture's
// height. Nothing for a line of the page's own size or with too few glyphs to tell.
std::optional<double> smallLineScale(const LineWords& line, const std::vector<InkShape>& shapes, int pictureHeight,
                                     double pageScale);

// Whether a second reading of a line stands for the first: one line, surer, and holding
// about as many characters (a reading that lost words is no better however sure).
bool replacesSmallLine(const std::vector<WordBox>& first, const std::vector<LineWords>& second);

}  // namespace Platform::Recognition
