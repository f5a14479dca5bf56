#pragma once

// The shortcuts the desktop itself uses, so that the shortcut settings can warn about a
// clash: GNOME's key bindings (window manager, shell, media keys, read with gsettings)
// and KDE's global shortcuts (kglobalshortcutsrc). A combination that some other program
// holds without saying so is found when the app tries to register it (the hot keys
// report it refused).

#include "ZantrelKit/Shortcut.h"
#include "platform/keyboard/Keymap.h"

#include <QSet>
#include <QString>

#include <optional>

namespace ZantrelUI::SystemShortcuts {

using ShortcutSet = QSet<ZantrelKit::Shortcut>;

// The desktop's enabled shortcuts now; empty when it tells none. Read afresh every call.
ShortcutSet current();

// "<Primary><Shift>t", GTK's accelerator text; nothing for a disabled or unknown key or a
// modifier the app cannot hold (Hyper).
std::optional<ZantrelKit::Shortcut> fromAccelerator(const QString& accelerator, const Platform::Keymap& keymap);
// "Meta+Ctrl+Left", Qt's portable key-sequence text as KDE stores it.
std::optional<ZantrelKit::Shortcut> fromKeySequence(const QString& sequence, const Platform::Keymap& keymap);

// The output of `gsettings list-recursively SCHEMA`: one "schema key value" line per key,
// the value a GVariant string or list of strings.
ShortcutSet fromGsettingsListing(const QString& listing, const Platform::Keymap& keymap);
// kglobalshortcutsrc: "action=active\tsecond,default,description" per action, in a group
// per component. The app's own keys registered there (`ownComponent`) are not the desktop's.
ShortcutSet fromKdeShortcuts(const QString& text, const Platform::Keymap& keymap, const QString& ownComponent = {});

}  // namespace ZantrelUI::SystemShortcuts
