#pragma once

// What the end-to-end desktop sessions share: a private home with its runtime, config,
// cache and data folders, fonts, locale and portal backends of its own, a private session
// bus, programs run with the session's environment, and ending what was started. Neither
// the user's settings nor which desktops are installed change what a session shows.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <optional>

namespace TestSupport {

struct CommandResult {
    int exitCode = -1;
    QString out;
    QString err;
    bool finished = false;  // false: timed out (and was killed) or could not start
};

// Asks a program to end, and kills it when it does not go within a few seconds.
void stopProcess(QProcess& process);

// Removes a session's home once nothing is mounted under it: the document portal that the
// session bus started keeps its folder in the runtime mounted until it has seen the bus go,
// and a home removed before that is left behind in /tmp.
void removeHome(QTemporaryDir& home, std::chrono::milliseconds limit = std::chrono::seconds(20));

// Runs a program to its end with `environment`; it is killed past `timeout`.
CommandResult runProcess(const QProcessEnvironment& environment, const QString& program, const QStringList& arguments,
                         std::chrono::milliseconds timeout, const QByteArray& input = {});

// Waits until `process` prints a line starting with `prefix`; that line, or nothing when the
// process ends or the time is up first. The lines before it are read and dropped.
std::optional<QString> waitForLine(QProcess& process, const QString& prefix,
                                   std::chrono::milliseconds timeout = std::chrono::seconds(30));

// Whether a user's desktop session sets this variable, one that changes how programs look
// or behave (its desktop name, toolkit, theme and scale settings, the language).
bool setByUsersDesktop(const QString& name);

// Makes the runtime (owner only), config, cache, data and user folders in `home` and
// points HOME, XDG_RUNTIME_DIR and the XDG folders of `environment` at them; gives it a
// fontconfig file of its own (Noto, then DejaVu) and the C.UTF-8 locale, and drops what a
// user's desktop session sets (its desktop name, toolkit and theme settings); the runtime
// folder.
QString usePrivateHome(const QString& home, QProcessEnvironment& environment);

// Lets the desktop portal of the programs run with `environment` use these backends only
// (names of the installed portal files: "wlr", "gtk"; none for a desktop without any),
// whichever others are installed. Call after usePrivateHome and after setting
// XDG_CURRENT_DESKTOP; false when the folders cannot be written or a backend is missing.
bool usePortals(const QString& home, QProcessEnvironment& environment, const QStringList& backends);

// Starts a dbus-daemon with `arguments` (which make it print its address) and returns the
// address it listens on; empty when it gave none.
QString startSessionBus(QProcess& bus, const QProcessEnvironment& environment, const QStringList& arguments);

}  // namespace TestSupport
