#include "platform/screen/DesktopWatch.h"

#include "platform/async/MainThread.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

namespace Platform {
namespace {

QByteArray perScreen(const char* prefix, const X11Link& link) {
    return prefix + QByteArray::number(link.screenNumber);
}

}  // namespace

class DesktopWatch::Filter final : public QAbstractNativeEventFilter {
public:
    explicit Filter(DesktopWatch& watch) : watch_(watch) {}
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType == "xcb_generic_event_t")
            watch_.handle(*static_cast<const xcb_generic_event_t*>(message));
        return false;  // Qt handles every event as well
    }

private:
    DesktopWatch& watch_;
};

DesktopWatch* DesktopWatch::application() {
    assertMain();
    static DesktopWatch* watch = []() -> DesktopWatch* {
        const auto link = applicationX11Link();
        if (!link)
            return nullptr;
        auto* made = new DesktopWatch(*link, QCoreApplication::instance());
        made->filter_ = std::make_unique<Filter>(*made);
        QCoreApplication::instance()->installNativeEventFilter(made->filter_.get());
        return made;
    }();
    return watch;
}

DesktopWatch::DesktopWatch(X11Link link, QObject* parent)
    : QObject(parent),
      compositor_(link, perScreen("_NET_WM_CM_S", link)),
      tray_(link, perScreen("_NET_SYSTEM_TRAY_S", link)),
      trayColors_(link, "_NET_SYSTEM_TRAY_COLORS") {
    trayColors_.watch(tray_.owner());
}

DesktopWatch::~DesktopWatch() {
    if (filter_ && QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeNativeEventFilter(filter_.get());
}

void DesktopWatch::handle(const xcb_generic_event_t& event) {
    if (compositor_.handle(event)) {
        Q_EMIT compositingChanged(compositing());
    } else if (tray_.handle(event)) {
        trayColors_.watch(tray_.owner());
        Q_EMIT trayChanged();
    } else if (trayColors_.handle(event)) {
        Q_EMIT trayChanged();
    }
}

}  // namespace Platform
