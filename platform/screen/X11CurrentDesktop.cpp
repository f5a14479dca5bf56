#include "platform/screen/X11CurrentDesktop.h"

#include <QCoreApplication>

namespace Platform {

CurrentDesktopWatch::CurrentDesktopWatch(std::optional<X11Link> link, QObject* parent) : QObject(parent) {
    if (!link)
        link = applicationX11Link();
    if (!link || link->connection == nullptr)
        return;
    root_ = link->root;
    atom_ = internAtom(link->connection, "_NET_CURRENT_DESKTOP");
    if (atom_ != XCB_ATOM_NONE && QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->installNativeEventFilter(this);
}

CurrentDesktopWatch::~CurrentDesktopWatch() {
    if (atom_ != XCB_ATOM_NONE && QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool CurrentDesktopWatch::isDesktopChange(const xcb_generic_event_t* event, xcb_window_t root, xcb_atom_t atom) {
    if (event == nullptr || atom == XCB_ATOM_NONE || (event->response_type & ~0x80) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
    return notify->window == root && notify->atom == atom;
}

bool CurrentDesktopWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType == "xcb_generic_event_t" &&
        isDesktopChange(static_cast<const xcb_generic_event_t*>(message), root_, atom_))
        Q_EMIT changed();
    return false;  // Qt still handles the event
}

}  // namespace Platform
