#pragma once

// The sharp s looks like a "B" to the recognizer, which at times reads the one glyph
// twice: "Äußerst" comes back as "ÄußBerst". No orthography writes a capital after "ß".

#include "platform/recognition/LineFragments.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace Platform::Recognition {

// The word with each "ßB" read as "ß".
QString dropDoubledSharpS(const QString& word);

void dropDoubledSharpS(std::vector<LineWords>& lines);

// For a reader of German, the word with each "B" or "R" that follows a small letter and
// ends the word or comes before another small letter read as "ß" ("StraBe", "FuB",
// "ÄuRerst"): German writes no capital inside a word, and "ß" is the letter the
// recognizer takes for a "B", or for an "R" where its lower bowl is open at the foot.
// Read as both at once ("ÄuRBerst"), the pair is the one "ß".
QString readSharpS(const QString& word);

// Only where German is one of the languages (BCP 47 tags).
void readSharpS(std::vector<LineWords>& lines, const QStringList& languages);

}  // namespace Platform::Recognition
