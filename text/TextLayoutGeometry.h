#pragma once

// Edges and sizes of boxes as the layout reads them: a box with a negative width or
// height counts by its normalized extent.

#include <QList>
#include <QRectF>

#include <algorithm>

namespace ZantrelText::LayoutGeometry {

inline double minX(const QRectF& box) { return std::min(box.left(), box.left() + box.width()); }
inline double maxX(const QRectF& box) { return std::max(box.left(), box.left() + box.width()); }
inline double minY(const QRectF& box) { return std::min(box.top(), box.top() + box.height()); }
inline double maxY(const QRectF& box) { return std::max(box.top(), box.top() + box.height()); }
inline double width(const QRectF& box) { return maxX(box) - minX(box); }
inline double height(const QRectF& box) { return maxY(box) - minY(box); }
inline double midY(const QRectF& box) { return (minY(box) + maxY(box)) / 2; }

// The smallest box holding all of them (also those of zero width).
inline QRectF unionOf(const QList<QRectF>& boxes)
{
    if (boxes.isEmpty())
        return {};
    double left = minX(boxes.front()), right = maxX(boxes.front());
    double top = minY(boxes.front()), bottom = maxY(boxes.front());
    for (const QRectF& box : boxes) {
        left = std::min(left, minX(box));
        right = std::max(right, maxX(box));
        top = std::min(top, minY(box));
        bottom = std::max(bottom, maxY(box));
    }
    return QRectF(left, top, right - left, bottom - top);
}

}  // namespace ZantrelText::LayoutGeometry
