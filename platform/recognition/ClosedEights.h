#pragma once

// A light, thin "8" can come back as "3" or "5": the recognizer sees half of the outline
// and misses the rest. A "3" is open on its left, a "5" on its right above its bowl; they
// close no ground two times over. Ink that closes two holes, one over the other, is an
// "8" whatever it was read as.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <vector>

namespace Platform::Recognition {

// `band` is dark text on a light ground, `shapes` its ink shapes above `threshold`; the
// lines' boxes are in its pixels. Changes only words whose ink falls apart into shapes as
// their characters do.
void restoreClosedEights(std::vector<LineWords>& lines, const QImage& band, int threshold,
                         const std::vector<InkShape>& shapes);

}  // namespace Platform::Recognition
