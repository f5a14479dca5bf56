#pragma once

// Which stored key a Qt key event is: the X key code it carries, looked up in the current
// keymap; for events without one (synthesized by tools), the key's Qt code.

#include <QKeyEvent>

#include <cstdint>
#include <optional>

namespace Platform {
class Keymap;
}

namespace ZantrelUI::ShortcutFieldKeys {

std::optional<std::uint16_t> storedKeyCode(const QKeyEvent& event, const Platform::Keymap* keymap);
// The stored key code of a Qt key, for the keys whose position every layout agrees on
// and the letters and digits of a US layout.
std::optional<std::uint16_t> storedKeyCode(Qt::Key key);

}  // namespace ZantrelUI::ShortcutFieldKeys
