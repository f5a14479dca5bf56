#pragma once

// Tesseract reads a row of table cells, or a label and its value far apart, as one line.
// The layout needs them as separate pieces with the wide gaps between them, the way a
// reader of the screen sees them: lines are cut where the space between two words is
// wide compared with the line's height.

#include "platform/recognition/Observations.h"

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

namespace Platform::Recognition {

// One character as the recognizer read it.
struct GlyphBox {
    QString text;
    QRectF box;
};

struct WordBox {
    QString text;
    // In picture pixels, origin at the top left.
    QRectF box;
    // 0 to 1.
    float confidence = 0;
    // The characters as read, left to right, in the pixels of `box`; empty where the
    // recognizer gave none. A rule that changes `text` leaves them as they were read.
    std::vector<GlyphBox> glyphs = {};
};

struct LineWords {
    // The line's own box: its height spans ascenders and descenders.
    QRectF box;
    // Left to right.
    std::vector<WordBox> words;
};

// The words' mean confidence; 0 for none.
double meanConfidence(const std::vector<WordBox>& words);

// How many characters the words hold, spaces around them not counted.
qsizetype characterCount(const std::vector<WordBox>& words);

// A gap at least this many line heights wide separates two fragments. Word spaces,
// even stretched ones in justified text, stay well below it.
inline constexpr double fragmentGap = 1.0;

// The line cut at wide gaps; each fragment keeps the line's top and bottom and spans
// its own words horizontally. Empty words are dropped; a line without words gives none.
std::vector<LineWords> splitAtWideGaps(const LineWords& line);

// One observation for a fragment: its words joined by single spaces, with each word's
// range and box; boxes normalized for a picture of this size.
RecognizedTextObservation observationFor(const LineWords& fragment, const QSizeF& pictureSize);

}  // namespace Platform::Recognition
