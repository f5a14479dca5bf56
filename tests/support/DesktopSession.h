#pragma once

// What the headless Plasma and GNOME sessions of the end-to-end tests share: a private
// home, a session bus of their own, the desktop portal pinned to the desktop's own backends
// (XDG_DESKTOP_PORTAL_DIR and portals.conf), so that whichever backends are installed never
// changes a result, and the programs started in the session.

#include "tests/support/SessionProcesses.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace TestSupport {

class DesktopSession {
public:
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;
    virtual ~DesktopSession();

    bool isRunning() const { return running_; }
    const QString& error() const { return error_; }
    QProcessEnvironment environment() const { return environment_; }
    QString home() const { return home_.path(); }

    QProcess& start(const QString& program, const QStringList& arguments = {});
    CommandResult run(const QString& program, const QStringList& arguments = {},
                      std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;
    // A session-bus call through busctl: "busctl --user call ARGS…".
    CommandResult call(const QStringList& arguments) const;
    // Whether `condition` holds within `limit`, asked every 200 ms.
    static bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit);

protected:
    DesktopSession();
    // A session bus, and the portal with only `backends` (their .portal files) after
    // `backendPrograms` have started; false with `error_` set when it offers no Screenshot.
    bool startBus();
    bool startPortal(const QStringList& backends, const QStringList& backendPrograms);
    void fail(const QString& why) { error_ = why; }
    void ready() { running_ = true; }

    QTemporaryDir home_;
    QString runtime_;
    QProcessEnvironment environment_;

private:
    bool running_ = false;
    QString error_;
    std::unique_ptr<QProcess> bus_;
    std::vector<std::unique_ptr<QProcess>> programs_;
};

}  // namespace TestSupport
