#pragma once

// A private headless Wayland desktop for end-to-end tests: sway with a headless output,
// a session bus of its own with the desktop portal (xdg-desktop-portal and its wlroots
// backend, which takes screenshots with grim), and the environment for Qt apps to run on
// it. sway refuses to run as root, so under root it runs as the unprivileged "nobody".

#include "tests/support/XvfbSession.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

namespace TestSupport {

class WaylandSession {
public:
    // `portal` false leaves the desktop portal out (a desktop without one).
    explicit WaylandSession(bool portal = true, int width = 1280, int height = 800);
    ~WaylandSession();
    WaylandSession(const WaylandSession&) = delete;
    WaylandSession& operator=(const WaylandSession&) = delete;

    bool isRunning() const { return running_; }
    const QString& error() const { return error_; }
    QProcessEnvironment environment() const { return environment_; }

    QProcess& start(const QString& program, const QStringList& arguments = {});
    CommandResult run(const QString& program, const QStringList& arguments = {},
                      std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;
    CommandResult swaymsg(const QStringList& arguments) const;
    // A second headless output to the right of the first; false when sway refuses.
    bool addOutput(int x, int width, int height) const;
    // The clipboard's text (wl-paste), or nothing when nobody offers text.
    std::optional<QString> clipboardText() const;
    // How many visible windows of a process sway shows full screen.
    int fullScreenWindowsOf(qint64 pid) const;
    // How many visible windows of a process sway shows; floating ones only when asked.
    int windowsOf(qint64 pid, bool floatingOnly = false) const;

private:
    bool running_ = false;
    QString error_;
    QTemporaryDir home_;
    QProcessEnvironment environment_;
    std::unique_ptr<QProcess> sway_;
    std::unique_ptr<QProcess> bus_;
    std::vector<std::unique_ptr<QProcess>> programs_;
};

}  // namespace TestSupport
