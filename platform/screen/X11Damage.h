#pragma once

// Drawing on an area of the screen as the X server reports it: the Damage extension on
// the root window, which hears what every window draws there (without a compositor; a
// compositor draws on a window of its own and so reports nothing here).

#include "platform/screen/X11Link.h"

#include <QRect>
#include <QRegion>

namespace Platform {

class X11DamageWatch {
public:
    // Listens from now on to drawing on `area` (root window pixels). Without the Damage
    // extension nothing is ever heard.
    X11DamageWatch(X11Link link, QRect area);
    ~X11DamageWatch();
    X11DamageWatch(const X11DamageWatch&) = delete;
    X11DamageWatch& operator=(const X11DamageWatch&) = delete;

    bool listening() const { return damage_ != 0; }
    // Takes an event of the link's connection; true when it told of drawing on the area.
    bool handle(const xcb_generic_event_t& event);
    // Whether everything in the area was drawn since the watch began.
    bool covered() const { return !area_.isEmpty() && (QRegion(area_) - drawn_).isEmpty(); }

private:
    X11Link link_;
    QRect area_;
    QRegion drawn_;
    std::uint32_t damage_ = 0;
    unsigned int created_ = 0;  // the sequence number of the request that made it
    int notifyEvent_ = -1;
};

}  // namespace Platform
