#include "tests/support/DesktopSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QThread>

namespace TestSupport {

DesktopSession::DesktopSession() {
    environment_ = QProcessEnvironment::systemEnvironment();
    for (const char* key : {"DISPLAY", "WAYLAND_DISPLAY", "SWAYSOCK", "DBUS_SESSION_BUS_ADDRESS",
                            "DBUS_SYSTEM_BUS_ADDRESS", "XDG_DESKTOP_PORTAL_DIR", "XAUTHORITY"})
        environment_.remove(QLatin1StringView(key));
    if (home_.isValid())
        runtime_ = usePrivateHome(home_.path(), environment_);
    environment_.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    environment_.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
}

DesktopSession::~DesktopSession() {
    for (auto it = programs_.rbegin(); it != programs_.rend(); ++it)
        stopProcess(**it);
    if (bus_)
        stopProcess(*bus_);
    removeHome(home_);
}

bool DesktopSession::startBus() {
    bus_ = std::make_unique<QProcess>();
    const QString address = startSessionBus(
        *bus_, environment_, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (address.isEmpty()) {
        fail(QStringLiteral("no session bus (is dbus-daemon installed?)"));
        return false;
    }
    environment_.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    return true;
}

bool DesktopSession::startPortal(const QStringList& backends, const QStringList& backendPrograms) {
    if (!usePortals(home_.path(), environment_, backends)) {
        fail(QStringLiteral("no %1 backend of the desktop portal").arg(backends.join(QStringLiteral(" or "))));
        return false;
    }
    // What the bus starts on demand runs on this desktop too: the bus began before it.
    run(QStringLiteral("dbus-update-activation-environment"), {QStringLiteral("--all")});
    for (const QString& program : backendPrograms)
        start(program);
    // The portal leaves out an interface whose backend does not answer as it starts: each
    // backend owns its name first.
    for (const QString& backend : backends) {
        QSettings file(QStringLiteral("/usr/share/xdg-desktop-portal/portals/%1.portal").arg(backend), QSettings::IniFormat);
        const QString name = file.value(QStringLiteral("portal/DBusName")).toString();
        const bool owned = waitFor(
            [&] {
                return run(QStringLiteral("busctl"), {QStringLiteral("--user"), QStringLiteral("status"), name},
                           std::chrono::seconds(10))
                           .exitCode == 0;
            },
            std::chrono::seconds(60));
        if (!owned) {
            fail(QStringLiteral("the %1 backend of the desktop portal did not start").arg(backend));
            return false;
        }
    }
    start(QStringLiteral("/usr/libexec/xdg-desktop-portal"));
    const bool offered = waitFor(
        [this] {
            return run(QStringLiteral("busctl"),
                       {QStringLiteral("--user"), QStringLiteral("get-property"), QStringLiteral("org.freedesktop.portal.Desktop"),
                        QStringLiteral("/org/freedesktop/portal/desktop"), QStringLiteral("org.freedesktop.portal.Screenshot"),
                        QStringLiteral("version")},
                       std::chrono::seconds(10))
                       .exitCode == 0;
        },
        std::chrono::seconds(60));
    if (!offered)
        fail(QStringLiteral("the desktop portal offers no Screenshot"));
    return offered;
}

QProcess& DesktopSession::start(const QString& program, const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment_);
    process->start(program, arguments);
    process->waitForStarted(5000);
    programs_.push_back(std::move(process));
    return *programs_.back();
}

CommandResult DesktopSession::run(const QString& program, const QStringList& arguments,
                                  std::chrono::milliseconds timeout) const {
    return runProcess(environment_, program, arguments, timeout);
}

CommandResult DesktopSession::call(const QStringList& arguments) const {
    return run(QStringLiteral("busctl"), QStringList{QStringLiteral("--user"), QStringLiteral("call")} + arguments,
               std::chrono::seconds(10));
}

bool DesktopSession::waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    QElapsedTimer timer;
    timer.start();
    while (true) {
        if (condition())
            return true;
        if (timer.elapsed() > limit.count())
            return false;
        QThread::msleep(200);
    }
}

}  // namespace TestSupport
