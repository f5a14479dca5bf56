#pragma once

// A bracket closes with its own kind: "s[i]", "f(x)", "{ }". The recognizer reads a
// square bracket in code as a brace now and then ("s{i]"); a square bracket's outer side
// is one straight stem, a brace's and a parenthesis's bend out at the middle.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <vector>

namespace Platform::Recognition {

// Of a pair of brackets of two kinds, one of them square, the other is made square when
// its ink's outer side is a straight stem. `gray` is the picture the boxes are in, darker
// than `threshold` is ink; `shapes` its ink shapes. A word whose glyphs do not spell it
// is left as read.
void settleBracketPairs(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                        const std::vector<InkShape>& shapes);

}  // namespace Platform::Recognition
