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
    const QString portals = home_.path() + QStringLiteral("/portals");
    QDir().mkpath(portals);
    QStringList busNames;
    for (const QString& backend : backends) {
        const QString file = QStringLiteral("/usr/share/xdg-desktop-portal/portals/%1.portal").arg(backend);
        if (!QFile::copy(file, portals + QStringLiteral("/%1.portal").arg(backend))) {
            fail(QStringLiteral("no %1 backend of the desktop portal (%2)").arg(backend, file));
            return false;
        }
        const QSettings described(file, QSettings::IniFormat);
        busNames << described.value(QStringLiteral("portal/DBusName")).toString();
    }
    environment_.insert(QStringLiteral("XDG_DESKTOP_PORTAL_DIR"), portals);
    const QString config = home_.path() + QStringLiteral("/config/xdg-desktop-portal");
    QDir().mkpath(config);
    QFile conf(config + QStringLiteral("/portals.conf"));
    if (!conf.open(QIODevice::WriteOnly)) {
        fail(QStringLiteral("cannot write portals.conf"));
        return false;
    }
    conf.write(QStringLiteral("[preferred]\ndefault=%1\n").arg(backends.join(u';')).toUtf8());
    conf.close();
    // What the bus starts on demand (a backend the frontend asks for first) runs on this
    // desktop's display, as a desktop session tells its bus.
    QStringList activation;
    for (const QString& key : environment_.keys())
        activation << key + u'=' + environment_.value(key);
    const CommandResult updated = run(QStringLiteral("dbus-update-activation-environment"), activation);
    if (!updated.finished || updated.exitCode != 0) {
        fail(QStringLiteral("the session bus took no environment: %1").arg(updated.err));
        return false;
    }
    // Every backend is on the bus before the frontend, which asks each for its interfaces
    // as it starts: on a busy machine one started here may not have its name yet.
    for (const QString& program : backendPrograms)
        start(program);
    QString missing;
    const bool named = waitFor(
        [&] {
            missing.clear();
            for (const QString& name : busNames) {
                // The desktop's own programs own theirs; the bus starts the others.
                const QStringList bus{QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                      QStringLiteral("org.freedesktop.DBus")};
                if (call(bus + QStringList{QStringLiteral("NameHasOwner"), QStringLiteral("s"), name}).out.trimmed() ==
                    u"b true")
                    continue;
                const CommandResult started =
                    call(QStringList{QStringLiteral("--timeout=60")} + bus +
                         QStringList{QStringLiteral("StartServiceByName"), QStringLiteral("su"), name, QStringLiteral("0")});
                if (started.exitCode != 0)
                    missing += name + QStringLiteral(": ") + started.err.trimmed() + u' ';
            }
            return missing.isEmpty();
        },
        std::chrono::seconds(60));
    if (!named) {
        fail(QStringLiteral("a backend of the desktop portal did not start: %1").arg(missing));
        return false;
    }
    start(QStringLiteral("/usr/libexec/xdg-desktop-portal"));
    const bool offered = waitFor(
        [this] {
            const CommandResult found =
                run(QStringLiteral("busctl"),
                    {QStringLiteral("--user"), QStringLiteral("introspect"), QStringLiteral("org.freedesktop.portal.Desktop"),
                     QStringLiteral("/org/freedesktop/portal/desktop"), QStringLiteral("org.freedesktop.portal.Screenshot")},
                    std::chrono::seconds(10));
            return found.finished && found.exitCode == 0;
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
    process->waitForStarted(30000);
    programs_.push_back(std::move(process));
    return *programs_.back();
}

CommandResult DesktopSession::run(const QString& program, const QStringList& arguments,
                                  std::chrono::milliseconds timeout) const {
    return runProcess(environment_, program, arguments, timeout);
}

CommandResult DesktopSession::call(const QStringList& arguments) const {
    return run(QStringLiteral("busctl"), QStringList{QStringLiteral("--user"), QStringLiteral("call")} + arguments,
               std::chrono::seconds(90));
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
