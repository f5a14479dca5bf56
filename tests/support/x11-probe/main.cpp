// A small X client that runs the real desktop pieces for end-to-end tests and prints what
// they do, one line per event:
//   pick                 one area pick: "ready", then "picked X Y W H" or "nothing"
//   pick-twice           a second pick while the first waits: "second: nothing", then as pick
//   hotkey [MS]          Ctrl+Shift+Super+T as "grab": "registered N" or "refused grab",
//                        then "fired grab" for every press; quits after MS milliseconds
//   wm-key [MS]          Ctrl+Alt+D held as a window manager holds its keys, as "wm": then
//                        as hotkey
//   capture X Y W H [FILE]  a capture of that rectangle (global points): "size W H",
//                        "first #rrggbb" and "last #rrggbb" (top-left and bottom-right
//                        pixels); saved as a PNG file when one is named
//   desktop-watch        "watching", then "desktop changed" at the first switch of
//                        virtual desktop
//   set-root PROPERTY N  sets a CARDINAL property of the root window, as a window
//                        manager does for _NET_CURRENT_DESKTOP
//   compositing          "composited" when a compositing manager runs, else "not composited"
//   map-watch            "watching", then "mapped X Y W H" for every top-level window
//                        mapped from then on, however briefly it stays

#include "ZantrelUI/desktop/AreaSelector.h"
#include "ZantrelUI/desktop/HotKeys.h"
#include "capture/ScreenGrab.h"
#include "platform/screen/X11CurrentDesktop.h"
#include "platform/screen/X11Link.h"

#include <QApplication>
#include <QColor>
#include <QTimer>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

QString rectText(const QRectF& r) {
    return QStringLiteral("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QCoro::Task<> pick(ZantrelUI::AreaSelector& selector, bool twice) {
    if (twice) {
        QTimer::singleShot(100, [&selector] {
            [](ZantrelUI::AreaSelector& s) -> QCoro::Task<> {
                const auto second = co_await s.pick({});
                say(second ? QStringLiteral("second: ") + rectText(*second) : QStringLiteral("second: nothing"));
            }(selector);
        });
    }
    // The grab is in place once the overlay is shown; give the server a moment.
    QTimer::singleShot(400, [&selector] {
        if (selector.isPicking())
            say(QStringLiteral("ready"));
    });
    const auto picked = co_await selector.pick({QColor(Qt::magenta), QStringLiteral("Drag over the text.")});
    say(picked ? QStringLiteral("picked ") + rectText(*picked) : QStringLiteral("nothing"));
    QCoreApplication::exit(0);
}

QCoro::Task<> capture(QRectF rect, QString file) {
    try {
        const QImage picture = co_await ZantrelCapture::ScreenGrab::capture(rect);
        if (!file.isEmpty() && !picture.save(file, "PNG"))
            say(QStringLiteral("not saved ") + file);
        say(QStringLiteral("size %1 %2").arg(picture.width()).arg(picture.height()));
        say(QStringLiteral("first ") + QColor(picture.pixel(0, 0)).name());
        say(QStringLiteral("last ") + QColor(picture.pixel(picture.width() - 1, picture.height() - 1)).name());
        QCoreApplication::exit(0);
    } catch (const std::exception& error) {
        say(QStringLiteral("failed ") + QString::fromUtf8(error.what()));
        QCoreApplication::exit(1);
    }
}

// Follows the root window's children from its own connection: their geometry comes with
// the events, so a window is reported even when it is gone by the time the probe runs.
int watchMaps() {
    const auto connection = Platform::X11Connection::open();
    if (!connection)
        return 1;
    const Platform::X11Link link = connection->link();
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(link.connection, link.root, XCB_CW_EVENT_MASK, &mask);
    std::free(xcb_get_input_focus_reply(link.connection, xcb_get_input_focus(link.connection), nullptr));
    say(QStringLiteral("watching"));
    std::map<xcb_window_t, QRect> frames;
    while (xcb_generic_event_t* event = xcb_wait_for_event(link.connection)) {
        switch (event->response_type & ~0x80) {
        case XCB_CREATE_NOTIFY: {
            const auto* created = reinterpret_cast<const xcb_create_notify_event_t*>(event);
            frames[created->window] = QRect(created->x, created->y, created->width, created->height);
            break;
        }
        case XCB_CONFIGURE_NOTIFY: {
            const auto* configured = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
            frames[configured->window] = QRect(configured->x, configured->y, configured->width, configured->height);
            break;
        }
        case XCB_MAP_NOTIFY: {
            const QRect frame = frames[reinterpret_cast<const xcb_map_notify_event_t*>(event)->window];
            say(QStringLiteral("mapped %1 %2 %3 %4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height()));
            break;
        }
        case XCB_DESTROY_NOTIFY:
            frames.erase(reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window);
            break;
        default:
            break;
        }
        std::free(event);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    const QString mode = args.value(0);
    if (mode == u"pick" || mode == u"pick-twice") {
        ZantrelUI::AreaSelector selector;
        auto task = pick(selector, mode == u"pick-twice");
        return QApplication::exec();
    }
    if (mode == u"hotkey" || mode == u"wm-key") {
        using ZantrelKit::Shortcut;
        auto& hotKeys = ZantrelUI::HotKeys::shared();
        hotKeys.setOnRefused([](const QSet<QString>& names) {
            for (const QString& name : names)
                say(QStringLiteral("refused ") + name);
        });
        const bool wm = mode == u"wm-key";
        // Key code 2 is D, 17 is T.
        const Shortcut keys = wm ? Shortcut{2, {Shortcut::Modifiers::control, Shortcut::Modifiers::option}}
                                 : Shortcut{17, {Shortcut::Modifiers::control, Shortcut::Modifiers::shift,
                                                 Shortcut::Modifiers::command}};
        hotKeys.set({{wm ? QStringLiteral("wm") : QStringLiteral("grab"), keys}},
                    [](const QString& name) { say(QStringLiteral("fired ") + name); });
        say(QStringLiteral("registered %1").arg(hotKeys.registeredCount()));
        if (args.size() == 2)
            QTimer::singleShot(args[1].toInt(), [] { QCoreApplication::exit(0); });
        return QApplication::exec();
    }
    if (mode == u"capture" && (args.size() == 5 || args.size() == 6)) {
        auto task = capture(QRectF(args[1].toDouble(), args[2].toDouble(), args[3].toDouble(), args[4].toDouble()),
                            args.value(5));
        return QApplication::exec();
    }
    if (mode == u"desktop-watch") {
        Platform::CurrentDesktopWatch watch;
        QObject::connect(&watch, &Platform::CurrentDesktopWatch::changed, [] {
            say(QStringLiteral("desktop changed"));
            QCoreApplication::exit(0);
        });
        // Said from the running event loop, after one round trip: the server has taken
        // Qt's root event mask, and whatever Qt sets up as its loop starts is done.
        QTimer::singleShot(0, [&watch] {
            if (const auto link = Platform::applicationX11Link(); link && link->connection)
                std::free(xcb_get_input_focus_reply(link->connection, xcb_get_input_focus(link->connection), nullptr));
            say(watch.isWatching() ? QStringLiteral("watching") : QStringLiteral("not watching"));
        });
        return QApplication::exec();
    }
    if (mode == u"map-watch")
        return watchMaps();
    if (mode == u"compositing") {
        const auto connection = Platform::X11Connection::open();
        if (!connection)
            return 1;
        const Platform::X11Link link = connection->link();
        const xcb_atom_t selection = Platform::internAtom(link.connection, "_NET_WM_CM_S0");
        xcb_get_selection_owner_reply_t* owner =
            xcb_get_selection_owner_reply(link.connection, xcb_get_selection_owner(link.connection, selection), nullptr);
        const bool composited = owner != nullptr && owner->owner != XCB_WINDOW_NONE;
        std::free(owner);
        say(composited ? QStringLiteral("composited") : QStringLiteral("not composited"));
        return 0;
    }
    if (mode == u"set-root" && args.size() == 3) {
        const auto connection = Platform::X11Connection::open();
        if (!connection)
            return 1;
        const Platform::X11Link link = connection->link();
        const xcb_atom_t property = Platform::internAtom(link.connection, args[1].toUtf8().constData());
        const std::uint32_t value = args[2].toUInt();
        xcb_change_property(link.connection, XCB_PROP_MODE_REPLACE, link.root, property, XCB_ATOM_CARDINAL, 32, 1, &value);
        xcb_flush(link.connection);
        return 0;
    }
    std::fprintf(stderr, "usage: pick | pick-twice | hotkey [MS] | wm-key [MS] | capture X Y W H [FILE] | desktop-watch | "
                         "set-root PROPERTY N | map-watch | compositing\n");
    return 64;
}
