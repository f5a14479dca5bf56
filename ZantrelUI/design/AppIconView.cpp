#include "ZantrelUI/design/AppIconView.h"

#include "ZantrelUI/design/Symbols.h"
#include "ZantrelUI/design/Tokens.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>

namespace ZantrelUI {

AppIconView::AppIconView(int side, QWidget* parent) : GlassWidget(parent), side_(side) {
    setFixedSize(side, side);
    // Decorative: the window's name is next to it.
    setAccessibleName(QString());
}

bool AppIconView::applicationHasIcon() { return !QGuiApplication::windowIcon().isNull(); }

void AppIconView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect());
    if (applicationHasIcon()) {
        QGuiApplication::windowIcon().paint(&painter, rect());
        return;
    }
    const ColorScheme s = scheme();
    QPainterPath tile;
    tile.addRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), box.width() * 0.225, box.height() * 0.225);
    painter.fillPath(tile, environment().accent.gradient(box, s));
    const qreal inset = box.width() * 0.22;
    Symbols::paint(painter, QStringLiteral("text.viewfinder"), box.adjusted(inset, inset, -inset, -inset),
                   Ink::onAccent().resolve(s));
}

}  // namespace ZantrelUI
