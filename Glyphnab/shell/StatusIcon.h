#pragma once

// The tray icon, drawn in code: a stylus over a bar. Tray hosts do not tint icons, so it
// comes in a light and a dark shade, the one that stands out on the desktop's panel.

#include "ZantrelUI/design/Tokens.h"

#include <QIcon>
#include <QImage>

namespace Glyphnab {

// The icon on a square of `size` points, drawn at `devicePixelRatio` pixels per point
// with a transparent background, in the ink of `scheme` (light strokes for a dark panel).
QImage statusIcon(double size, ZantrelUI::ColorScheme scheme, qreal devicePixelRatio = 1);
// The same in the desktop's current appearance.
QImage statusIcon(double size);

// The icon at the sizes tray hosts ask for, in the desktop's current appearance.
QIcon statusTrayIcon();

}  // namespace Glyphnab
