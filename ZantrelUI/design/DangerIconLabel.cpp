#include "ZantrelUI/design/DangerIconLabel.h"

#include "ZantrelUI/design/Symbols.h"

#include <QPainter>

#include <cmath>

namespace ZantrelUI {

namespace {
constexpr qreal gap = 6;
}

DangerIconLabel::DangerIconLabel(QString symbol, QString title, QWidget* parent)
    : GlassWidget(parent), symbol_(std::move(symbol)), title_(std::move(title)) {
    setAccessibleName(title_);
}

QSize DangerIconLabel::sizeHint() const {
    const QFontMetricsF metrics(Fonts::body());
    const qreal icon = std::round(metrics.height());
    return QSize(static_cast<int>(std::ceil(icon + gap + metrics.horizontalAdvance(title_))),
                 static_cast<int>(std::ceil(metrics.height())));
}

void DangerIconLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(Fonts::body());
    const qreal icon = std::round(metrics.height());
    Symbols::paint(painter, symbol_, QRectF(0, (height() - icon) / 2, icon, icon), iconColor());
    painter.setFont(Fonts::body());
    painter.setPen(titleColor());
    painter.drawText(QRectF(icon + gap, 0, width() - icon - gap, height()), Qt::AlignLeft | Qt::AlignVCenter, title_);
}

}  // namespace ZantrelUI
