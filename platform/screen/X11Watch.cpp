#include "platform/screen/X11Watch.h"

#include <xcb/xfixes.h>

#include <cstdlib>
#include <memory>

namespace Platform {
namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

xcb_window_t currentOwner(xcb_connection_t* connection, xcb_atom_t selection) {
    std::unique_ptr<xcb_get_selection_owner_reply_t, FreeDeleter> reply(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr));
    return reply ? reply->owner : xcb_window_t{XCB_WINDOW_NONE};
}

// The event code of XFixes' selection notifications on this connection; -1 without XFixes.
int xfixesSelectionEvent(xcb_connection_t* connection) {
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_xfixes_id);
    if (extension == nullptr || !extension->present)
        return -1;
    // The version must be agreed on before any other XFixes request of the connection.
    std::unique_ptr<xcb_xfixes_query_version_reply_t, FreeDeleter> version(xcb_xfixes_query_version_reply(
        connection, xcb_xfixes_query_version(connection, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
        nullptr));
    if (!version)
        return -1;
    return extension->first_event + XCB_XFIXES_SELECTION_NOTIFY;
}

}  // namespace

X11SelectionWatch::X11SelectionWatch(X11Link link, const QByteArray& selection) : link_(link) {
    if (link_.connection == nullptr)
        return;
    selection_ = internAtom(link_.connection, selection.constData());
    if (selection_ == XCB_ATOM_NONE)
        return;
    notifyEvent_ = xfixesSelectionEvent(link_.connection);
    if (notifyEvent_ >= 0) {
        // Asked for before the owner is read, so no change falls between the two.
        xcb_xfixes_select_selection_input(link_.connection, link_.root, selection_,
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                              XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                              XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    }
    owner_ = currentOwner(link_.connection, selection_);
}

bool X11SelectionWatch::handle(const xcb_generic_event_t& event) {
    if (notifyEvent_ < 0 || (event.response_type & 0x7f) != notifyEvent_)
        return false;
    const auto& notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t&>(event);
    if (notify.selection != selection_)
        return false;
    // A destroyed window or a client gone leaves the selection without an owner.
    const xcb_window_t owner =
        notify.subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER ? notify.owner : xcb_window_t{XCB_WINDOW_NONE};
    if (owner == owner_)
        return false;
    owner_ = owner;
    return true;
}

X11PropertyWatch::X11PropertyWatch(X11Link link, const QByteArray& property) : link_(link) {
    if (link_.connection != nullptr)
        property_ = internAtom(link_.connection, property.constData());
}

void X11PropertyWatch::watch(xcb_window_t window) {
    if (window == window_ || link_.connection == nullptr)
        return;
    window_ = window;
    if (window_ == XCB_WINDOW_NONE)
        return;
    // The mask is this client's, shared with whatever else of the application listens to
    // the window (Qt follows the tray's window too): it is added to, never replaced.
    std::unique_ptr<xcb_get_window_attributes_reply_t, FreeDeleter> attributes(xcb_get_window_attributes_reply(
        link_.connection, xcb_get_window_attributes(link_.connection, window_), nullptr));
    if (!attributes)
        return;  // already gone
    const std::uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(link_.connection, window_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(link_.connection);
}

bool X11PropertyWatch::handle(const xcb_generic_event_t& event) const {
    if ((event.response_type & 0x7f) != XCB_PROPERTY_NOTIFY || window_ == XCB_WINDOW_NONE)
        return false;
    const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
    return notify.window == window_ && notify.atom == property_;
}

}  // namespace Platform
