#pragma once

// Key names as the user's current keyboard layout prints them, so that shortcuts show the
// letters on the user's keys.

#include "ZantrelKit/Shortcut.h"
#include "platform/keyboard/Keymap.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace ZantrelUI::KeyboardLayout {

// What the key types without modifiers under the current layout; nothing without an X11
// keyboard, or when it types only blanks or control characters. Read afresh every call.
std::optional<QString> name(std::uint16_t keyCode);
// The same under a given keymap.
std::optional<QString> name(std::uint16_t keyCode, const Platform::Keymap& keymap);

// "⌃⇧⌘T" with the layout's name of the key.
QString text(const ZantrelKit::Shortcut& shortcut);

// Makes the kit's key names follow the current layout.
void installAsTypedTextSource();

}  // namespace ZantrelUI::KeyboardLayout
