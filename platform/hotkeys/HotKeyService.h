#pragma once

// The system service under the app's global hot keys: register a key combination under a
// number, hear that number when the combination is pressed anywhere on the desktop.
// Combinations come as a stored key code with the modifier mask the app stores
// (control 0x1000, option 0x800, shift 0x200, command 0x100).

#include <cstdint>
#include <functional>
#include <memory>

namespace Platform {

enum class HotKeyStatus {
    registered,
    refused,      // another program holds the combination
    unavailable,  // no key for the code, or no desktop that offers global keys
};

class HotKeyService {
public:
    using Pressed = std::function<void(std::uint32_t id)>;

    virtual ~HotKeyService() = default;

    // Where presses go; set once, before the first registration.
    virtual void installHandler(Pressed pressed) = 0;
    virtual HotKeyStatus registerKey(std::uint16_t keyCode, std::uint32_t modifierMask, std::uint32_t id) = 0;
    virtual void unregisterKey(std::uint32_t id) = 0;
};

// The desktop's service: X11 key grabs on the application's connection; outside X11 a
// service that registers nothing.
std::unique_ptr<HotKeyService> makeDesktopHotKeyService();

}  // namespace Platform
