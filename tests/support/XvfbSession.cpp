#include "tests/support/XvfbSession.h"

#include "tests/support/XwdImage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

namespace TestSupport {
XvfbSession::XvfbSession(int width, int height) { startServer(width, height); }

XvfbSession::XvfbSession(const QList<QRect>& monitors) {
    QRect desktop;
    for (const QRect& monitor : monitors)
        desktop |= monitor;
    startServer(desktop.right() + 1, desktop.bottom() + 1);
    if (!running_)
        return;
    // The primary monitor takes the server's one output, so its own whole-screen monitor
    // goes; the others have none, which RandR allows.
    for (qsizetype i = 0; i < monitors.size(); ++i) {
        const QRect& m = monitors[i];
        const QString name = (i == 0 ? QStringLiteral("*") : QString()) + QStringLiteral("M%1").arg(i);
        const QString geometry = QStringLiteral("%1/%2x%3/%4+%5+%6")
                                     .arg(m.width())
                                     .arg(m.width() / 4)
                                     .arg(m.height())
                                     .arg(m.height() / 4)
                                     .arg(m.x())
                                     .arg(m.y());
        const CommandResult result = run(QStringLiteral("xrandr"),
                                         {QStringLiteral("--setmonitor"), name, geometry,
                                          i == 0 ? QStringLiteral("screen") : QStringLiteral("none")},
                                         std::chrono::seconds(10));
        if (!result.finished || result.exitCode != 0) {
            running_ = false;
            error_ = QStringLiteral("xrandr could not set the monitors (is it installed?): %1").arg(result.err);
            return;
        }
    }
}

void XvfbSession::startServer(int width, int height) {
    if (!home_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return;
    }
    environment_ = QProcessEnvironment::systemEnvironment();
    usePrivateHome(home_.path(), environment_);
    // A bare X server has no desktop behind the portal: nothing installed answers for one.
    if (!usePortals(home_.path(), environment_, {})) {
        error_ = QStringLiteral("cannot write the portal configuration");
        return;
    }

    // Xvfb picks a free display itself and writes its number to the given descriptor;
    // standard output is that descriptor here.
    xvfb_ = std::make_unique<QProcess>();
    xvfb_->setProcessChannelMode(QProcess::SeparateChannels);
    xvfb_->start(QStringLiteral("Xvfb"),
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                  QStringLiteral("%1x%2x24").arg(width).arg(height), QStringLiteral("-nolisten"),
                  QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (!xvfb_->waitForStarted(30000)) {
        error_ = QStringLiteral("Xvfb did not start (is it installed?)");
        return;
    }
    QElapsedTimer timer;
    timer.start();
    QByteArray number;
    while (!number.contains('\n') && timer.elapsed() < 30000) {
        xvfb_->waitForReadyRead(200);
        number += xvfb_->readAllStandardOutput();
        if (xvfb_->state() == QProcess::NotRunning)
            break;
    }
    if (!number.contains('\n')) {
        error_ = QStringLiteral("Xvfb gave no display: %1").arg(QString::fromLocal8Bit(xvfb_->readAllStandardError()));
        return;
    }
    display_ = QStringLiteral(":") + QString::fromLatin1(number.trimmed());

    environment_.insert(QStringLiteral("DISPLAY"), display_);
    environment_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment_.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
    environment_.remove(QStringLiteral("WAYLAND_DISPLAY"));

    bus_ = std::make_unique<QProcess>();
    const QString address = startSessionBus(
        *bus_, environment_, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (!address.isEmpty())
        environment_.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    if (!environment_.contains(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"))) {
        error_ = QStringLiteral("no session bus (is dbus-daemon installed?)");
        return;
    }
    running_ = true;
}

XvfbSession::~XvfbSession() {
    for (auto it = programs_.rbegin(); it != programs_.rend(); ++it)
        stopProcess(**it);
    if (bus_)
        stopProcess(*bus_);
    if (xvfb_)
        stopProcess(*xvfb_);
    removeHome(home_);
}

QProcess& XvfbSession::start(const QString& program, const QStringList& arguments,
                             const QProcessEnvironment& extra) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = environment_;
    for (const QString& key : extra.keys())
        environment.insert(key, extra.value(key));
    process->setProcessEnvironment(environment);
    process->start(program, arguments);
    process->waitForStarted(30000);
    programs_.push_back(std::move(process));
    return *programs_.back();
}

CommandResult XvfbSession::run(const QString& program, const QStringList& arguments,
                               std::chrono::milliseconds timeout, const QByteArray& input) const {
    return runProcess(environment_, program, arguments, timeout, input);
}

QImage XvfbSession::screenshot() const {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.start(QStringLiteral("xwd"), {QStringLiteral("-root"), QStringLiteral("-silent")});
    if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return readXwd(process.readAllStandardOutput());
}

CommandResult XvfbSession::xdotool(const QStringList& arguments) const {
    return run(QStringLiteral("xdotool"), arguments, std::chrono::seconds(15));
}

std::optional<QString> XvfbSession::clipboardText() const {
    const CommandResult result = run(QStringLiteral("xclip"),
                                     {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")},
                                     std::chrono::seconds(15));
    if (!result.finished || result.exitCode != 0)
        return std::nullopt;
    return result.out;
}

std::optional<QString> XvfbSession::waitForWindow(const QString& title, std::chrono::milliseconds timeout) const {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeout.count()) {
        const CommandResult result = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                              QStringLiteral("--name"),
                                              QStringLiteral("^%1$").arg(title)});
        if (result.finished && result.exitCode == 0 && !result.out.trimmed().isEmpty())
            return result.out.split(u'\n', Qt::SkipEmptyParts).first().trimmed();
        QThread::msleep(100);
    }
    return std::nullopt;
}

}  // namespace TestSupport
