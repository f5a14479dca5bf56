#pragma once

// A keyboard map from xkbcommon: which X key code sits at a stored key position, and what
// that key types under the map's current layout. Built from the X server's keyboard (the
// layout the user has now) or from layout names (tools and tests, no display needed).

#include "platform/screen/X11Link.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

struct xkb_context;
struct xkb_keymap;

namespace Platform {

class Keymap {
public:
    // A map compiled from the XKB rules for a layout such as "us", "de" or "fr".
    static std::optional<Keymap> fromNames(const QString& layout, const QString& variant = {});
    // The server's core keyboard with the layout group that is active right now.
    static std::optional<Keymap> fromX11(const X11Link& link);

    // The X key code of a stored key code, nothing when the key is not on this keyboard.
    std::optional<std::uint8_t> x11KeyCode(std::uint16_t keyCode) const;
    // The stored key code of an X key code, nothing for keys without one.
    std::optional<std::uint16_t> keyCode(std::uint8_t x11KeyCode) const;

    // What the key types without modifiers under the current layout, trimmed of blanks and
    // control characters; a dead key gives its accent. Nothing when that leaves no text.
    std::optional<QString> typedText(std::uint16_t keyCode) const;

    // The first key that types the symbol, searched on the unshifted level first;
    // `shifted` says the symbol needs Shift. Nothing when no key types it.
    struct KeyHit {
        std::uint16_t keyCode;
        bool shifted;
    };
    std::optional<KeyHit> keyTyping(std::uint32_t keysym) const;

    // The current layout's name as the map gives it ("English (US)", "German").
    QString layoutName() const;

private:
    struct Parts;
    explicit Keymap(std::shared_ptr<const Parts> parts) : parts_(std::move(parts)) {}
    std::shared_ptr<const Parts> parts_;
};

}  // namespace Platform
