#pragma once

// Side-by-side columns of a page (a navigation, the text, a contents list) are read one
// at a time. The recognizer reads a page in horizontal bands of a few lines, and a band
// that short gives it no sign of the space between columns: it strings a menu item, a
// line of the text and a contents entry together as one line.

#include <QImage>
#include <QRect>

#include <vector>

namespace Platform::Recognition {

// Columns where a gray page may be cut into side-by-side regions: the centres of ink-free
// stretches at least three glyph heights wide that run down the whole page between
// columns of a few lines each, whose lines are not level with each other the way a
// table's cells are; ascending. `glyph` is the text's median glyph height in pixels.
std::vector<int> columnCuts(const QImage& gray, double glyph);

// The page cut into side-by-side regions at `cuts`, each as tall as the page, left first.
std::vector<QRect> columnRegions(const QSize& page, const std::vector<int>& cuts);

}  // namespace Platform::Recognition
