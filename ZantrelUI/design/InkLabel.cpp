#include "ZantrelUI/design/InkLabel.h"

#include "ZantrelUI/context/Environment.h"

namespace ZantrelUI {

InkLabel::InkLabel(const QString& text, const QFont& font, const DynamicColor& ink, QWidget* parent)
    : QLabel(parent), ink_(ink) {
    ensureGlassAccessibility();
    setTextFormat(Qt::PlainText);
    setText(text);
    setFont(font);
    recolor();
}

InkLabel::InkLabel(const QString& text, const QFont& font, const DynamicColor& ink, bool wraps, QWidget* parent)
    : InkLabel(text, font, ink, parent) {
    setWrapping(wraps);
}

void InkLabel::setInk(const DynamicColor& ink) {
    ink_ = ink;
    recolor();
}

void InkLabel::setWrapping(bool wraps) {
    setWordWrap(wraps);
    QSizePolicy policy = sizePolicy();
    policy.setHeightForWidth(wraps);
    if (wraps)
        policy.setHorizontalPolicy(QSizePolicy::Preferred);
    setSizePolicy(policy);
}

QColor InkLabel::resolvedInk() const { return ink_.resolve(colorScheme(this)); }

QString InkLabel::accessibleText(QAccessible::Text kind) const {
    // A name set by the owner (the whole of a text shown cut) wins over the shown text.
    if (kind != QAccessible::Name)
        return {};
    return accessibleName().isEmpty() ? text() : accessibleName();
}

void InkLabel::recolor() {
    QPalette palette = this->palette();
    const QColor color = resolvedInk();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    setPalette(palette);
}

bool InkLabel::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show ||
        event->type() == EnvironmentChangeEvent::type())
        recolor();
    if (event->type() == EnvironmentChangeEvent::type())
        return true;
    return QLabel::event(event);
}

}  // namespace ZantrelUI
