#pragma once

// Which registered combination a key event is, and whether a press starts a hold or is
// the keyboard repeating a held key. Repeats come as presses without releases (detectable
// auto-repeat) or as release-press pairs that carry the same time.

#include "platform/hotkeys/X11KeyGrab.h"

#include <map>
#include <optional>
#include <utility>

namespace Platform {

class HotKeyPresses {
public:
    explicit HotKeyPresses(std::uint16_t lockMask = XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2) : lockMask_(lockMask) {}

    void add(std::uint32_t id, X11KeyCombo combo) { combos_[id] = combo; }
    void remove(std::uint32_t id);
    const std::map<std::uint32_t, X11KeyCombo>& combos() const { return combos_; }

    struct Press {
        std::uint32_t id;
        bool repeat;
    };
    // The combination a press is (lock modifiers ignored), or nothing when it is none.
    std::optional<Press> press(std::uint8_t keyCode, std::uint16_t state, xcb_timestamp_t time);
    // True when the release ends the hold of a combination.
    bool release(std::uint8_t keyCode, xcb_timestamp_t time);
    // The key of the combination being held, if any.
    std::optional<std::uint8_t> heldKey() const { return heldKey_; }
    // Ends the hold without a release event: the key is seen up, but its release went to
    // another client.
    void letGo() { heldKey_.reset(); }

private:
    std::uint16_t lockMask_;
    std::map<std::uint32_t, X11KeyCombo> combos_;
    std::optional<std::uint8_t> heldKey_;
    std::optional<std::pair<std::uint8_t, xcb_timestamp_t>> lastRelease_;
};

}  // namespace Platform
