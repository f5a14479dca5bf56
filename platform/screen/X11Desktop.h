#pragma once

// What the overlay needs to know of the X11 desktop: whether a compositing manager runs
// (translucent windows exist only then), and which window was active before a pick so
// it can be activated again afterwards.

#include "platform/screen/X11Link.h"

#include <optional>

namespace Platform {

// True when a compositing manager owns the _NET_WM_CM_S<n> selection of the screen.
bool hasCompositor(const X11Link& link);

// The window manager's active window (_NET_ACTIVE_WINDOW); nothing without a window
// manager or without an active window.
std::optional<xcb_window_t> activeWindow(const X11Link& link);

// Whether a window manager that follows the desktop conventions runs
// (_NET_SUPPORTING_WM_CHECK on the root window).
bool hasWindowManager(const X11Link& link);

// The window that holds the keyboard focus; nothing when the focus is on the root window,
// follows the pointer, or is nowhere.
std::optional<xcb_window_t> focusedWindow(const X11Link& link);

// Gives the keyboard focus to a window directly, as a desktop without a window manager
// needs; the focus goes back to the root window when it is unmapped.
void focusWindow(const X11Link& link, xcb_window_t window);

// Gives a window of the screen's own visual the screen's default colormap. A private one
// (which Qt makes for its windows) sets it apart from the desktop: screenshot tools that
// read the screen window by window (xwd) then take its pixels whole, outside its shape too,
// and show the margins of a shaped window as black.
void useDefaultColormap(const X11Link& link, xcb_window_t window);

// The process id that a window declares (_NET_WM_PID), if it declares one.
std::optional<std::uint32_t> windowProcess(const X11Link& link, xcb_window_t window);

// Asks the window manager to activate the window (a _NET_ACTIVE_WINDOW message sent as
// an application request).
void activateWindow(const X11Link& link, xcb_window_t window);

}  // namespace Platform
