#pragma once

// Solid shapes that hold no text: an avatar's disc beside a chat message, a coloured
// square icon. The recognizer reads such a shape as "@", "r" or "(©)", and one that
// stands as tall as two lines can pull the start of both into a line of its own. A
// shape that is filled, larger than the text's glyphs and without any ground inside
// it is a picture; it goes white before the page is read.

#include <QImage>
#include <QRect>

#include <optional>
#include <vector>

namespace Platform::Recognition {

// The areas of such shapes, with their anti-aliased rims. `gray` is the prepared page
// (dark text on a light ground) and `glyph` its median glyph height.
std::vector<QRect> solidShapes(const QImage& gray, std::optional<double> glyph);

}  // namespace Platform::Recognition
