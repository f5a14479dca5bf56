#pragma once

// The appearance a view is drawn in: light or dark, colours with a value for each, and the
// accent. Environment values carry them, so they sit below the design tokens.

#include "ZantrelKit/AccentPair.h"
#include "ZantrelKit/Palette.h"

#include <QColor>
#include <QLinearGradient>
#include <QRectF>
#include <QString>

#include <cstdint>

class QWidget;

namespace ZantrelUI {

enum class ColorScheme { light, dark };

// The appearance a widget is drawn in: the nearest `colorScheme` of its environment, else
// the desktop's colour-scheme preference, else the lightness of the application palette.
ColorScheme colorScheme(const QWidget* widget);
// The same without a widget: the desktop's (or the palette's) appearance.
ColorScheme systemColorScheme();

// A colour with a dark and a light value, resolved whenever it is drawn.
struct DynamicColor {
    ZantrelKit::Palette::Tone dark;
    ZantrelKit::Palette::Tone light;

    QColor resolve(ColorScheme scheme) const;
    QColor resolve(const QWidget* widget) const { return resolve(colorScheme(widget)); }

    friend bool operator==(const DynamicColor&, const DynamicColor&) = default;
};

// A plain sRGB colour from 0xRRGGBB and an opacity.
QColor colorFromHex(std::uint32_t hex, double opacity = 1);

// The accent glass views paint with. Equal when the names are equal.
struct Accent {
    DynamicColor top;     // also the glow colour
    DynamicColor bottom;
    DynamicColor ink;
    QString name;

    explicit Accent(const ZantrelKit::AccentPair& pair);

    // Top to bottom over `rect`.
    QLinearGradient gradient(const QRectF& rect, ColorScheme scheme) const;

    friend bool operator==(const Accent& a, const Accent& b) { return a.name == b.name; }
};

}  // namespace ZantrelUI
