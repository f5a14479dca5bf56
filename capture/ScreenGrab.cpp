#include "capture/ScreenGrab.h"

#include "ZantrelKit/RunModes.h"
#include "ZantrelKit/ScreenArea.h"
#include "platform/async/MainThread.h"
#include "platform/async/Worker.h"
#include "platform/screen/X11Capture.h"

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
    const auto link = Platform::applicationX11Link();
    return link && Platform::canReadRoot(*link);
}

QString noSessionText() {
    if (QGuiApplication::platformName() == u"wayland")
        return QStringLiteral(
            "This Wayland session does not let the app read the screen; log in to an X11 session to grab "
            "text from the screen");
    return QStringLiteral("There is no X11 display to read the screen from");
}

}  // namespace

const char* NoGrantInScriptedRun::what() const noexcept {
    return "Screen Recording is not granted in this scripted run";
}

bool askForGrant() {
    // Nothing to request on X11: a readable root window is the grant.
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
    const auto link = Platform::applicationX11Link();
    if (!link)
        throw CaptureError(noSessionText().toStdString());
    const QRect pixels = Platform::toDevicePixels(desktopArea(rect, primaryScreenGeometry()));
    const Platform::X11Link x11 = *link;
    auto result = co_await Platform::runOnWorker([x11, pixels] { return Platform::captureRoot(x11, pixels); });
    if (!result)
        throw CaptureError(result.error().message.toStdString());
    co_return std::move(*result);
}

}  // namespace ZantrelCapture::ScreenGrab
