#pragma once

// The names of keys, by key code: fixed names for the keys with a symbol, the function
// keys and the US layout's character keys, and a hook through which the platform's
// keyboard layer says what a key types on the current layout.

#include <QHash>
#include <QSet>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace ZantrelKit::KeyNames {

// Arrows, return, enter, tab, space, the deletes, escape, home, end, the page keys, and
// F1 to F20: the same name on every layout ("Left", "Page Up", "F1").
const QHash<std::uint16_t, QString>& special();
// The 47 character keys of the ANSI keyboard as a US layout names them ("A", "1", "[").
const QHash<std::uint16_t, QString>& usLayout();
// Key codes 54 to 63: the command, shift, caps lock, option, control and function keys.
const QSet<std::uint16_t>& modifierKeyCodes();
// The key codes of F1 to F20.
const QSet<std::uint16_t>& functionKeyCodes();

// The name shown for a key: its special name, else the typed text in upper case (an
// empty text counts as none), else its US-layout name, else "#" and the code ("#10").
QString name(std::uint16_t keyCode, const std::optional<QString>& typed);

bool isModifierKey(std::uint16_t keyCode);
// "F1" to "F20" for a function key, nothing for any other key.
std::optional<QString> functionKeyName(std::uint16_t keyCode);

// What a key types on the current keyboard layout, as the platform's keyboard layer
// tells; nothing until a layer is installed, or for a key that types nothing.
using TypedTextSource = std::function<std::optional<QString>(std::uint16_t keyCode)>;
void setTypedTextSource(TypedTextSource source);  // an empty function removes it
std::optional<QString> typedText(std::uint16_t keyCode);

}  // namespace ZantrelKit::KeyNames
