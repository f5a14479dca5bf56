#include "platform/screen/ScreenSpace.h"

namespace Platform {

// The primary screen's bottom-left corner is the global origin.
QPointF ScreenSpace::toDesktop(QPointF global) const {
    return {global.x() + primary_.left(), primary_.top() + primary_.height() - global.y()};
}

QPointF ScreenSpace::toGlobal(QPointF desktop) const {
    return {desktop.x() - primary_.left(), primary_.top() + primary_.height() - desktop.y()};
}

QRectF ScreenSpace::toDesktop(const QRectF& global) const {
    const QRectF r = global.normalized();
    return {QPointF(r.left() + primary_.left(), primary_.top() + primary_.height() - r.bottom()), r.size()};
}

QRectF ScreenSpace::toGlobal(const QRectF& desktop) const {
    // The same flip: the rectangle's far edge in one space is its near edge in the other.
    const QRectF r = desktop.normalized();
    return {QPointF(r.left() - primary_.left(), primary_.top() + primary_.height() - r.bottom()), r.size()};
}

}  // namespace Platform
