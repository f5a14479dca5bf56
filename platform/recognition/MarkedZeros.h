#pragma once

// Terminal fonts mark their zero with a dot or a stroke inside the ring. Small, the mark
// runs into the ring and splits the ground inside it in two, one hole over the other,
// and the recognizer reads the zero as "6", "9" or "8" ("09:06" comes back "69:06").
// A "6" or a "9" closes one hole only; an "8" narrows between its two. A digit read as
// one of them whose ink closes two holes, one over the other, and is widest in its middle
// without narrowing between them is a zero; read as "8", only when it is no narrower
// between its holes than beside them, as a round ring is and an "8" never is. Larger, the dot
// stands free in the middle of the ring ("07:32" comes back "67:32"): a digit whose box
// holds a ring and one small shape about its middle is a zero too.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <vector>

namespace Platform::Recognition {

// `band` is dark text on a light ground, `shapes` its ink shapes above `threshold`; the
// lines' boxes are in its pixels. Changes only digits of words whose glyphs spell them.
void restoreMarkedZeros(std::vector<LineWords>& lines, const QImage& band, int threshold,
                        const std::vector<InkShape>& shapes);

}  // namespace Platform::Recognition
