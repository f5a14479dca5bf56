#pragma once

// The ground under the text of a picture whose ground is no one gray (a banner over a
// gradient with blurred blobs): each pixel's ground with the strokes taken out, so that
// a pixel's distance from it is its ink whether the text is lighter or darker.

#include <QImage>

namespace Platform::Recognition {

// The gray picture with every light or dark feature narrower than 2 × `radius` + 1
// pixels removed (a gray opening and a closing, with a square of that side, in the order
// that keeps the ground between the letters: light text's or dark text's). Text
// strokes go; gradients, blobs and panels wider than the square (a button, a card on
// the page) stay as they are. Grayscale8 in and out.
QImage groundLevel(const QImage& gray, int radius);

}  // namespace Platform::Recognition
