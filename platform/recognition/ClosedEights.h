#pragma once

// A light, thin "8" can come back as "3": the recognizer sees the right half of the
// outline and misses the left. A "3" is open on its left, it closes no ground; ink that
// closes two holes, one over the other, is an "8" whatever it was read as.

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
