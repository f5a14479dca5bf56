#include "ZantrelUI/pieces/KeyCap.h"

#include "ZantrelUI/design/GlassPainting.h"

#include <QPainter>

#include <cmath>

namespace ZantrelUI {

KeyCap::KeyCap(const QString& text, QWidget* parent) : GlassWidget(parent), text_(text) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void KeyCap::setText(const QString& text) {
    text_ = text;
    updateGeometry();
    update();
}

QFont KeyCap::font() { return Fonts::system(11, QFont::DemiBold, true); }

QSize KeyCap::sizeHint() const {
    const QFontMetricsF metrics(font());
    const qreal width = std::max(minimumSide, metrics.horizontalAdvance(text_) + 2 * padding);
    const qreal height = std::max(minimumSide, metrics.height());
    // Rounded to whole pixels, so a single glyph keeps the square key.
    return QSize(static_cast<int>(std::round(width)), static_cast<int>(std::round(height)));
}

QRectF KeyCap::lipRect() const {
    const QRectF r(rect());
    return QRectF(r.left() + lipInset, r.bottom() - lipHeight, r.width() - 2 * lipInset, lipHeight);
}

void KeyCap::paintEvent(QPaintEvent*) {
    const ColorScheme s = scheme();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r(rect());
    painter.fillPath(roundedPath(r, radius), Surface::faintFill().resolve(s));
    strokeRoundedInside(painter, r, radius, Surface::track().resolve(s), 1);
    painter.fillPath(roundedPath(lipRect(), std::min(radius, lipHeight / 2)), Surface::track().resolve(s));
    painter.setFont(font());
    painter.setPen(Ink::secondary().resolve(s));
    painter.drawText(r.adjusted(padding, 0, -padding, 0), Qt::AlignCenter | Qt::TextSingleLine, text_);
}

}  // namespace ZantrelUI
