#include "ZantrelUI/desktop/MenuKeyStyle.h"

#include "ZantrelUI/desktop/KeyboardLayout.h"

#include <QApplication>
#include <QStyleOptionMenuItem>

namespace ZantrelUI {

// Follows whatever style the application has, now and later.
MenuKeyStyle::MenuKeyStyle() : QProxyStyle(QApplication::style()->name()) {}

QString MenuKeyStyle::rewritten(const QString& itemText) {
    const qsizetype tab = itemText.lastIndexOf(u'\t');
    if (tab < 0)
        return itemText;
    const QKeySequence keys = QKeySequence::fromString(itemText.mid(tab + 1), QKeySequence::NativeText);
    if (keys.count() != 1)
        return itemText;
    return itemText.left(tab + 1) + KeyboardLayout::text(keys[0]);
}

void MenuKeyStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
    if (element == CE_MenuItem) {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            QStyleOptionMenuItem copy(*item);
            copy.text = rewritten(item->text);
            QProxyStyle::drawControl(element, &copy, painter, widget);
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

}  // namespace ZantrelUI
