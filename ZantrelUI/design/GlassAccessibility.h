#pragma once

// Accessibility for the kit's painted controls: a control describes itself (role, texts,
// state, actions, an optional value range, painted children) and one interface class
// reports that to assistive technology.

#include <QAccessible>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace ZantrelUI {

struct AccessibleRange {
    double value = 0;
    double minimum = 0;
    double maximum = 0;
    double step = 0;
};

// A painted part of a control that assistive technology sees as its own element.
struct AccessibleChild {
    QAccessible::Role role = QAccessible::Button;
    QString name;
    QAccessible::State state;
    QRect rect;  // in the control's coordinates
};

class AccessibleSource {
public:
    virtual ~AccessibleSource() = default;

    virtual QAccessible::Role accessibleRole() const = 0;
    // Name, value and description; an empty text falls back to the widget's own.
    virtual QString accessibleText(QAccessible::Text kind) const;
    virtual void addAccessibleState(QAccessible::State& state) const;
    virtual QStringList accessibleActions() const { return {}; }
    virtual void doAccessibleAction(const QString& action);

    virtual std::optional<AccessibleRange> accessibleRange() const { return std::nullopt; }
    virtual void setAccessibleValue(double value);

    // Real child widgets assistive technology meets inside the control, before its painted
    // children; the control's other child widgets stay hidden.
    virtual QList<QWidget*> accessibleWidgets() const { return {}; }

    virtual int accessibleChildCount() const { return 0; }
    virtual AccessibleChild accessibleChild(int index) const;
    virtual void activateAccessibleChild(int index);
};

// Installs the interface factory once per process; controls call it when they are built.
void ensureGlassAccessibility();

// Keeps a purely decorative widget (and everything inside it) out of what assistive
// technology reads: its parent does not list it, and asked directly it reports no role, no
// name, no children, and is never showing. It takes the widget's object name. Call it
// before anything asks for the widget's interface.
void hideFromAccessibility(QWidget* widget);
bool isHiddenFromAccessibility(const QWidget* widget);

// The opposite kind: a widget that draws nothing and takes no input, there only for
// assistive technology. Code looking for a window's content passes over it.
void markAccessibilityOnly(QWidget* widget);
bool isAccessibilityOnly(const QWidget* widget);

}  // namespace ZantrelUI
