#pragma once

// Stored key codes are positions on the keyboard, numbered as the app has always stored
// them (17 is the key that types T on a US layout, 38 the one that types J). This table
// ties each of them to the XKB name of the same physical key ("AD05", "AC07"), which any
// keymap turns into the X key code of the running server.

#include <cstdint>
#include <optional>
#include <string_view>

namespace Platform::KeyPositions {

// The XKB key name of a stored key code; nothing for codes with no PC key.
std::optional<std::string_view> xkbName(std::uint16_t keyCode);

// The stored key code of an XKB key name; nothing for keys the table does not know.
std::optional<std::uint16_t> keyCode(std::string_view xkbName);

// What a letter or digit key types on a US layout, lower case ('t' for 17); nothing for
// other keys. Desktops that bind keys by name take these.
std::optional<char> usSymbol(std::uint16_t keyCode);

}  // namespace Platform::KeyPositions
