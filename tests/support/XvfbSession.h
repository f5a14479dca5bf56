#pragma once

// A private X display (Xvfb) and session bus for end-to-end tests: programs run under
// them, xdotool drives them, xclip reads their clipboard.

#include "tests/support/SessionProcesses.h"

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

namespace TestSupport {

class XvfbSession {
public:
    // Starts Xvfb on a free display and a session bus; check `isRunning()`.
    explicit XvfbSession(int width = 1280, int height = 800);
    // One framebuffer split into these monitors (RandR monitors, as a desktop with two
    // outputs has them); the first is the primary. Rectangles in root window pixels.
    explicit XvfbSession(const QList<QRect>& monitors);
    ~XvfbSession();
    XvfbSession(const XvfbSession&) = delete;
    XvfbSession& operator=(const XvfbSession&) = delete;

    bool isRunning() const { return running_; }
    const QString& display() const { return display_; }
    const QString& error() const { return error_; }

    // DISPLAY, the session bus, a private runtime and home for the programs run here.
    QProcessEnvironment environment() const { return environment_; }

    // Starts a program in the background; it is ended when the session ends.
    QProcess& start(const QString& program, const QStringList& arguments = {},
                    const QProcessEnvironment& extra = {});
    // Runs a program to its end.
    CommandResult run(const QString& program, const QStringList& arguments = {},
                      std::chrono::milliseconds timeout = std::chrono::seconds(30),
                      const QByteArray& input = {}) const;

    CommandResult xdotool(const QStringList& arguments) const;
    // The whole screen as the framebuffer holds it (`xwd -root`); null when xwd fails.
    QImage screenshot() const;
    // The CLIPBOARD selection's text, or nothing when no client owns it.
    std::optional<QString> clipboardText() const;
    // Waits until a window with this exact title is mapped; its id.
    std::optional<QString> waitForWindow(const QString& title,
                                         std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;

private:
    void startServer(int width, int height);

    bool running_ = false;
    QString display_;
    QString error_;
    QTemporaryDir home_;
    QProcessEnvironment environment_;
    std::unique_ptr<QProcess> xvfb_;
    std::unique_ptr<QProcess> bus_;
    std::vector<std::unique_ptr<QProcess>> programs_;
};

}  // namespace TestSupport
