#pragma once

// "c", "o", "s", "v", "w", "x" and "z" look the same in both cases but for their
// height. Alone (a spreadsheet's column "C" beside "B" and "D"), or after a dash
// ("-c, --count"), the recognizer has no word to tell the case by and guesses; in a
// fixed-width font it sometimes reads one glyph twice, once in each case ("-Vv",
// "--Ssummary", "Cc"). The height against the line's small and tall letters tells the case.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <vector>

namespace Platform::Recognition {

// A word of only such letters, its box as tall as the capitals and figures of its line,
// is read in capitals; "Cc" in a box no wider than tall is the one capital.
void restoreCapitals(std::vector<LineWords>& lines);

// Reads once a glyph read twice: two neighbouring glyphs of a word that are one letter
// in its two cases, where one box covers most of the other. Then gives each such
// letter that is its word's only letter the case its ink's height says against the
// x-height of the line's (or its row's) small letters. `shapes` are the ink shapes of the picture of
// the word boxes. Needs the words' glyphs as read.
void restoreLetterCase(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes);

// A word of x-height letters and dashes ("-rw-------") gives the recognizer no line to
// tell small letters from capitals by: it comes back "-TW-------". Ink no taller than
// the line's small letters holds no capital, so such a word of capitals is made small.
// `shapes` are the ink shapes of the picture the lines' boxes are in.
void lowerShortCapitals(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes);

// An option's letter "o" comes back as a zero ("-0, --copy"), a word with no other
// letter or figure. Figures stand as tall as capitals: a zero no taller than the small
// letters of the lines about as tall as its own is the letter. Such a line has few
// letters of its own to measure ("--copy"), so the heights are the other lines'; best
// given the whole picture's lines. `shapes` are the ink shapes of the lines' picture.
void restoreOptionLetterO(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes);

// "Cc", "oO": one letter of the same shape in both cases, what a glyph read alone
// comes back as when nothing tells its case.
bool isOneLetterInBothCases(const QString& text);

// The small letter an x-height glyph read as this capital is, or the capital itself.
QChar smallLetterFor(QChar capital);

}  // namespace Platform::Recognition
