#pragma once

// A window grabbed with its title bar brings the bar's buttons along: a chevron, a bar, a
// square and a cross drawn as icons at the right end of the title's row, read as junk
// ("a — a", "- xX"). The maximize button's square, a hollow box with sharp corners, is
// the one icon no letter looks like; the short marks beside it that end the row are the
// other buttons.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <vector>

namespace Platform::Recognition {

// A hollow square about a glyph or two high: its four sides inked to the corners, its
// inside clear. `threshold` is the ink level of `gray`.
bool isHollowSquare(const QImage& gray, int threshold, const QRect& box, double glyph);

// Drops the words of a row that hold a hollow square and end the row: the word over
// the square and the short words (at most two characters) on either side of it up to the
// row's end, the group standing apart from any text before it. Words of all `lines`
// that share the square's rows are one row. `gray` is the picture the boxes and
// `shapes` are in, `threshold` its ink level and `glyph` the text's glyph height there.
void dropTitleBarControls(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                          const std::vector<InkShape>& shapes, double glyph);

}  // namespace Platform::Recognition
