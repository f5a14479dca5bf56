#include "ZantrelUI/design/PlainButton.h"

#include "ZantrelUI/design/Tokens.h"

#include <QPainter>

#include <cmath>

namespace ZantrelUI {

namespace {
QFont semiboldSmall() {
    QFont font = Fonts::small();
    font.setWeight(QFont::DemiBold);
    return font;
}
constexpr int padding = 2;  // room for the focus ring
}  // namespace

PlainButton::PlainButton(const QString& title, QWidget* parent) : PlainButton(title, semiboldSmall(), parent) {}

PlainButton::PlainButton(const QString& title, const QFont& font, QWidget* parent) : QAbstractButton(parent) {
    setText(title);
    setFont(font);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QColor PlainButton::inkColor() const {
    return Environment::of(this).accent.ink.resolve(colorScheme(this));
}

QSize PlainButton::sizeHint() const {
    const QFontMetricsF metrics(font());
    return QSize(int(std::ceil(metrics.horizontalAdvance(text()))) + 2 * padding,
                 int(std::ceil(metrics.height())) + 2 * padding);
}

void PlainButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QColor ink = inkColor();
    if (!isEnabled())
        ink.setAlphaF(ink.alphaF() * 0.4f);
    else if (isDown())
        ink.setAlphaF(ink.alphaF() * 0.6f);
    painter.setPen(ink);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
    if (hasFocus()) {
        QColor ring = ink;
        ring.setAlphaF(0.5f);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(ring, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }
}

bool PlainButton::event(QEvent* event) {
    if (event->type() == EnvironmentChangeEvent::type())
        update();
    return QAbstractButton::event(event);
}

}  // namespace ZantrelUI
