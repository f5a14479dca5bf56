#pragma once

// Rectangle helpers of the drag-to-select road. Rectangles are in global screen points
// (origin at the bottom left of the primary screen, y up) unless a function says
// otherwise; screen frames are passed in, no screen is read here.

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>

namespace ZantrelKit::ScreenArea {

// The smallest area a grab accepts, in points, in either direction.
inline constexpr double minimumSide = 4;

// The rectangle a drag spans, whichever way it went; a click gives a zero-size one.
QRectF rect(QPointF from, QPointF to);

// The part of the rectangle that lies on the screens: the union of its overlaps with each
// frame that has an area. Nothing when it lies on no screen at all.
std::optional<QRectF> clip(const QRectF& rect, const QList<QRectF>& screens);

// At least 4 × 4 points (both bounds inclusive).
bool isUsable(const QRectF& rect);

// "120 × 34": width and height rounded half away from zero. Empty when either side is
// not a finite number, which no drag produces.
QString sizeLabel(const QRectF& rect);

// The rectangle in capture space (origin at the top left of the primary screen, y down).
QRectF captureRect(const QRectF& rect, double screenHeight);

}  // namespace ZantrelKit::ScreenArea
