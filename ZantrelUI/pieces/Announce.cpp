#include "ZantrelUI/pieces/Announce.h"

#include "ZantrelUI/design/GlassAccessibility.h"

#include <QAccessible>
#include <QApplication>
#include <QWidget>

namespace ZantrelUI::Announce {
namespace {

// Qt 6.4 has no announcement request: a window's alert region, whose name is the sentence
// and which shows again for each one, is what screen readers on the desktop speak.
class Region final : public QWidget, public AccessibleSource {
public:
    explicit Region(QWidget* window) : QWidget(window) {
        ensureGlassAccessibility();
        setObjectName(regionName);
        markAccessibilityOnly(this);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(0, 0, 1, 1);
    }

    void say(const QString& text) {
        text_ = text;
        hide();
        show();
        if (!QAccessible::isActive())
            return;
        QAccessibleEvent named(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&named);
        QAccessibleEvent alert(this, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }

    QAccessible::Role accessibleRole() const override { return QAccessible::AlertMessage; }
    QString accessibleText(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? text_ : QString();
    }

    static constexpr const char* regionName = "zantrel.announcement";

private:
    QString text_;
};

}  // namespace

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

QWidget* region(QWidget* window) {
    auto* found = window->findChild<Region*>(QString::fromLatin1(Region::regionName), Qt::FindDirectChildrenOnly);
    return found != nullptr ? found : new Region(window);
}

void post(const QString& text) {
    if (const auto& hook = observer())
        hook(text);
    QObject* target = poster();
    if (auto* window = qobject_cast<QWidget*>(target)) {
        static_cast<Region*>(region(window))->say(text);
        return;
    }
    if (!target || !QAccessible::isActive())
        return;
    QAccessibleEvent event(target, QAccessible::Alert);
    QAccessible::updateAccessibility(&event);
}

}  // namespace ZantrelUI::Announce
