#pragma once

// Menus draw their items' keys with Qt's text for them ("Meta+Ctrl+Shift+T"); this style
// writes them the way the rest of the app and the desktop do ("Ctrl+Shift+Super+T"), in
// the menu's own key column.

#include <QProxyStyle>

namespace ZantrelUI {

class MenuKeyStyle final : public QProxyStyle {
public:
    MenuKeyStyle();

    // A menu item's text with the key column (after the tab) rewritten; other texts as given.
    static QString rewritten(const QString& itemText);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

}  // namespace ZantrelUI
