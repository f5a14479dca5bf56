#pragma once

// A figure read with a character its ink does not hold: "77%" comes back "771%", "5.3"
// "5.5)". Each character of a figure is ink of its own (a "%" three pieces, a colon
// two), so a figure read with more or fewer characters than its ink has pieces is in
// doubt; a second reading stands for it only when its characters match the pieces one
// for one, each digit narrower than it is tall.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QString>

#include <vector>

namespace Platform::Recognition {

// Whether the word is a figure (digits with points, commas, colons, slashes, dashes, a
// percent sign) with more or fewer characters than its ink can make.
bool misfitsInk(const WordBox& word, const std::vector<InkShape>& shapes);

// Whether a second reading of such a word is a figure that matches its ink piece by piece.
bool fitsInk(const QString& reading, const WordBox& word, const std::vector<InkShape>& shapes);

// The characters a second reading of such a figure may use.
QString figureShapeCharacters();

}  // namespace Platform::Recognition
