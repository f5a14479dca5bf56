#pragma once

// Figures stand as tall as capitals. Ink no taller than the line's small letters, read
// as a figure ("'2'" for "'a'" in code), is a small letter the line's context misread:
// the word read alone has it.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QString>

#include <optional>
#include <vector>

namespace Platform::Recognition {

// Where in the word's text its figures stand on the line's baseline no taller than its
// small letters. `shapes` are the ink shapes of the picture the boxes are in; nothing
// when the word's glyphs do not spell it or the line has too little ink to measure.
std::vector<qsizetype> shortFigures(const WordBox& word, const LineWords& line, const std::vector<InkShape>& shapes);

// The word's text with the figures at `at` taken from `alone`, the word read alone, when
// that reading is as long and has a small letter of x-height in each of their places.
std::optional<QString> withShortFiguresRead(const QString& text, const std::vector<qsizetype>& at,
                                            const QString& alone);

}  // namespace Platform::Recognition
