#pragma once

// The X11 connection that screen capture, hot keys and the overlay talk through: the
// application's own (Qt's xcb connection) or, for tools and tests, one of their own.

#include <QByteArray>

#include <xcb/xcb.h>

#include <optional>

namespace Platform {

struct X11Link {
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    int screenNumber = 0;
};

// The running application's connection; nothing outside an X11 session (a pure Wayland
// session, the offscreen platform, no application object).
std::optional<X11Link> applicationX11Link();

// A connection owned by the holder, closed with it.
class X11Connection {
public:
    // Connects to `display` (the DISPLAY variable when empty); nothing when that fails.
    static std::optional<X11Connection> open(const QByteArray& display = {});

    X11Connection(X11Connection&& other) noexcept;
    X11Connection& operator=(X11Connection&& other) noexcept;
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;
    ~X11Connection();

    X11Link link() const { return link_; }

private:
    explicit X11Connection(X11Link link) : link_(link) {}
    X11Link link_;
};

// The root window of a screen of the connection, or none.
xcb_window_t rootWindow(xcb_connection_t* connection, int screenNumber);

// An X atom by name (interned), or none.
xcb_atom_t internAtom(xcb_connection_t* connection, const char* name, bool onlyIfExists = false);

}  // namespace Platform
