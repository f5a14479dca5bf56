#include "platform/screen/X11Desktop.h"

#include <QByteArray>

#include <cstdlib>
#include <memory>

namespace Platform {
namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

std::optional<std::uint32_t> cardinalProperty(const X11Link& link, xcb_window_t window, const char* name,
                                              xcb_atom_t type) {
    if (link.connection == nullptr)
        return std::nullopt;
    const xcb_atom_t atom = internAtom(link.connection, name, true);
    if (atom == XCB_ATOM_NONE)
        return std::nullopt;
    std::unique_ptr<xcb_get_property_reply_t, FreeDeleter> reply(xcb_get_property_reply(
        link.connection, xcb_get_property(link.connection, 0, window, atom, type, 0, 1), nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return std::nullopt;
    return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
}

}  // namespace

bool hasCompositor(const X11Link& link) {
    if (link.connection == nullptr)
        return false;
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(link.screenNumber);
    const xcb_atom_t atom = internAtom(link.connection, name.constData(), false);
    if (atom == XCB_ATOM_NONE)
        return false;
    std::unique_ptr<xcb_get_selection_owner_reply_t, FreeDeleter> reply(
        xcb_get_selection_owner_reply(link.connection, xcb_get_selection_owner(link.connection, atom), nullptr));
    return reply && reply->owner != XCB_WINDOW_NONE;
}

std::optional<xcb_window_t> activeWindow(const X11Link& link) {
    const auto window = cardinalProperty(link, link.root, "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW);
    if (!window || *window == XCB_WINDOW_NONE)
        return std::nullopt;
    return *window;
}

bool hasWindowManager(const X11Link& link) {
    const auto check = cardinalProperty(link, link.root, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW);
    return check && *check != XCB_WINDOW_NONE;
}

std::optional<xcb_window_t> focusedWindow(const X11Link& link) {
    if (link.connection == nullptr)
        return std::nullopt;
    std::unique_ptr<xcb_get_input_focus_reply_t, FreeDeleter> reply(
        xcb_get_input_focus_reply(link.connection, xcb_get_input_focus(link.connection), nullptr));
    if (!reply || reply->focus == XCB_WINDOW_NONE || reply->focus == XCB_INPUT_FOCUS_POINTER_ROOT ||
        reply->focus == link.root)
        return std::nullopt;
    return reply->focus;
}

void focusWindow(const X11Link& link, xcb_window_t window) {
    if (link.connection == nullptr || window == XCB_WINDOW_NONE)
        return;
    xcb_set_input_focus(link.connection, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
    xcb_flush(link.connection);
}

void useDefaultColormap(const X11Link& link, xcb_window_t window) {
    if (link.connection == nullptr || window == XCB_WINDOW_NONE)
        return;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(link.connection));
    for (int i = 0; i < link.screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem == 0)
        return;
    const xcb_screen_t& screen = *screens.data;
    std::unique_ptr<xcb_get_window_attributes_reply_t, FreeDeleter> attributes(xcb_get_window_attributes_reply(
        link.connection, xcb_get_window_attributes(link.connection, window), nullptr));
    // A window of another visual (a see-through one) needs a colormap of its own.
    if (!attributes || attributes->visual != screen.root_visual || attributes->colormap == screen.default_colormap)
        return;
    const std::uint32_t colormap = screen.default_colormap;
    xcb_change_window_attributes(link.connection, window, XCB_CW_COLORMAP, &colormap);
    xcb_flush(link.connection);
}

std::optional<std::uint32_t> windowProcess(const X11Link& link, xcb_window_t window) {
    return cardinalProperty(link, window, "_NET_WM_PID", XCB_ATOM_CARDINAL);
}

void activateWindow(const X11Link& link, xcb_window_t window) {
    if (link.connection == nullptr || window == XCB_WINDOW_NONE)
        return;
    const xcb_atom_t atom = internAtom(link.connection, "_NET_ACTIVE_WINDOW", true);
    if (atom == XCB_ATOM_NONE)
        return;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom;
    message.data.data32[0] = 1;  // source: an application
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(link.connection, 0, link.root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(link.connection);
}

}  // namespace Platform
