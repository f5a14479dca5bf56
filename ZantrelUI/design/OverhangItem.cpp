#include "ZantrelUI/design/OverhangItem.h"

#include <QWidget>

#include <algorithm>

namespace ZantrelUI {

OverhangItem::OverhangItem(QWidget* widget, QMargins overhang) : QWidgetItem(widget), overhang_(overhang) {}

QSize OverhangItem::withoutOverhang(QSize size) const {
    const auto shrink = [](int length, int by) { return length >= QWIDGETSIZE_MAX ? length : std::max(0, length - by); };
    return {shrink(size.width(), overhang_.left() + overhang_.right()),
            shrink(size.height(), overhang_.top() + overhang_.bottom())};
}

QSize OverhangItem::sizeHint() const { return withoutOverhang(QWidgetItem::sizeHint()); }
QSize OverhangItem::minimumSize() const { return withoutOverhang(QWidgetItem::minimumSize()); }
QSize OverhangItem::maximumSize() const { return withoutOverhang(QWidgetItem::maximumSize()); }

int OverhangItem::heightForWidth(int width) const {
    const int height = QWidgetItem::heightForWidth(width + overhang_.left() + overhang_.right());
    return height < 0 ? height : std::max(0, height - overhang_.top() - overhang_.bottom());
}

int OverhangItem::minimumHeightForWidth(int width) const {
    const int height = QWidgetItem::minimumHeightForWidth(width + overhang_.left() + overhang_.right());
    return height < 0 ? height : std::max(0, height - overhang_.top() - overhang_.bottom());
}

void OverhangItem::setGeometry(const QRect& rect) {
    slot_ = rect;
    // The widget takes the grown slot whole: its own size limits include the overhang.
    if (!isEmpty())
        widget()->setGeometry(rect.marginsAdded(overhang_));
}

}  // namespace ZantrelUI
