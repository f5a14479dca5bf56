#pragma once

// The tray icon, drawn in code: a stylus over a bar. Most tray hosts do not tint icons, so
// it comes in a light and a dark shade, the one that stands out on the panel it sits on.
// Hosts that do tint (StatusNotifierItem panels) get the symbolic icon by its theme name.

#include "ZantrelUI/design/Tokens.h"

#include <QIcon>
#include <QImage>

#include <optional>

namespace Glyphnab {

// The icon on a square of `size` points, drawn at `devicePixelRatio` pixels per point
// with a transparent background, in the ink of `scheme` (light strokes for a dark panel).
QImage statusIcon(double size, ZantrelUI::ColorScheme scheme, qreal devicePixelRatio = 1);
// The same in the desktop's current appearance.
QImage statusIcon(double size);

// The icon at the sizes tray hosts ask for, in the desktop's current appearance.
QIcon statusTrayIcon();
// The same in a given shade.
QIcon statusTrayIcon(ZantrelUI::ColorScheme shade);

// The shade whose strokes stand out on a panel of this colour: light strokes (the dark
// scheme's ink) on a dark panel, dark ones on a light panel.
ZantrelUI::ColorScheme shadeForPanel(const QColor& panel);
// The shade for the foreground colour a tray asks its icons to draw in.
ZantrelUI::ColorScheme shadeForForeground(const QColor& foreground);
// The panel's colour in a picture of the icon's place on screen: its four corners, where
// the icon draws nothing. Nothing for an empty picture or corners that disagree (something
// lies over the icon just then).
std::optional<QColor> panelBehind(const QImage& place);

}  // namespace Glyphnab
