#include "ZantrelUI/pieces/Announce.h"

#include <QAccessible>
#include <QApplication>
#include <QWidget>

namespace ZantrelUI::Announce {

std::function<void(const QString&)>& observer() {
    static std::function<void(const QString&)> hook;
    return hook;
}

QObject* poster() {
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->isWindow())
            return window;
    return QCoreApplication::instance();
}

void post(const QString& text) {
    if (const auto& hook = observer())
        hook(text);
    QObject* target = poster();
    if (!target || !QAccessible::isActive())
        return;
    // Qt 6.4 has no announcement event; an alert on the posting window is what the
    // desktop's screen readers are told about.
    QAccessibleEvent event(target, QAccessible::Alert);
    QAccessible::updateAccessibility(&event);
}

}  // namespace ZantrelUI::Announce
