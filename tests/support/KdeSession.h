#pragma once

// A private headless Plasma desktop for end-to-end tests: KWin on a virtual output (it
// hosts KGlobalAccel), and the desktop portal with only its KDE backend. The packaged KWin
// carries a file capability this container may not grant, so a plain copy of it runs.

#include "tests/support/DesktopSession.h"

#include <QImage>

namespace TestSupport {

class KdeSession final : public DesktopSession {
public:
    explicit KdeSession(int width = 1280, int height = 800);
    ~KdeSession() override;

    // The screen through the desktop portal, taken by the test helper; a null picture when
    // it gives none.
    QImage screenshot(const QString& helper) const;
    // Has KWin note each window it maps from now on; windowsAdded() gives them in order, as
    // "PID X Y WIDTH HEIGHT CAPTION": a window that shows for a moment is seen however late.
    bool followWindows();
    QStringList windowsAdded();

private:
    std::unique_ptr<QProcess> kwin_;
    QString log_;
};

}  // namespace TestSupport
