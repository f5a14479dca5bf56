#include "capture/ScreenGrab.h"

#include "ZantrelKit/RunModes.h"
#include "ZantrelKit/ScreenArea.h"
#include "platform/async/MainThread.h"
#include "platform/screen/ScreenService.h"

#include <QGuiApplication>
#include <QScreen>

namespace ZantrelCapture::ScreenGrab {
namespace {

std::optional<QRectF> primaryScreenGeometry() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return std::nullopt;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr || QGuiApplication::screens().isEmpty())
        return std::nullopt;
    return QRectF(screen->geometry());
}

bool preflight() {
    return Platform::screenService().readable();
}

}  // namespace

const char* NoGrantInScriptedRun::what() const noexcept {
    return "Screen Recording is not granted in this scripted run";
}

bool askForGrant() {
    // Nothing to request ahead: on X11 a readable root window is the grant, and a desktop
    // portal asks the user itself when the first screenshot is taken.
    return preflight();
}

void requireGrantInScriptedRun() {
    if (ZantrelKit::ScriptedRun::isActive() && !preflight())
        throw NoGrantInScriptedRun{};
}

QRectF desktopArea(const QRectF& rect, const std::optional<QRectF>& primaryScreen) {
    const double height = primaryScreen ? primaryScreen->height() : rect.normalized().bottom();
    const QRectF capture = ZantrelKit::ScreenArea::captureRect(rect, height);
    return primaryScreen ? capture.translated(primaryScreen->topLeft()) : capture;
}

QCoro::Task<QImage> capture(QRectF rect) {
    Platform::assertMain();
    requireGrantInScriptedRun();
    Platform::ScreenService& screen = Platform::screenService();
    if (const QString missing = screen.missing(); !missing.isEmpty())
        throw CaptureError(missing.toStdString());
    auto result = co_await screen.capture(desktopArea(rect, primaryScreenGeometry()));
    if (!result)
        throw CaptureError(result.error().message.toStdString(), result.error().cause);
    co_return std::move(*result);
}

}  // namespace ZantrelCapture::ScreenGrab
