#pragma once

// A table's row is read again in a strip as wide as the table's text. Whatever stands
// just past the outer columns (a drop-down's chevron beside the last cell) must not be
// cut by the strip's sides: half a chevron reads as "»" or "s", where a whole one is
// known for a control and left out.

#include <QImage>
#include <QRect>

namespace Platform::Recognition {

// `area` widened at each side, by `reach` pixels at most, until its side columns run
// through no ink: each is one colour from top to bottom within the area's rows.
QRect clearOfGlyphs(const QImage& picture, const QRect& area, int reach);

}  // namespace Platform::Recognition
