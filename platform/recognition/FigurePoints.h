#pragma once

// A figure read without the point its ink holds: "5.7" comes back as "57" and "67.5" as
// "6755" with good confidence, the worst slip a pasted table can make. The ink tells: a
// dot on the digits' baseline between them, for which the text has no separator.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QString>

#include <optional>
#include <vector>

namespace Platform::Recognition {

// Whether the word is digits without a point or comma between them while the ink in its
// box holds a dot on their baseline between two of them. `shapes` and the word's box
// are in the same pixels; `glyph` is the text's median glyph height there.
bool missesPoint(const WordBox& word, const std::vector<InkShape>& shapes, double glyph);

// Whether a second reading of such a word can stand for it: a figure with a separator,
// holding as many digits as the ink has digit shapes, or the digits the word was read with.
bool isPointedReading(const QString& reading, const WordBox& word, const std::vector<InkShape>& shapes,
                      double glyph);

// When no second reading shows the point, the ink alone places it: the word with a point
// (a comma when it hangs below the digits) after the digits left of the one dot, if every
// digit is a shape of its own.
std::optional<QString> pointedFromInk(const WordBox& word, const std::vector<InkShape>& shapes, double glyph);

// Whether a second reading keeps every point and comma the first one saw inside it:
// "7.A7" read again as "747" has lost its point, not corrected a slip.
bool keepsPoints(const QString& first, const QString& second);

// The characters a figure's second reading may use.
QString figureReadingCharacters();

}  // namespace Platform::Recognition
