#pragma once

// Tells when the window manager switches to another virtual desktop: a change of the root
// window's _NET_CURRENT_DESKTOP property, seen in the events Qt already receives for the
// root window (it listens to root property changes itself). Without an X11 connection it
// never fires.

#include "platform/screen/X11Link.h"

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <optional>

namespace Platform {

class CurrentDesktopWatch final : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // `link` none = the application's own connection, if there is one.
    explicit CurrentDesktopWatch(std::optional<X11Link> link = std::nullopt, QObject* parent = nullptr);
    ~CurrentDesktopWatch() override;

    bool isWatching() const { return atom_ != XCB_ATOM_NONE; }

    // Whether an X event is the change this watches (for the filter and for tests).
    static bool isDesktopChange(const xcb_generic_event_t* event, xcb_window_t root, xcb_atom_t atom);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

Q_SIGNALS:
    void changed();

private:
    xcb_window_t root_ = XCB_WINDOW_NONE;
    xcb_atom_t atom_ = XCB_ATOM_NONE;
};

}  // namespace Platform
