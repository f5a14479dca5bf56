#pragma once

// What the end-to-end desktop sessions share: a private home with its runtime, config,
// cache and data folders, a private session bus, programs run with the session's
// environment, and ending what was started.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <chrono>

namespace TestSupport {

struct CommandResult {
    int exitCode = -1;
    QString out;
    QString err;
    bool finished = false;  // false: timed out (and was killed) or could not start
};

// Asks a program to end, and kills it when it does not go within a few seconds.
void stopProcess(QProcess& process);

// Runs a program to its end with `environment`; it is killed past `timeout`.
CommandResult runProcess(const QProcessEnvironment& environment, const QString& program, const QStringList& arguments,
                         std::chrono::milliseconds timeout, const QByteArray& input = {});

// Makes the runtime (owner only), config, cache and data folders in `home` and points
// HOME, XDG_RUNTIME_DIR and the XDG folders of `environment` at them; the runtime folder.
QString usePrivateHome(const QString& home, QProcessEnvironment& environment);

// Starts a dbus-daemon with `arguments` (which make it print its address) and returns the
// address it listens on; empty when it gave none.
QString startSessionBus(QProcess& bus, const QProcessEnvironment& environment, const QStringList& arguments);

}  // namespace TestSupport
