#include "platform/screen/X11Link.h"

#include <QGuiApplication>

#include <cstdlib>
#include <cstring>
#include <utility>

namespace Platform {

xcb_window_t rootWindow(xcb_connection_t* connection, int screenNumber) {
    if (connection == nullptr)
        return XCB_WINDOW_NONE;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; it.rem > 0; ++i, xcb_screen_next(&it)) {
        if (i == screenNumber)
            return it.data->root;
    }
    return XCB_WINDOW_NONE;
}

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name, bool onlyIfExists) {
    const auto cookie =
        xcb_intern_atom(connection, onlyIfExists ? 1 : 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (reply == nullptr)
        return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

std::optional<X11Link> applicationX11Link() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr)
        return std::nullopt;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr)
        return std::nullopt;
    X11Link link;
    link.connection = x11->connection();
    // Qt connects to the display's default screen; the first root is it on every
    // server that still has more than one screen per display.
    link.screenNumber = 0;
    link.root = rootWindow(link.connection, link.screenNumber);
    if (link.root == XCB_WINDOW_NONE)
        return std::nullopt;
    return link;
}

std::optional<X11Connection> X11Connection::open(const QByteArray& display) {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(display.isEmpty() ? nullptr : display.constData(), &screenNumber);
    if (connection == nullptr)
        return std::nullopt;
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return std::nullopt;
    }
    const xcb_window_t root = rootWindow(connection, screenNumber);
    if (root == XCB_WINDOW_NONE) {
        xcb_disconnect(connection);
        return std::nullopt;
    }
    return X11Connection(X11Link{connection, root, screenNumber});
}

X11Connection::X11Connection(X11Connection&& other) noexcept : link_(std::exchange(other.link_, X11Link{})) {}

X11Connection& X11Connection::operator=(X11Connection&& other) noexcept {
    if (this != &other) {
        if (link_.connection != nullptr)
            xcb_disconnect(link_.connection);
        link_ = std::exchange(other.link_, X11Link{});
    }
    return *this;
}

X11Connection::~X11Connection() {
    if (link_.connection != nullptr)
        xcb_disconnect(link_.connection);
}

}  // namespace Platform
