#include "ZantrelUI/InkLabel.h"

#include "ZantrelUI/Environment.h"

namespace ZantrelUI {

InkLabel::InkLabel(const QString& text, const QFont& font, const DynamicColor& ink, bool wraps, QWidget* parent)
    : QLabel(parent), ink_(ink) {
    ensureGlassAccessibility();
    setTextFormat(Qt::PlainText);
    setText(text);
    setFont(font);
    setWordWrap(wraps);
    recolor();
}

void InkLabel::setInk(const DynamicColor& ink) {
    if (ink_ == ink)
        return;
    ink_ = ink;
    recolor();
}

QString InkLabel::accessibleText(QAccessible::Text kind) const {
    return kind == QAccessible::Name ? text() : QString();
}

QColor InkLabel::resolvedInk() const { return ink_.resolve(colorScheme(this)); }

void InkLabel::recolor() {
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, resolvedInk());
    setPalette(palette);
}

bool InkLabel::event(QEvent* event) {
    if (event->type() == EnvironmentChangeEvent::type() || event->type() == QEvent::ParentChange ||
        event->type() == QEvent::Polish)
        recolor();
    return QLabel::event(event);
}

}  // namespace ZantrelUI
