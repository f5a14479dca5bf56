#include "platform/hotkeys/HotKeyPresses.h"

namespace Platform {

void HotKeyPresses::remove(std::uint32_t id) {
    const auto it = combos_.find(id);
    if (it == combos_.end())
        return;
    if (heldKey_ == it->second.keyCode)
        heldKey_.reset();
    combos_.erase(it);
}

std::optional<HotKeyPresses::Press> HotKeyPresses::press(std::uint8_t keyCode, std::uint16_t state,
                                                         xcb_timestamp_t time) {
    const auto modifiers = static_cast<std::uint16_t>(state & ~lockMask_ & x11ComboModifiers);
    for (const auto& [id, combo] : combos_) {
        if (combo.keyCode != keyCode || combo.modifiers != modifiers)
            continue;
        const bool repeat =
            heldKey_ == keyCode || (lastRelease_ && lastRelease_->first == keyCode && lastRelease_->second == time);
        heldKey_ = keyCode;
        return Press{id, repeat};
    }
    return std::nullopt;
}

bool HotKeyPresses::release(std::uint8_t keyCode, xcb_timestamp_t time) {
    lastRelease_ = std::pair{keyCode, time};
    if (heldKey_ != keyCode)
        return false;
    heldKey_.reset();
    return true;
}

}  // namespace Platform
