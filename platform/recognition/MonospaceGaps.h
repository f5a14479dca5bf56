#pragma once

// In a fixed-width font a space is a whole empty cell: between the ink of two words set
// a space apart lies at least a cell's width of blank. A line without slim letters to
// prove its font fixed-width by its glyphs ("BRANCH(1)   User Commands") still has its
// ink on the cells, and there the recognizer's word gap narrower than a cell
// ("BRANCH (1)") is no space.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <vector>

namespace Platform::Recognition {

// Joins neighbouring words of a line whose ink stands on the cells of a fixed-width font
// when less than most of a cell of blank lies between them. Only a long line of mostly
// letters proves its cells by its ink; lines whose glyphs prove them are left to their
// respacing. `gray` is the picture of the boxes, darker than `threshold` is ink;
// `shapes` are its ink shapes.
void joinNarrowMonospaceGaps(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                             const std::vector<InkShape>& shapes);

}  // namespace Platform::Recognition
