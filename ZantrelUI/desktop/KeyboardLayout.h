#pragma once

// Key names as the user's current keyboard layout prints them, so that shortcuts show the
// letters on the user's keys.

#include "ZantrelKit/Shortcut.h"
#include "platform/keyboard/Keymap.h"

#include <QKeySequence>
#include <QString>

#include <cstdint>
#include <optional>

class QCoreApplication;

namespace ZantrelUI::KeyboardLayout {

// What the key types without modifiers under the current layout; nothing without an X11
// keyboard, or when it types only blanks or control characters. Read afresh every call.
std::optional<QString> name(std::uint16_t keyCode);
// The same under a given keymap.
std::optional<QString> name(std::uint16_t keyCode, const Platform::Keymap& keymap);

// "Ctrl+Shift+Super+T" with the layout's name of the key.
QString text(const ZantrelKit::Shortcut& shortcut);

// The shortcut as Qt's key data, for menus that draw or export their own key column: a
// named key (arrows, F1…) by its Qt key, any other by the one character the layout
// gives it. Nothing when the key has no such name.
std::optional<QKeySequence> keySequence(const ZantrelKit::Shortcut& shortcut,
                                        const std::optional<QString>& keyName);

// Qt's key data written like a shortcut: "Ctrl+Shift+Super+T", "Ctrl+,", "Alt+Page Up".
// Qt's own text puts Meta first and calls Super "Meta".
QString text(QKeyCombination keys);

// Makes Qt's own key texts say "Super" where they say "Meta", as Linux desktops do.
void installSuperKeyName(QCoreApplication& app);

// Makes the kit's key names follow the current layout.
void installAsTypedTextSource();

}  // namespace ZantrelUI::KeyboardLayout
