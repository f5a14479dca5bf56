#include "Glyphnab/shell/StatusController.h"

#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/shell/HotKeyBindings.h"
#include "Glyphnab/shell/StatusIcon.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelUI/desktop/KeyboardLayout.h"
#include "ZantrelUI/desktop/MenuKeyStyle.h"
#include "platform/async/MainThread.h"
#include "platform/log/Log.h"
#include "platform/screen/DesktopWatch.h"
#include "platform/screen/X11Capture.h"
#include "platform/screen/X11TrayColors.h"

#include <QApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEvent>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

#include <chrono>

namespace Glyphnab {
namespace {

const Platform::Logger& log() {
    static const Platform::Logger logger(QStringLiteral("status"));
    return logger;
}

// A tray places a new icon a moment after it is shown, or after the tray itself appears.
constexpr std::chrono::milliseconds firstPanelLook{700};

// Panels that speak StatusNotifierItem tint a symbolic icon named by the theme themselves;
// the drawn shades stand in where the theme lacks it.
bool trayTintsSymbolicIcons() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() &&
           bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"));
}

QIcon trayIcon(ZantrelUI::ColorScheme shade) {
    const QIcon drawn = statusTrayIcon(shade);
    if (!trayTintsSymbolicIcons())
        return drawn;
    const QString bundleId = QGuiApplication::desktopFileName();
    return bundleId.isEmpty() ? drawn : QIcon::fromTheme(bundleId + QStringLiteral("-symbolic"), drawn);
}

}  // namespace

StatusController::StatusController(GlyphnabModel& model, std::function<void()> openSettings,
                                   StatusMenu::KeyName keyName, QObject* parent)
    : QObject(parent),
      model_(model),
      openSettings_(std::move(openSettings)),
      keyName_(keyName ? std::move(keyName)
                       : StatusMenu::KeyName([](std::uint16_t code) { return ZantrelUI::KeyboardLayout::name(code); })),
      keyStyle_(std::make_unique<ZantrelUI::MenuKeyStyle>()),
      menu_(std::make_unique<QMenu>()),
      item_(std::make_unique<QSystemTrayIcon>()) {
    Platform::assertMain();
    menu_->setStyle(keyStyle_.get());
    followPanel();
    item_->setToolTip(GlyphnabCore::Words::menuIconTip(model_.appName()));
    // Filled when it opens, never before.
    connect(menu_.get(), &QMenu::aboutToShow, this, &StatusController::rebuildMenu);
    // The tooltip promises the menu on a click. Either button opens the app's own menu: a
    // context menu handed to the tray would be redrawn by the panel, in its own look and
    // order and without the key hints.
    connect(item_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context)
            menu_->popup(QCursor::pos());
    });
    shown_ = !model_.prefs().showIcon;
    follow();
    connect(&model_, &GlyphnabModel::prefsChanged, this, &StatusController::follow);
    // The icon's shade follows the panel: it is first known once the tray has placed the
    // icon, and changes with the desktop's theme or the tray's colours. The X server
    // tells of a tray that comes, goes or changes its colours, so nothing is polled.
    qApp->installEventFilter(this);
    if (Platform::DesktopWatch* desktop = Platform::DesktopWatch::application()) {
        connect(desktop, &Platform::DesktopWatch::trayChanged, this, [this] {
            followPanel();
            QTimer::singleShot(firstPanelLook, this, &StatusController::followPanel);
        });
    }
    QTimer::singleShot(firstPanelLook, this, &StatusController::followPanel);
}

StatusController::~StatusController() {
    qApp->removeEventFilter(this);
}

bool StatusController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange)
        followPanel();
    return QObject::eventFilter(watched, event);
}

void StatusController::followPanel() {
    Platform::assertMain();
    std::optional<ZantrelUI::ColorScheme> shade;
    if (const auto link = Platform::applicationX11Link()) {
        if (const auto foreground = Platform::trayForeground(*link)) {
            shade = shadeForForeground(*foreground);
        } else if (const QRect place = item_->geometry(); place.isValid() && item_->isVisible()) {
            const auto picture = Platform::captureRoot(*link, Platform::toDevicePixels(place));
            if (const auto panel = picture ? panelBehind(*picture) : std::nullopt)
                shade = shadeForPanel(*panel);
            else if (shade_)
                return;  // covered for now: keep the shade the panel had
        }
    }
    if (!shade)
        shade = ZantrelUI::systemColorScheme();
    if (shade == shade_)
        return;
    shade_ = shade;
    item_->setIcon(trayIcon(*shade));
}

void StatusController::setHotKeyBindings(const HotKeyBindings* bindings) {
    Platform::assertMain();
    bindings_ = bindings;
}

void StatusController::rebuildMenu() {
    Platform::assertMain();
    StatusMenu::rebuild(*menu_, model_, openSettings_, keyName_,
                        bindings_ ? bindings_->refused() : QSet<GlyphnabCore::Command>{});
}

void StatusController::follow() {
    Platform::assertMain();
    const bool show = model_.prefs().showIcon;
    if (show == shown_)
        return;
    shown_ = show;
    item_->setVisible(show);
    // Without a tray only the shortcuts and opened files reach the app: say so.
    if (show && !QSystemTrayIcon::isSystemTrayAvailable())
        log().notice(u"no system tray for the status icon");
}

}  // namespace Glyphnab
