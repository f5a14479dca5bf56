#pragma once

// At small sizes a typographic apostrophe is a pixel-wide fading stroke, its comma lean
// under a pixel: the ink no longer tells it from a typewriter "'". The rest of the text
// does: a text set with guillemets or curly quotes, or whose other apostrophes show
// their lean, was set by a typographer, and sets all its apostrophes alike.

#include "platform/recognition/LineFragments.h"

#include <vector>

namespace Platform::Recognition {

// Gives each "'" between letters the text "’" where the text elsewhere shows typographic
// marks: "«", "»", "“", "”", or a "’" between letters.
void followApostropheStyle(std::vector<LineWords>& lines);

}  // namespace Platform::Recognition
