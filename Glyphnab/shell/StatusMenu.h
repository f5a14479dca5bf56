#pragma once

// The tray menu's contents, built afresh from the model each time the menu opens, so that
// it shows the state of that moment and keeps none of its own.

#include "GlyphnabCore/Command.h"
#include "ZantrelKit/Shortcut.h"

#include <QKeySequence>
#include <QSet>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QMenu;

namespace Glyphnab {

class GlyphnabModel;

namespace StatusMenu {

// The name of a key under the keyboard layout; nothing when the layout has none.
using KeyName = std::function<std::optional<QString>(std::uint16_t keyCode)>;

// Longest tooltip of a recent grab, in user-perceived characters.
inline constexpr qsizetype toolTipLength = 400;

// Empties the menu and fills it: the two grabs, the same area again, the clipboard
// picture, a file, the hint on opening files, the recent grabs, Settings… and Quit.
// A grab whose keys the desktop refused (`refused`) carries no keys and a line that says
// another program holds them.
void rebuild(QMenu& menu, GlyphnabModel& model, const std::function<void()>& openSettings,
             const KeyName& keyName, const QSet<GlyphnabCore::Command>& refused = {});

// Fills a submenu with the recent grabs, or the line that says why there are none.
void fillRecents(QMenu& menu, GlyphnabModel& model);

// The shortcut as the grab items carry it; nothing without a shortcut or without a name
// for its key.
std::optional<QKeySequence> keySequence(const std::optional<ZantrelKit::Shortcut>& shortcut,
                                        const KeyName& keyName);

// A text as a menu title: every "&" shown as itself rather than marking a mnemonic.
QString menuTitle(const QString& text);

// A recent grab's tooltip: its first characters, shown as plain text.
QString recentToolTip(const QString& text);

}  // namespace StatusMenu
}  // namespace Glyphnab
