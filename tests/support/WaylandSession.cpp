#include "tests/support/WaylandSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TestSupport {
namespace {

// The windows of a tree node and its children, floating ones included.
void collect(const QJsonObject& node, std::vector<QJsonObject>& out) {
    if (node.contains(QStringLiteral("pid")) && node.value(QStringLiteral("visible")).toBool())
        out.push_back(node);
    for (const char* key : {"nodes", "floating_nodes"})
        for (const QJsonValue& child : node.value(QLatin1StringView(key)).toArray())
            collect(child.toObject(), out);
}

}  // namespace

WaylandSession::WaylandSession(bool portal, int width, int height) {
    if (!home_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return;
    }
    environment_ = QProcessEnvironment::systemEnvironment();
    for (const char* key : {"DISPLAY", "WAYLAND_DISPLAY", "SWAYSOCK", "DBUS_SESSION_BUS_ADDRESS"})
        environment_.remove(QLatin1StringView(key));
    const QString runtime = usePrivateHome(home_.path(), environment_);
    const QString config = home_.path() + QStringLiteral("/sway.conf");
    {
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly)) {
            error_ = QStringLiteral("cannot write the sway configuration");
            return;
        }
        file.write(QStringLiteral("output HEADLESS-1 resolution %1x%2 position 0 0\ndefault_border none\n")
                       .arg(width)
                       .arg(height)
                       .toUtf8());
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadOther | QFileDevice::ReadGroup);
    }

    QStringList command{QStringLiteral("sway"), QStringLiteral("-c"), config};
    if (geteuid() == 0) {
        const passwd* nobody = getpwnam("nobody");
        if (nobody == nullptr) {
            error_ = QStringLiteral("sway cannot run as root, and there is no user nobody");
            return;
        }
        if (chown(runtime.toLocal8Bit().constData(), nobody->pw_uid, nobody->pw_gid) != 0 ||
            chmod(home_.path().toLocal8Bit().constData(), 0755) != 0) {
            error_ = QStringLiteral("cannot hand the runtime folder to nobody");
            return;
        }
        command = QStringList{QStringLiteral("setpriv"), QStringLiteral("--reuid=%1").arg(nobody->pw_uid),
                              QStringLiteral("--regid=%1").arg(nobody->pw_gid), QStringLiteral("--clear-groups")} +
                  command;
    }

    environment_.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("sway"));
    environment_.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    environment_.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
    environment_.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("headless"));
    environment_.insert(QStringLiteral("WLR_LIBINPUT_NO_DEVICES"), QStringLiteral("1"));
    environment_.insert(QStringLiteral("WLR_RENDERER"), QStringLiteral("pixman"));
    // wlroots' own backend and GTK's, as a sway desktop has them; KDE's or GNOME's, when
    // installed, would otherwise answer for what wlroots lacks (GlobalShortcuts).
    if (!usePortals(home_.path(), environment_, {QStringLiteral("wlr"), QStringLiteral("gtk")})) {
        error_ = QStringLiteral("cannot write the portal configuration (is xdg-desktop-portal-wlr installed?)");
        return;
    }

    sway_ = std::make_unique<QProcess>();
    sway_->setProcessEnvironment(environment_);
    sway_->setProcessChannelMode(QProcess::MergedChannels);
    sway_->start(command.front(), command.mid(1));
    if (!sway_->waitForStarted(30000)) {
        error_ = QStringLiteral("sway did not start (is it installed?)");
        return;
    }
    QElapsedTimer timer;
    timer.start();
    QString socket;
    QString ipc;
    while ((socket.isEmpty() || ipc.isEmpty()) && timer.elapsed() < 30000 && sway_->state() == QProcess::Running) {
        QThread::msleep(100);
        for (const QString& name : QDir(runtime).entryList(QDir::AllEntries | QDir::System)) {
            if (name.startsWith(u"wayland-") && !name.endsWith(u".lock"))
                socket = name;
            if (name.startsWith(u"sway-ipc."))
                ipc = runtime + u'/' + name;
        }
    }
    if (socket.isEmpty() || ipc.isEmpty()) {
        error_ = QStringLiteral("sway made no socket: %1").arg(QString::fromLocal8Bit(sway_->readAll()));
        return;
    }
    environment_.insert(QStringLiteral("WAYLAND_DISPLAY"), socket);
    environment_.insert(QStringLiteral("SWAYSOCK"), ipc);
    environment_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));

    // The standard session bus starts the portal on demand; a desktop without one needs a
    // bus that starts nothing.
    QStringList busArguments{QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")};
    if (!portal) {
        const QString busConfig = home_.path() + QStringLiteral("/bus.conf");
        QFile file(busConfig);
        if (!file.open(QIODevice::WriteOnly)) {
            error_ = QStringLiteral("cannot write the bus configuration");
            return;
        }
        file.write(QStringLiteral(
                       "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\" "
                       "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                       "<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                       "<auth>EXTERNAL</auth><servicedir>%1</servicedir>"
                       "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                       "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n")
                       .arg(home_.path() + QStringLiteral("/data"))
                       .toUtf8());
        file.close();
        busArguments = QStringList{QStringLiteral("--config-file=") + busConfig, QStringLiteral("--nofork"),
                                   QStringLiteral("--print-address=1")};
    }
    bus_ = std::make_unique<QProcess>();
    const QString address = startSessionBus(*bus_, environment_, busArguments);
    if (!address.isEmpty())
        environment_.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    if (!environment_.contains(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"))) {
        error_ = QStringLiteral("no session bus (is dbus-daemon installed?)");
        return;
    }
    if (portal) {
        // The screenshot backend needs PipeWire for its screen casts, or it does not start.
        start(QStringLiteral("pipewire"));
        timer.restart();
        while (!QFile::exists(runtime + QStringLiteral("/pipewire-0")) && timer.elapsed() < 30000)
            QThread::msleep(50);
        start(QStringLiteral("/usr/libexec/xdg-desktop-portal-wlr"));
        start(QStringLiteral("/usr/libexec/xdg-desktop-portal"));
        timer.restart();
        bool ready = false;
        while (!ready && timer.elapsed() < 60000) {
            const CommandResult found =
                run(QStringLiteral("busctl"),
                    {QStringLiteral("--user"), QStringLiteral("get-property"), QStringLiteral("org.freedesktop.portal.Desktop"),
                     QStringLiteral("/org/freedesktop/portal/desktop"), QStringLiteral("org.freedesktop.portal.Screenshot"),
                     QStringLiteral("version")},
                    std::chrono::seconds(5));
            ready = found.finished && found.exitCode == 0;
            if (!ready)
                QThread::msleep(200);
        }
        if (!ready) {
            error_ = QStringLiteral("the desktop portal offers no Screenshot");
            return;
        }
    }
    running_ = true;
}

WaylandSession::~WaylandSession() {
    for (auto it = programs_.rbegin(); it != programs_.rend(); ++it)
        stopProcess(**it);
    if (bus_)
        stopProcess(*bus_);
    if (sway_)
        stopProcess(*sway_);
    removeHome(home_);
}

QProcess& WaylandSession::start(const QString& program, const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment_);
    process->start(program, arguments);
    process->waitForStarted(30000);
    programs_.push_back(std::move(process));
    return *programs_.back();
}

CommandResult WaylandSession::run(const QString& program, const QStringList& arguments,
                                  std::chrono::milliseconds timeout) const {
    return runProcess(environment_, program, arguments, timeout);
}

CommandResult WaylandSession::swaymsg(const QStringList& arguments) const {
    return run(QStringLiteral("swaymsg"), arguments, std::chrono::seconds(10));
}

bool WaylandSession::addOutput(int x, int width, int height) const {
    if (swaymsg({QStringLiteral("create_output")}).exitCode != 0)
        return false;
    return swaymsg({QStringLiteral("output"), QStringLiteral("HEADLESS-2"), QStringLiteral("resolution"),
                    QStringLiteral("%1x%2").arg(width).arg(height), QStringLiteral("position"),
                    QStringLiteral("%1 0").arg(x)})
               .exitCode == 0;
}

std::optional<QString> WaylandSession::clipboardText() const {
    const CommandResult result =
        run(QStringLiteral("wl-paste"), {QStringLiteral("--no-newline")}, std::chrono::seconds(15));
    if (!result.finished || result.exitCode != 0)
        return std::nullopt;
    return result.out;
}

int WaylandSession::windowsOf(qint64 pid, bool floatingOnly) const {
    const CommandResult tree = swaymsg({QStringLiteral("-t"), QStringLiteral("get_tree")});
    std::vector<QJsonObject> windows;
    collect(QJsonDocument::fromJson(tree.out.toUtf8()).object(), windows);
    int count = 0;
    for (const QJsonObject& window : windows)
        if (window.value(QStringLiteral("pid")).toInteger() == pid &&
            (!floatingOnly || window.value(QStringLiteral("type")).toString() == u"floating_con"))
            ++count;
    return count;
}

int WaylandSession::fullScreenWindowsOf(qint64 pid) const {
    const CommandResult tree = swaymsg({QStringLiteral("-t"), QStringLiteral("get_tree")});
    std::vector<QJsonObject> windows;
    collect(QJsonDocument::fromJson(tree.out.toUtf8()).object(), windows);
    int count = 0;
    for (const QJsonObject& window : windows)
        if (window.value(QStringLiteral("pid")).toInteger() == pid &&
            window.value(QStringLiteral("fullscreen_mode")).toInt() != 0)
            ++count;
    return count;
}

}  // namespace TestSupport
