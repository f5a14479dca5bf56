#include "platform/screen/X11TrayColors.h"

#include <QByteArray>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace Platform {
namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

int channel(std::uint32_t value) { return static_cast<int>(std::min<std::uint32_t>(value, 0xFFFF) >> 8); }

}  // namespace

std::optional<QColor> trayForegroundFrom(const QList<std::uint32_t>& values) {
    if (values.size() < 12)
        return std::nullopt;
    return QColor(channel(values[0]), channel(values[1]), channel(values[2]));
}

std::optional<QColor> trayForeground(const X11Link& link) {
    if (link.connection == nullptr)
        return std::nullopt;
    const QByteArray selection = "_NET_SYSTEM_TRAY_S" + QByteArray::number(link.screenNumber);
    const xcb_atom_t trayAtom = internAtom(link.connection, selection.constData(), true);
    const xcb_atom_t colorsAtom = internAtom(link.connection, "_NET_SYSTEM_TRAY_COLORS", true);
    if (trayAtom == XCB_ATOM_NONE || colorsAtom == XCB_ATOM_NONE)
        return std::nullopt;
    std::unique_ptr<xcb_get_selection_owner_reply_t, FreeDeleter> owner(
        xcb_get_selection_owner_reply(link.connection, xcb_get_selection_owner(link.connection, trayAtom), nullptr));
    if (!owner || owner->owner == XCB_WINDOW_NONE)
        return std::nullopt;
    std::unique_ptr<xcb_get_property_reply_t, FreeDeleter> reply(xcb_get_property_reply(
        link.connection, xcb_get_property(link.connection, 0, owner->owner, colorsAtom, XCB_ATOM_CARDINAL, 0, 12),
        nullptr));
    if (!reply || reply->format != 32)
        return std::nullopt;
    const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return trayForegroundFrom(QList<std::uint32_t>(data, data + count));
}

}  // namespace Platform
