#include "Glyphnab/InkLabel.h"

#include "ZantrelUI/Environment.h"

namespace Glyphnab {

InkLabel::InkLabel(const QString& text, const ZantrelUI::DynamicColor& ink, const QFont& font, QWidget* parent)
    : QLabel(parent), ink_(ink) {
    setTextFormat(Qt::PlainText);
    setText(text);
    setFont(font);
    recolor();
}

void InkLabel::setInk(const ZantrelUI::DynamicColor& ink) {
    ink_ = ink;
    recolor();
}

void InkLabel::recolor() {
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, ink_.resolve(this));
    setPalette(palette);
}

bool InkLabel::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Polish || event->type() == QEvent::Show ||
        event->type() == ZantrelUI::EnvironmentChangeEvent::type())
        recolor();
    return QLabel::event(event);
}

}  // namespace Glyphnab
