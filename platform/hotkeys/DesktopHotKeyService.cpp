#include "platform/hotkeys/HotKeyService.h"

#include "platform/hotkeys/KGlobalAccelHotKeyService.h"
#include "platform/hotkeys/PortalHotKeyService.h"
#include "platform/hotkeys/X11HotKeyService.h"
#include "platform/portal/PortalRequest.h"
#include "platform/portal/PortalShortcuts.h"
#include "platform/screen/ScreenService.h"

#include <QDBusConnection>
#include <QGuiApplication>

namespace Platform {
namespace {

// A desktop without global keys for apps: nothing registers, and nobody is blamed.
class NoHotKeyService final : public HotKeyService {
public:
    void installHandler(Pressed) override {}
    HotKeyStatus registerKey(std::uint16_t, std::uint32_t, std::uint32_t) override {
        return HotKeyStatus::unavailable;
    }
    void unregisterKey(std::uint32_t) override {}
    HotKeyDesk desk() const override { return HotKeyDesk::none; }
};

}  // namespace

std::unique_ptr<HotKeyService> makeNoHotKeyService() {
    return std::make_unique<NoHotKeyService>();
}

std::unique_ptr<HotKeyService> makeDesktopHotKeyService() {
    switch (currentSession()) {
    case Session::x11:
        if (const auto link = applicationX11Link())
            return std::make_unique<X11HotKeyService>(*link, true);
        break;
    case Session::wayland:
        // Plasma's portal binds nothing for an app outside a sandbox; its own service does.
        if (plasmaGlobalAccelRuns(QDBusConnection::sessionBus())) {
            const QString component = QGuiApplication::desktopFileName().isEmpty()
                                          ? QCoreApplication::applicationName()
                                          : QGuiApplication::desktopFileName();
            return std::make_unique<KGlobalAccelHotKeyService>(QDBusConnection::sessionBus(), component,
                                                               QGuiApplication::applicationDisplayName());
        }
        if (Portal::offers(QDBusConnection::sessionBus(), QString::fromLatin1(Portal::shortcutsInterface)))
            return std::make_unique<PortalHotKeyService>(QDBusConnection::sessionBus());
        break;
    case Session::none:
        break;
    }
    return makeNoHotKeyService();
}

}  // namespace Platform
