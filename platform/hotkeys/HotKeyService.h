#pragma once

// The system service under the app's global hot keys: register a key combination under a
// number, hear that number when the combination is pressed anywhere on the desktop.
// Combinations come as a stored key code with the modifier mask the app stores
// (control 0x1000, option 0x800, shift 0x200, command 0x100).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace Platform {

enum class HotKeyStatus {
    registered,
    refused,      // another program holds the combination
    unavailable,  // no key for the code, or no desktop that offers global keys
};

// How the desktop gives an app global keys.
enum class HotKeyDesk {
    grabs,   // the app sets the keys itself (X11 key grabs, Plasma's KGlobalAccel)
    portal,  // the desktop binds them and owns the triggers (the GlobalShortcuts portal)
    none,    // the desktop offers apps no global keys; its own keyboard settings can run a command
};

class HotKeyService {
public:
    using Pressed = std::function<void(std::uint32_t id)>;

    virtual ~HotKeyService() = default;

    // Where presses go; set once, before the first registration.
    virtual void installHandler(Pressed pressed) = 0;
    virtual HotKeyStatus registerKey(std::uint16_t keyCode, std::uint32_t modifierMask, std::uint32_t id) = 0;
    virtual void unregisterKey(std::uint32_t id) = 0;

    virtual HotKeyDesk desk() const { return HotKeyDesk::grabs; }
    // The binding a number stands for, told before it is registered: a desktop that binds
    // keys itself shows the user names, not numbers.
    virtual void nameKey(std::uint32_t id, std::string_view name) {
        (void)id;
        (void)name;
    }
    // The keys the desktop reports for a registration, in its own words; empty when it
    // reports none.
    virtual std::string trigger(std::uint32_t id) const {
        (void)id;
        return {};
    }
    // Called when the desktop changes what it reported (triggers, or a registration it
    // could not make after all).
    virtual void installChangeHandler(std::function<void()> changed) { (void)changed; }
};

// The desktop's service: X11 key grabs on the application's connection; in a Wayland
// session Plasma's KGlobalAccel, else the GlobalShortcuts portal where the desktop has
// one; otherwise a service that registers nothing.
std::unique_ptr<HotKeyService> makeDesktopHotKeyService();

}  // namespace Platform
