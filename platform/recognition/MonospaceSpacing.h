#pragma once

// In a fixed-width font every character, a space too, takes one cell of the same width.
// The recognizer places its word breaks by the width of the gaps between glyphs, which
// says little in code: "::" comes back as ": :", "list.filter" as "list. filter", and
// "i < n" as "i <n". A line whose glyphs stand on a grid of equal cells is broken into
// words where the grid has an empty cell, and nowhere else.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <optional>
#include <vector>

namespace Platform::Recognition {

// Breaks each line in a fixed-width font into words at its empty cells: neighbouring
// words with no empty cell between them become one word, and a word with an empty cell
// inside it becomes two. A cell with ink in it (a glyph the recognizer left out) is no
// word break; one holding a thin bar along the line's foot between two words is the
// underscore that joins them ("starts_with"). `gray` is the picture of the word boxes, darker than `threshold` is ink;
// `shapes` are its ink shapes.
void respaceMonospaceLines(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                           const std::vector<InkShape>& shapes);

// Each glyph of a fixed-width line takes a cell of its own. The recognizer at times reads
// one glyph twice ("i< <", "on" for "n"), the second box on the first's cell or on an
// empty one: of two glyphs on one cell, the one whose box fits the cell's ink worse is
// dropped, and so is a glyph between two neighbours with no inked cell between them.
void dropGlyphsWithoutCells(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                            const std::vector<InkShape>& shapes);

// The width of the line's cells when its glyphs stand on the grid of a fixed-width font;
// nothing for proportional text, or a line too short to tell.
std::optional<double> fixedCellWidth(const LineWords& line, const std::vector<InkShape>& shapes);

}  // namespace Platform::Recognition
