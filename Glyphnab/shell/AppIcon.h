#pragma once

// The app's one icon: the one the desktop entry names, installed in the hicolor theme, for
// the windows, the taskbar and the autostart entry alike.

#include <QIcon>
#include <QString>

#include <optional>

namespace Glyphnab {

// The icon's file in the data folder ("icons/<id>.svg"), the copy that a run from the build
// tree or an unusual prefix has; nothing when it is missing.
std::optional<QString> appIconFile(const QString& bundleId, const std::optional<QString>& dataFolder);

// The theme's icon of that name, else the data folder's file; a null icon without either.
QIcon appIcon(const QString& bundleId);

}  // namespace Glyphnab
