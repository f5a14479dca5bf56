#pragma once

// The kit's own small symbol set, drawn from SVG and tinted when painted. The names are
// the ones the views ask for ("checkmark", "text.viewfinder", …); an unknown name draws
// nothing.

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;

namespace ZantrelUI::Symbols {

bool has(const QString& name);
QStringList names();

// Paints the symbol to fit `rect` (kept square, centred) in `color`; false for an unknown name.
bool paint(QPainter& painter, const QString& name, const QRectF& rect, const QColor& color);

// The symbol as a tinted picture of `side` logical pixels; a null image for an unknown name.
QImage image(const QString& name, qreal side, const QColor& color, qreal devicePixelRatio = 1);

}  // namespace ZantrelUI::Symbols
