#pragma once

// What the system tray (XEmbed) tells its icons about the panel: the foreground colour it
// asks them to draw in (_NET_SYSTEM_TRAY_COLORS on the tray manager's window). GNOME's and
// Xfce's trays set it; many others do not.

#include "platform/screen/X11Link.h"

#include <QColor>
#include <QList>

#include <cstdint>
#include <optional>

namespace Platform {

// The normal foreground of the property's twelve 16-bit channels (normal, error, warning,
// success, each red, green, blue); nothing for a shorter value.
std::optional<QColor> trayForegroundFrom(const QList<std::uint32_t>& values);

// The tray of the link's screen and its foreground; nothing without a tray manager or
// without the property.
std::optional<QColor> trayForeground(const X11Link& link);

}  // namespace Platform
