#include "tests/support/GnomeSession.h"

#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QStandardPaths>

namespace TestSupport {
namespace {

// gdbus prints "(true, 'text')"; the text is the script's value as JSON.
std::optional<QString> evalResult(const QString& printed) {
    static const QRegularExpression shape(QStringLiteral("^\\(true, '(.*)'\\)\\s*$"),
                                          QRegularExpression::DotMatchesEverythingOption);
    const auto match = shape.match(printed);
    if (!match.hasMatch())
        return std::nullopt;
    QString text = match.captured(1);
    text.replace(QStringLiteral("\\\\"), QStringLiteral("\\")).replace(QStringLiteral("\\'"), QStringLiteral("'"));
    return text;
}

}  // namespace

GnomeSession::GnomeSession(int width, int height) {
    if (!home_.isValid()) {
        fail(QStringLiteral("no temporary folder"));
        return;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("gnome-shell")).isEmpty()) {
        fail(QStringLiteral("gnome-shell is not installed"));
        return;
    }
    environment_.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
    // The shell will not start without a system bus; the machine's is not the test's.
    const QString systemConfig = home_.path() + QStringLiteral("/system-bus.conf");
    {
        QFile file(systemConfig);
        if (!file.open(QIODevice::WriteOnly)) {
            fail(QStringLiteral("cannot write the system bus configuration"));
            return;
        }
        file.write(QStringLiteral(
                       "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\" "
                       "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                       "<busconfig><type>system</type><listen>unix:dir=%1</listen><auth>EXTERNAL</auth>"
                       "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                       "<allow eavesdrop=\"true\"/><allow own=\"*\"/><allow user=\"*\"/></policy></busconfig>\n")
                       .arg(runtime_)
                       .toUtf8());
    }
    systemBus_ = std::make_unique<QProcess>();
    const QString system = startSessionBus(*systemBus_, environment_,
                                           {QStringLiteral("--config-file=") + systemConfig, QStringLiteral("--nofork"),
                                            QStringLiteral("--print-address=1")});
    if (system.isEmpty()) {
        fail(QStringLiteral("no system bus of the test's own"));
        return;
    }
    environment_.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), system);
    if (!startBus())
        return;

    shell_ = std::make_unique<QProcess>();
    shell_->setProcessEnvironment(environment_);
    shell_->setProcessChannelMode(QProcess::MergedChannels);
    shell_->start(QStringLiteral("gnome-shell"),
                  {QStringLiteral("--headless"), QStringLiteral("--wayland"), QStringLiteral("--no-x11"),
                   QStringLiteral("--wayland-display"), QStringLiteral("wayland-gn"), QStringLiteral("--virtual-monitor"),
                   QStringLiteral("%1x%2").arg(width).arg(height), QStringLiteral("--unsafe-mode")});
    const QString socket = runtime_ + QStringLiteral("/wayland-gn");
    if (!shell_->waitForStarted(30000) ||
        !waitFor([&] { return QFile::exists(socket) || shell_->state() != QProcess::Running; }, std::chrono::seconds(30)) ||
        !QFile::exists(socket)) {
        fail(QStringLiteral("GNOME Shell made no socket: %1").arg(QString::fromLocal8Bit(shell_->readAll()).right(2000)));
        return;
    }
    environment_.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-gn"));
    environment_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    // The shell starts in its overview, which would take the first window's keyboard.
    if (!waitFor([this] { return eval(QStringLiteral("true")) == u"true"; }, std::chrono::seconds(30))) {
        fail(QStringLiteral("GNOME Shell did not finish starting"));
        return;
    }
    eval(QStringLiteral("Main.overview.hide(); Main.messageTray.bannerBlocked = true; true"));
    if (!startPortal({QStringLiteral("gnome-shell"), QStringLiteral("gnome"), QStringLiteral("gtk")},
                     {QStringLiteral("/usr/libexec/xdg-desktop-portal-gnome")}))
        return;
    ready();
}

GnomeSession::~GnomeSession() {
    if (shell_)
        stopProcess(*shell_);
    if (systemBus_)
        stopProcess(*systemBus_);
}

std::optional<QString> GnomeSession::eval(const QString& script) const {
    const CommandResult result =
        run(QStringLiteral("gdbus"),
            {QStringLiteral("call"), QStringLiteral("--session"), QStringLiteral("--dest"), QStringLiteral("org.gnome.Shell"),
             QStringLiteral("--object-path"), QStringLiteral("/org/gnome/Shell"), QStringLiteral("--method"),
             QStringLiteral("org.gnome.Shell.Eval"), script},
            std::chrono::seconds(10));
    if (result.exitCode != 0)
        return std::nullopt;
    return evalResult(result.out);
}

QImage GnomeSession::screenshot() const {
    const QString file = home_.path() + QStringLiteral("/shot.png");
    QFile::remove(file);
    run(QStringLiteral("gdbus"),
        {QStringLiteral("call"), QStringLiteral("--session"), QStringLiteral("--dest"),
         QStringLiteral("org.gnome.Shell.Screenshot"), QStringLiteral("--object-path"),
         QStringLiteral("/org/gnome/Shell/Screenshot"), QStringLiteral("--method"),
         QStringLiteral("org.gnome.Shell.Screenshot.Screenshot"), QStringLiteral("false"), QStringLiteral("false"), file},
        std::chrono::seconds(20));
    return QImage(file);
}

bool GnomeSession::pressDialogButton(const QString& label) const {
    const auto pressed = eval(QStringLiteral("let n = 0; for (const d of Main.layoutManager.modalDialogGroup.get_children())"
                                             " if (d.buttonLayout) for (const b of d.buttonLayout.get_children())"
                                             " if (b.label === %1) { b.emit('clicked', 1); n++; } n")
                                  .arg(QString::fromUtf8(QJsonDocument::fromVariant(QVariantList{label}).toJson(QJsonDocument::Compact)).mid(1).chopped(1)));
    return pressed && *pressed != u"0";
}

}  // namespace TestSupport
