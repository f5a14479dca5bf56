#pragma once

// The sharp s looks like a "B" to the recognizer, which at times reads the one glyph
// twice: "Äußerst" comes back as "ÄußBerst". No orthography writes a capital after "ß".

#include "platform/recognition/LineFragments.h"

#include <QString>

#include <vector>

namespace Platform::Recognition {

// The word with each "ßB" read as "ß".
QString dropDoubledSharpS(const QString& word);

void dropDoubledSharpS(std::vector<LineWords>& lines);

}  // namespace Platform::Recognition
