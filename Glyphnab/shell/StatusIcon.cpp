#include "Glyphnab/shell/StatusIcon.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdlib>

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

QIcon statusTrayIcon() { return statusTrayIcon(ZantrelUI::systemColorScheme()); }

QIcon statusTrayIcon(ZantrelUI::ColorScheme shade) {
    QIcon icon;
    for (const int side : {16, 18, 22, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(statusIcon(side, shade)));
    return icon;
}

namespace {
// Relative luminance, 0 (black) to 1 (white).
double luminance(const QColor& color) {
    return 0.2126 * color.redF() + 0.7152 * color.greenF() + 0.0722 * color.blueF();
}
}  // namespace

ZantrelUI::ColorScheme shadeForPanel(const QColor& panel) {
    return luminance(panel) < 0.5 ? ZantrelUI::ColorScheme::dark : ZantrelUI::ColorScheme::light;
}

ZantrelUI::ColorScheme shadeForForeground(const QColor& foreground) {
    return luminance(foreground) >= 0.5 ? ZantrelUI::ColorScheme::dark : ZantrelUI::ColorScheme::light;
}

std::optional<QColor> panelBehind(const QImage& place) {
    if (place.width() < 2 || place.height() < 2)
        return std::nullopt;
    const int right = place.width() - 1;
    const int bottom = place.height() - 1;
    const QColor corners[] = {place.pixelColor(0, 0), place.pixelColor(right, 0), place.pixelColor(0, bottom),
                              place.pixelColor(right, bottom)};
    int red = 0, green = 0, blue = 0;
    for (const QColor& corner : corners) {
        // A little gradient or a bevel is still one panel; a window over the icon is not.
        if (std::abs(luminance(corner) - luminance(corners[0])) > 0.15)
            return std::nullopt;
        red += corner.red();
        green += corner.green();
        blue += corner.blue();
    }
    return QColor(red / 4, green / 4, blue / 4);
}

}  // namespace Glyphnab
