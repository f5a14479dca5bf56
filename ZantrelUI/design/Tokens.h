#pragma once

// The family's look in one place: colours that follow the light or dark appearance,
// fonts, radii, spacing and shadows.

#include "ZantrelUI/context/Appearance.h"

#include <QColor>
#include <QFont>
#include <QLinearGradient>
#include <QPointF>
#include <QString>

#include <cstdint>

class QWidget;

namespace ZantrelUI {

// Foreground colours.
namespace Ink {
const DynamicColor& primary();
const DynamicColor& secondary();
const DynamicColor& tertiary();
const DynamicColor& onAccent();
const DynamicColor& danger();
// The label colour on danger fills.
const DynamicColor& onDanger();
}  // namespace Ink

// Background colours.
namespace Surface {
const DynamicColor& windowTop();
const DynamicColor& windowBottom();
const DynamicColor& card();
const DynamicColor& cardStroke();
const DynamicColor& hairline();
const DynamicColor& cardHighlight();
const DynamicColor& faintFill();
const DynamicColor& strongFill();
const DynamicColor& track();
const DynamicColor& shadow();
}  // namespace Surface

// Font tokens; sizes are logical pixels.
namespace Fonts {
QFont hero();
QFont title();
QFont heading();
QFont roundedHeadline();
QFont roundedCaption();
QFont headline();
QFont label();
QFont small();
QFont body();
QFont footnote();
QFont caption();
// A font of the family's type at a size (logical pixels) and weight; `rounded` prefers a
// rounded face when one is installed.
QFont system(qreal size, QFont::Weight weight = QFont::Normal, bool rounded = false);
// A face whose every character has one advance, at `like`'s size and weight. Judged by the
// glyphs themselves: fontconfig reports no spacing for some monospaced faces.
QFont monospaced(const QFont& like);
// `font` when its digits share one advance (tabular figures), else a monospaced face, so
// that changing numbers do not shift.
QFont monospacedDigits(const QFont& font);
// Whether every one of `characters` has the same advance in `font`.
bool sameAdvances(const QFont& font, const QString& characters);
}  // namespace Fonts

namespace Radius {
inline constexpr qreal panel = 24;
inline constexpr qreal card = 14;
inline constexpr qreal notice = 18;
inline constexpr qreal field = 8;
}  // namespace Radius

namespace Space {
inline constexpr qreal xs = 4;
inline constexpr qreal s = 8;
inline constexpr qreal m = 12;
inline constexpr qreal l = 16;
inline constexpr qreal xl = 18;
inline constexpr qreal xxl = 24;
}  // namespace Space

// A shadow under a shape: colour (with its opacity), blur radius and offset.
struct Shadow {
    QColor color;
    qreal radius = 0;
    QPointF offset;

    bool visible() const { return color.alpha() > 0; }
};

Shadow tintedShadow(const QColor& color, double opacity, qreal radius, qreal y);
Shadow glow(const QColor& color);        // 0.75, radius 16, y 0
Shadow softShadow(const QColor& color);  // 0.35, radius 8, y 2

}  // namespace ZantrelUI
