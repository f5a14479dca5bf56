#pragma once

// Desktop state that the X server reports as it changes: who owns a selection (the tray
// manager's _NET_SYSTEM_TRAY_S<n>, the compositor's _NET_WM_CM_S<n>) and a property of a
// window. An app that runs all day follows them from these events instead of asking the
// server again and again, and so sleeps while nothing changes.

#include "platform/screen/X11Link.h"

#include <QByteArray>

namespace Platform {

// The owner of one selection, kept current by XFixes selection events.
class X11SelectionWatch {
public:
    // Asks for the events and reads the owner once. Without XFixes the owner is read
    // once and never changes.
    X11SelectionWatch(X11Link link, const QByteArray& selection);

    xcb_window_t owner() const { return owner_; }
    // Takes an event of the link's connection; true when it told of another owner.
    bool handle(const xcb_generic_event_t& event);

private:
    X11Link link_;
    xcb_atom_t selection_ = XCB_ATOM_NONE;
    xcb_window_t owner_ = XCB_WINDOW_NONE;
    int notifyEvent_ = -1;  // XFixes' selection-notify event code; none without XFixes
};

// Changes of one property on one window, another client's as well.
class X11PropertyWatch {
public:
    X11PropertyWatch(X11Link link, const QByteArray& property);

    // Follows the property on `window` from now on; none follows nothing.
    void watch(xcb_window_t window);
    xcb_window_t window() const { return window_; }
    // Takes an event of the link's connection; true when the property changed.
    bool handle(const xcb_generic_event_t& event) const;

private:
    X11Link link_;
    xcb_atom_t property_ = XCB_ATOM_NONE;
    xcb_window_t window_ = XCB_WINDOW_NONE;
};

}  // namespace Platform
