#include "ZantrelUI/desktop/AreaSelectorLayout.h"

#include <algorithm>

namespace ZantrelUI::AreaSelectorLayout {

QRectF clamp(const QRectF& pill, const QRectF& bounds) {
    double x = pill.x();
    double y = pill.y();
    x = std::max(x, bounds.left() + margin);
    x = std::min(x, bounds.right() - pill.width() - margin);
    y = std::max(y, bounds.top() + margin);
    y = std::min(y, bounds.bottom() - pill.height() - margin);
    return {x, y, pill.width(), pill.height()};
}

QRectF labelPill(const QRectF& selection, QSizeF textSize, const QRectF& bounds) {
    const double width = textSize.width() + 16;
    const double height = textSize.height() + 8;
    // In view space "top" (QRectF::top) is the smaller y: the selection's bottom edge.
    const QRectF pill(selection.right() - textSize.width() - 16, selection.top() - textSize.height() - 16, width,
                      height);
    return clamp(pill, bounds);
}

QRectF hintPill(QSizeF textSize, const QRectF& bounds) {
    const QRectF pill(bounds.center().x() - textSize.width() / 2 - 16,
                      bounds.center().y() - textSize.height() / 2 - 9, textSize.width() + 32,
                      textSize.height() + 18);
    return clamp(pill, bounds);
}

QRectF labelText(const QRectF& pill, QSizeF textSize) {
    return {pill.x() + 8, pill.y() + 4, textSize.width(), textSize.height()};
}

QRectF hintText(const QRectF& pill, QSizeF textSize) {
    return {pill.x() + 16, pill.y() + 9, textSize.width(), textSize.height()};
}

QRectF toWidget(const QRectF& rect, double viewHeight) {
    return {rect.x(), viewHeight - rect.y() - rect.height(), rect.width(), rect.height()};
}

}  // namespace ZantrelUI::AreaSelectorLayout
