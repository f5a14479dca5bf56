#pragma once

// Where the overlay draws its size label and hint. Every rectangle here is in one
// overlay view's own space: origin at the view's bottom-left corner, y up.

#include <QRectF>
#include <QSizeF>

namespace ZantrelUI::AreaSelectorLayout {

// Distance kept between a pill and the view's edges, and between the label and the
// selection.
inline constexpr double margin = 8;

// Moves the pill into the view, `margin` from each edge; the right and top edges win
// when the view is too small for both (they are applied last).
QRectF clamp(const QRectF& pill, const QRectF& bounds);

// The size label's pill for a text of `textSize`: right edge flush with the selection's,
// top 8 points below its bottom edge, then clamped into the view.
QRectF labelPill(const QRectF& selection, QSizeF textSize, const QRectF& bounds);

// The hint's pill for a text of `textSize`: centred on the view, clamped into it.
QRectF hintPill(QSizeF textSize, const QRectF& bounds);

// Where text sits inside a pill (its bottom-left origin): the label is inset 8 × 4, the
// hint 16 × 9.
QRectF labelText(const QRectF& pill, QSizeF textSize);
QRectF hintText(const QRectF& pill, QSizeF textSize);

// A view-space rectangle in the view's widget space (origin top left, y down).
QRectF toWidget(const QRectF& rect, double viewHeight);

}  // namespace ZantrelUI::AreaSelectorLayout
