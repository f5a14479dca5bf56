#include "platform/screen/X11Damage.h"

#include <xcb/damage.h>

#include <cstdlib>
#include <memory>

namespace Platform {
namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

// The event code of Damage's notifications on this connection; -1 without the extension.
int damageNotifyEvent(xcb_connection_t* connection) {
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_damage_id);
    if (extension == nullptr || !extension->present)
        return -1;
    // The server refuses Damage requests on a connection until the version is agreed on;
    // agreeing again costs one round trip.
    std::unique_ptr<xcb_damage_query_version_reply_t, FreeDeleter> version(xcb_damage_query_version_reply(
        connection, xcb_damage_query_version(connection, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
        nullptr));
    return version ? extension->first_event + XCB_DAMAGE_NOTIFY : -1;
}

}  // namespace

X11DamageWatch::X11DamageWatch(X11Link link, QRect area) : link_(link), area_(area) {
    if (link_.connection == nullptr || area_.isEmpty())
        return;
    notifyEvent_ = damageNotifyEvent(link_.connection);
    if (notifyEvent_ < 0)
        return;
    damage_ = xcb_generate_id(link_.connection);
    // Every drawing request as its own rectangle: a repaint is told apart from no repaint
    // without asking the server for the damaged region.
    created_ = xcb_damage_create(link_.connection, damage_, link_.root, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES)
                   .sequence;
    // A new damage object reports its whole drawable at once, while the server handles
    // the request that made it: a request after it tells that report from real drawing.
    xcb_damage_subtract(link_.connection, damage_, XCB_NONE, XCB_NONE);
    xcb_flush(link_.connection);
}

X11DamageWatch::~X11DamageWatch() {
    if (damage_ != 0) {
        xcb_damage_destroy(link_.connection, damage_);
        xcb_flush(link_.connection);
    }
}

bool X11DamageWatch::handle(const xcb_generic_event_t& event) {
    if (damage_ == 0 || (event.response_type & 0x7f) != notifyEvent_)
        return false;
    const auto& notify = reinterpret_cast<const xcb_damage_notify_event_t&>(event);
    if (notify.damage != damage_ || notify.sequence == static_cast<std::uint16_t>(created_))
        return false;
    const QRect drawn(notify.area.x, notify.area.y, notify.area.width, notify.area.height);
    if (!drawn.intersects(area_))
        return false;
    drawn_ += drawn & area_;
    return true;
}

}  // namespace Platform
