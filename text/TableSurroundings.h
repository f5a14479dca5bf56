#pragma once

// A reading that holds a table copies the table alone, so the text around it (a window's
// title, the sentence over a list, its buttons) goes into the table as rows of its own.

#include "text/TableText.h"
#include "text/TextPiece.h"

#include <QList>
#include <QRectF>

namespace ZantrelText::TableSurroundings {

// `table` with the lines of the pieces outside `tableBox` (picture pixels) as one-cell rows:
// the lines above it first, the rest after it, each in reading order.
TableText withTextAround(const TableText& table, const QRectF& tableBox, const QList<TextPiece>& pieces);

}  // namespace ZantrelText::TableSurroundings
