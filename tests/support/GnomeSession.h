#pragma once

// A private headless GNOME desktop for end-to-end tests: GNOME Shell on a virtual monitor
// (in its unsafe mode, so that the test can read its state and take screenshots through
// its own D-Bus API), a system bus of its own (the shell needs one), and the desktop portal
// with only the GNOME and GTK backends.

#include "tests/support/DesktopSession.h"

#include <QImage>

#include <optional>

namespace TestSupport {

class GnomeSession final : public DesktopSession {
public:
    explicit GnomeSession(int width = 1280, int height = 800);
    ~GnomeSession() override;

    // Runs JavaScript in the shell; its result as JSON text, or nothing when it fails.
    std::optional<QString> eval(const QString& script) const;
    // The screen as the shell draws it; a null picture when it gives none.
    QImage screenshot() const;
    // Presses the button with `label` in the shell's open dialog; false when there is none.
    bool pressDialogButton(const QString& label) const;

private:
    std::unique_ptr<QProcess> systemBus_;
    std::unique_ptr<QProcess> shell_;
};

}  // namespace TestSupport
