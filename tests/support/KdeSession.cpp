#include "tests/support/KdeSession.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace TestSupport {

KdeSession::KdeSession(int width, int height) {
    if (!home_.isValid()) {
        fail(QStringLiteral("no temporary folder"));
        return;
    }
    const QString packaged = QStandardPaths::findExecutable(QStringLiteral("kwin_wayland"));
    if (packaged.isEmpty()) {
        fail(QStringLiteral("kwin_wayland is not installed"));
        return;
    }
    const QString kwin = home_.path() + QStringLiteral("/kwin_wayland");
    if (!QFile::copy(packaged, kwin)) {
        fail(QStringLiteral("cannot copy kwin_wayland"));
        return;
    }
    QFile::setPermissions(kwin, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    environment_.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("KDE"));
    environment_.insert(QStringLiteral("KDE_FULL_SESSION"), QStringLiteral("true"));
    environment_.insert(QStringLiteral("KDE_SESSION_VERSION"), QStringLiteral("5"));
    if (!startBus())
        return;

    kwin_ = std::make_unique<QProcess>();
    kwin_->setProcessEnvironment(environment_);
    kwin_->setProcessChannelMode(QProcess::MergedChannels);
    kwin_->start(kwin, {QStringLiteral("--virtual"), QStringLiteral("--no-lockscreen"), QStringLiteral("--width"),
                        QString::number(width), QStringLiteral("--height"), QString::number(height),
                        QStringLiteral("--socket"), QStringLiteral("wayland-kde")});
    const QString socket = runtime_ + QStringLiteral("/wayland-kde");
    if (!kwin_->waitForStarted(30000) ||
        !waitFor([&] { return QFile::exists(socket) || kwin_->state() != QProcess::Running; }, std::chrono::seconds(30)) ||
        !QFile::exists(socket)) {
        fail(QStringLiteral("KWin made no socket: %1").arg(QString::fromLocal8Bit(kwin_->readAll())));
        return;
    }
    environment_.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-kde"));
    environment_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    const bool accel = waitFor(
        [this] {
            return run(QStringLiteral("busctl"), {QStringLiteral("--user"), QStringLiteral("status"),
                                                  QStringLiteral("org.kde.kglobalaccel")},
                       std::chrono::seconds(5))
                       .exitCode == 0;
        },
        std::chrono::seconds(30));
    if (!accel) {
        fail(QStringLiteral("KWin offers no KGlobalAccel"));
        return;
    }
    if (!startPortal({QStringLiteral("kde")}, {QStringLiteral("/usr/lib/x86_64-linux-gnu/libexec/xdg-desktop-portal-kde")}))
        return;
    ready();
}

KdeSession::~KdeSession() {
    if (kwin_)
        stopProcess(*kwin_);
}

QImage KdeSession::screenshot(const QString& helper) const {
    const QString file = home_.path() + QStringLiteral("/shot.png");
    QFile::remove(file);
    const CommandResult shot =
        run(helper, {QStringLiteral("portalshot"), file}, std::chrono::seconds(60));
    if (shot.exitCode != 0) {
        qWarning("no screenshot from the portal: %s", qPrintable(shot.err.trimmed()));
        return {};
    }
    return QImage(file);
}

}  // namespace TestSupport
