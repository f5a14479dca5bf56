#pragma once

// A session bus of the test's own, so that owning the app's name never touches the
// desktop's bus.

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>

#include <memory>

namespace PrivateBus {

class Daemon {
public:
    Daemon() {
        process_.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (!process_.waitForStarted(30000))
            return;
        QElapsedTimer timer;
        timer.start();
        QByteArray line;
        while (!line.contains('\n') && timer.elapsed() < 30000 && process_.state() == QProcess::Running) {
            process_.waitForReadyRead(200);
            line += process_.readAllStandardOutput();
        }
        address_ = QString::fromLatin1(line.trimmed());
    }
    ~Daemon() {
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
        process_.waitForFinished(3000);
    }
    Daemon(const Daemon&) = delete;
    Daemon& operator=(const Daemon&) = delete;

    bool isRunning() const { return !address_.isEmpty(); }
    const QString& address() const { return address_; }

    // A new connection under a name of the test's choosing; disconnect it by that name.
    QDBusConnection connect(const QString& name) const { return QDBusConnection::connectToBus(address_, name); }

private:
    QProcess process_;
    QString address_;
};

}  // namespace PrivateBus
