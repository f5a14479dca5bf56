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
    // Test clients may use what KWin keeps for the desktop's own: fake input, its scripts.
    QProcessEnvironment kwinEnvironment = environment_;
    kwinEnvironment.insert(QStringLiteral("KWIN_WAYLAND_NO_PERMISSION_CHECKS"), QStringLiteral("1"));
    kwinEnvironment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("kwin_scripting.debug=true"));
    kwin_->setProcessEnvironment(kwinEnvironment);
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

bool KdeSession::followWindows() {
    const QString script = home_.path() + QStringLiteral("/follow-windows.js");
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("workspace.clientAdded.connect(function (c) {\n"
               "    print('glyphnab-window ' + c.pid + ' ' + c.x + ' ' + c.y + ' ' + c.width + ' ' + c.height + ' ' + c.caption);\n"
               "});\n");
    file.close();
    const QStringList scripting{QStringLiteral("org.kde.KWin"), QStringLiteral("/Scripting"),
                                QStringLiteral("org.kde.kwin.Scripting")};
    if (call(scripting + QStringList{QStringLiteral("loadScript"), QStringLiteral("ss"), script,
                                     QStringLiteral("glyphnab-follow-windows")})
            .exitCode != 0)
        return false;
    return call(scripting + QStringList{QStringLiteral("start")}).exitCode == 0;
}

QStringList KdeSession::windowsAdded() {
    // Its output is only read while waited for: no event loop runs here.
    do
        log_ += QString::fromLocal8Bit(kwin_->readAll());
    while (kwin_->waitForReadyRead(50));
    QStringList windows;
    for (const QString& line : log_.split(u'\n')) {
        const qsizetype at = line.indexOf(QStringLiteral("glyphnab-window "));
        if (at >= 0)
            windows << line.mid(at + 16);
    }
    return windows;
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
