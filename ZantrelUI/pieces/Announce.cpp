#include "ZantrelUI/pieces/Announce.h"

#include "ZantrelUI/design/GlassAccessibility.h"

#include <QAccessible>
#include <QApplication>
#include <QWidget>

#include <utility>

namespace ZantrelUI::Announce {
namespace {

// Qt 6.4 has no announcement request. What screen readers on the desktop speak unasked is a
// notification that comes on screen: its name, or else the labels inside it. So each sentence
// is a fresh notification in the posting window, named by the sentence and holding it as its
// one label; it replaces the one before without being hidden first, so nothing is said as the
// old one goes.
class Region final : public QWidget, public AccessibleSource {
public:
    Region(QWidget* window, QString text) : QWidget(window), text_(std::move(text)) {
        ensureGlassAccessibility();
        setObjectName(regionName);
        markAccessibilityOnly(this);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(0, 0, 1, 1);
    }

    QAccessible::Role accessibleRole() const override { return QAccessible::Notification; }
    QString accessibleText(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? text_ : QString();
    }
    int accessibleChildCount() const override { return 1; }
    AccessibleChild accessibleChild(int) const override {
        return {QAccessible::StaticText, text_, {}, QRect(0, 0, 1, 1)};
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
    return window->findChild<Region*>(QString::fromLatin1(Region::regionName), Qt::FindDirectChildrenOnly);
}

void post(const QString& text, QWidget* from) {
    if (const auto& hook = observer())
        hook(text);
    QObject* target = from != nullptr ? from->window() : poster();
    if (auto* window = qobject_cast<QWidget*>(target)) {
        delete region(window);
        (new Region(window, text))->show();
        return;
    }
    if (!target || !QAccessible::isActive())
        return;
    QAccessibleEvent event(target, QAccessible::Alert);
    QAccessible::updateAccessibility(&event);
}

}  // namespace ZantrelUI::Announce
