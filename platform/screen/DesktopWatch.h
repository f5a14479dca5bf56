#pragma once

// The compositor and the system tray of the X11 desktop, followed from the X server's
// change notifications on one connection: nothing is asked of the server while nothing
// changes, so an app that waits all day in the tray does not wake for them.

#include "platform/screen/X11Watch.h"

#include <QObject>

#include <memory>

namespace Platform {

class DesktopWatch final : public QObject {
    Q_OBJECT
public:
    // The application's watch on its own connection, made on first use on the GUI thread;
    // null outside an X11 session.
    static DesktopWatch* application();

    // Events reach the watch through `handle`; the application's watch hears Qt's.
    explicit DesktopWatch(X11Link link, QObject* parent = nullptr);
    ~DesktopWatch() override;

    // Whether a compositing manager owns _NET_WM_CM_S<n>.
    bool compositing() const { return compositor_.owner() != XCB_WINDOW_NONE; }
    // The tray manager's window (owner of _NET_SYSTEM_TRAY_S<n>), or none.
    xcb_window_t trayManager() const { return tray_.owner(); }

    // Takes one event of the link's connection.
    void handle(const xcb_generic_event_t& event);

Q_SIGNALS:
    void compositingChanged(bool compositing);
    // A tray manager came or went, or the tray's colours changed.
    void trayChanged();

private:
    class Filter;

    X11SelectionWatch compositor_;
    X11SelectionWatch tray_;
    X11PropertyWatch trayColors_;
    std::unique_ptr<Filter> filter_;
};

}  // namespace Platform
