#include "ZantrelUI/design/LinkButton.h"

#include "ZantrelUI/context/MacCalls.h"
#include "ZantrelUI/design/Tokens.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace ZantrelUI {

LinkButton::LinkButton(const QString& title, QUrl url, QWidget* parent) : QAbstractButton(parent), title_(title), url_(std::move(url)) {
    QFont font = Fonts::small();
    font.setWeight(QFont::DemiBold);
    setFont(font);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(title);
    connect(this, &QAbstractButton::clicked, this, [this] { macCallsOf(this).open(url_); });
}

void LinkButton::setPlainFont(const QFont& font) {
    setFont(font);
    updateGeometry();
}

QSize LinkButton::sizeHint() const {
    const QFontMetricsF metrics(font());
    return {static_cast<int>(std::ceil(metrics.horizontalAdvance(title_))) + 2,
            static_cast<int>(std::ceil(metrics.height()))};
}

void LinkButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Environment::of(this).accent.ink.resolve(this));
    painter.setFont(font());
    painter.drawText(rect().adjusted(1, 0, -1, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title_);
    if (hasFocus() || underMouse()) {
        const QFontMetricsF metrics(font());
        const qreal y = (height() + metrics.ascent() - metrics.descent()) / 2.0 + metrics.underlinePos();
        painter.drawLine(QPointF(1, y), QPointF(width() - 1, y));
    }
}

bool LinkButton::event(QEvent* event) {
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave ||
        event->type() == EnvironmentChangeEvent::type())
        update();
    if (event->type() == EnvironmentChangeEvent::type())
        return true;
    return QAbstractButton::event(event);
}

}  // namespace ZantrelUI
