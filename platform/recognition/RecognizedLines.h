#pragma once

// What the recognizer read last, as the lines, words and characters the reading rules
// work on.

#include "platform/recognition/LineFragments.h"

#include <vector>

namespace tesseract {
class TessBaseAPI;
}

namespace Platform::Recognition {

// The lines and words of the engine's last recognition, in the recognized picture's
// pixels, each word with its characters' boxes. A word read as blank is left out.
std::vector<LineWords> collectLines(tesseract::TessBaseAPI& api);

}  // namespace Platform::Recognition
