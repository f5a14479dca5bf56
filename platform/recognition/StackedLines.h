#pragma once

// A narrow column of short items (the numbers of a numbered list, a listing's link
// counts) can come back as one "line" standing across several rows, its text garbage,
// and glue the rows it stands across into one.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <vector>

namespace Platform::Recognition {

// Drops the lines whose glyphs stand in rows one above the other, so that their ink is
// read again row by row like any ink the layout left out. `shapes` are the ink shapes
// of the picture the lines are in, `pictureHeight` its height.
void dropStackedLines(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes, int pictureHeight);

}  // namespace Platform::Recognition
