#include "Glyphnab/shell/StatusIcon.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace Glyphnab {

QImage statusIcon(double size, ZantrelUI::ColorScheme scheme, qreal devicePixelRatio) {
    const int pixels = std::max(1, static_cast<int>(std::ceil(size * devicePixelRatio)));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // The strokes are laid out with the origin at the bottom left, in eighteenths.
    const double u = size / 18.0;
    painter.translate(0, size);
    painter.scale(u, -u);

    const QColor ink = ZantrelUI::Ink::primary().resolve(scheme);
    QPen pen(ink, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QPointF left[] = {{8.45, 16.4}, {4.7, 6.4}, {5.7, 4.3}};
    const QPointF right[] = {{9.55, 16.4}, {13.3, 6.4}, {12.3, 4.3}};
    painter.drawPolyline(left, 3);
    painter.drawPolyline(right, 3);

    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawEllipse(QRectF(7.6, 15.1, 2.8, 2.8));
    painter.drawRoundedRect(QRectF(5, 1, 8, 2.3), 1.15, 1.15);
    painter.end();
    return image;
}

QImage statusIcon(double size) { return statusIcon(size, ZantrelUI::systemColorScheme()); }

QIcon statusTrayIcon() {
    const ZantrelUI::ColorScheme scheme = ZantrelUI::systemColorScheme();
    QIcon icon;
    for (const int side : {16, 18, 22, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(statusIcon(side, scheme)));
    return icon;
}

}  // namespace Glyphnab
