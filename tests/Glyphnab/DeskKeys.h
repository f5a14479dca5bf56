#pragma once

// A fake of the desktop's key grabs for tests: a table of what is held now, with key codes
// that another program owns and so are refused.

#include "platform/hotkeys/HotKeyService.h"

#include <QList>

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

namespace Glyphnab {

// The desktop's key grabs as a table of what is held now, with keys another program owns.
struct Desk {
    std::map<std::uint32_t, std::uint16_t> held;  // id → key code
    QList<std::uint16_t> owned;                    // refused key codes
    QList<std::uint16_t> missing;                  // key codes the desktop cannot register at all
    int registrations = 0;
    Platform::HotKeyService::Pressed press;
    Platform::HotKeyDesk kind = Platform::HotKeyDesk::grabs;
    std::function<void()> changed;  // the desktop's word that what it reported changed
};

class DeskService final : public Platform::HotKeyService {
public:
    explicit DeskService(Desk& desk) : desk_(desk) {}
    void installHandler(Pressed pressed) override { desk_.press = std::move(pressed); }
    Platform::HotKeyStatus registerKey(std::uint16_t keyCode, std::uint32_t, std::uint32_t id) override {
        ++desk_.registrations;
        if (desk_.owned.contains(keyCode))
            return Platform::HotKeyStatus::refused;
        if (desk_.missing.contains(keyCode))
            return Platform::HotKeyStatus::unavailable;
        desk_.held[id] = keyCode;
        return Platform::HotKeyStatus::registered;
    }
    void unregisterKey(std::uint32_t id) override { desk_.held.erase(id); }
    Platform::HotKeyDesk desk() const override { return desk_.kind; }
    void installChangeHandler(std::function<void()> changed) override { desk_.changed = std::move(changed); }

private:
    Desk& desk_;
};

}  // namespace Glyphnab
