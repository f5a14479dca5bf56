#pragma once

// Passive key grabs on the root window: how a program hears a key combination wherever
// the focus is.

#include "platform/screen/X11Link.h"

#include <cstdint>

namespace Platform {

// An X key code with the modifiers that must be held (X modifier mask, lock keys left out).
struct X11KeyCombo {
    std::uint8_t keyCode = 0;
    std::uint16_t modifiers = 0;

    friend bool operator==(const X11KeyCombo&, const X11KeyCombo&) = default;
};

// The four modifiers a combination may use: Shift, Control, Mod1 (Alt) and Mod4 (Super).
inline constexpr std::uint16_t x11ComboModifiers =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

// The X modifiers of a stored modifier mask: control = Ctrl, option = Alt, shift = Shift,
// command = Super.
std::uint16_t x11Modifiers(std::uint32_t storedMask);

// The modifier that NumLock sets on this server (Mod2 on nearly every one).
std::uint16_t numLockMask(const X11Link& link);

enum class GrabResult { grabbed, refused, failed };

// Grabs the combination with CapsLock, NumLock, both and neither, so that it fires
// whatever the lock keys say. All or nothing: when one variant is refused (another
// client holds it), the variants taken are given back.
GrabResult grabKey(const X11Link& link, X11KeyCombo combo);
void ungrabKey(const X11Link& link, X11KeyCombo combo);

}  // namespace Platform
