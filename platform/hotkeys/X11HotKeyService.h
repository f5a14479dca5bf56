#pragma once

// Global hot keys on X11: root-window key grabs on one connection, key presses picked out
// of that connection's events. A held combination repeats as a stream of presses (with or
// without releases in between); only the first press of a hold is reported.

#include "platform/hotkeys/HotKeyService.h"
#include "platform/hotkeys/HotKeyPresses.h"
#include "platform/hotkeys/X11KeyGrab.h"

#include <QAbstractNativeEventFilter>
#include <QTimer>


namespace Platform {

class X11HotKeyService final : public HotKeyService {
public:
    // With `listen`, a native event filter of the application reads the presses; without
    // it the owner feeds events to `handleEvent` itself (a connection of its own).
    X11HotKeyService(X11Link link, bool listen);
    ~X11HotKeyService() override;
    X11HotKeyService(const X11HotKeyService&) = delete;
    X11HotKeyService& operator=(const X11HotKeyService&) = delete;

    void installHandler(Pressed pressed) override;
    HotKeyStatus registerKey(std::uint16_t keyCode, std::uint32_t modifierMask, std::uint32_t id) override;
    void unregisterKey(std::uint32_t id) override;

    // True when the event was a press or release of a registered combination (it is
    // then consumed); reports the first press of each hold.
    bool handleEvent(const xcb_generic_event_t* event);

    // Ends the hold when the held key is up on the server. Another client that grabs the
    // keyboard while the keys are down takes their release; this catches that.
    void checkHeldKey();

private:
    class Filter;

    // The application's connection lives as long as the application object.
    bool connectionAlive() const;

    X11Link link_;
    bool listen_;
    Pressed pressed_;
    HotKeyPresses presses_;
    std::unique_ptr<Filter> filter_;
    QTimer heldKeyCheck_;
};

}  // namespace Platform
