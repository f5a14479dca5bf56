#pragma once

// The recognizer at times reads a marked capital twice, as the letter and a look-alike
// ("„ÜŪbersicht", "ÜÜbersicht" once the foreign mark is folded). No word opens with a
// marked capital written twice before lower-case letters.

#include "platform/recognition/LineFragments.h"

#include <QString>

#include <vector>

namespace Platform::Recognition {

// The word with a marked capital that opens it twice, before a lower-case letter, once.
QString dropDoubledCapital(const QString& word);

void dropDoubledCapitals(std::vector<LineWords>& lines);

}  // namespace Platform::Recognition
