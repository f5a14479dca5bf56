#include "platform/screen/PortalScreenService.h"

#include "platform/async/MainThread.h"
#include "platform/portal/PortalRequest.h"
#include "platform/portal/PortalScreenshot.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace Platform {
namespace {

QRectF virtualDesktop() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return {};
    QRectF all;
    for (const QScreen* screen : QGuiApplication::screens())
        all = all.united(QRectF(screen->geometry()));
    return all;
}

CaptureFailure::Cause causeOf(Portal::ScreenshotFailure::Kind kind) {
    using Kind = Portal::ScreenshotFailure::Kind;
    switch (kind) {
    case Kind::refused:
        return CaptureFailure::Cause::refused;
    case Kind::unanswered:
        return CaptureFailure::Cause::unanswered;
    case Kind::unsaved:
        return CaptureFailure::Cause::unsaved;
    case Kind::cancelled:
        break;
    }
    return CaptureFailure::Cause::other;
}

}  // namespace

PortalScreenService::PortalScreenService(QDBusConnection bus) : bus_(std::move(bus)) {}

bool PortalScreenService::readable() const {
    // A portal slow to answer on a busy desktop is still there; its request says if it
    // never answers.
    return Portal::offer(bus_, QString::fromLatin1(Portal::screenshotInterface)) != Portal::Offer::absent;
}

QString PortalScreenService::missing() const {
    if (readable())
        return {};
    return makeNoScreenService(Session::wayland, bus_.isConnected())->missing();
}

QCoro::Task<std::expected<PortalScreenService::Picture, CaptureFailure>> PortalScreenService::take(
    std::stop_token stop) {
    assertMain();
    const QRectF desktop = virtualDesktop();
    if (desktop.isEmpty())
        co_return std::unexpected(CaptureFailure{QStringLiteral("there is no screen to read")});
    auto image = co_await Portal::screenshot(bus_, portalParentWindow(), answerLimit, stop);
    if (!image)
        co_return std::unexpected(CaptureFailure{image.error().message, causeOf(image.error().kind)});
    co_return Picture{std::move(*image), desktop, Clock::shared().now()};
}

QCoro::Task<std::expected<QImage, CaptureFailure>> PortalScreenService::capture(QRectF desktop) {
    std::optional<Picture> picture;
    // The area was picked over the frozen picture: read what the user saw.
    if (frozen_ && Clock::shared().now() - frozen_->taken <= frozenLife)
        picture = std::move(frozen_);
    frozen_.reset();
    if (!picture) {
        auto taken = co_await take({});
        if (!taken)
            co_return std::unexpected(taken.error());
        picture = std::move(*taken);
    }
    const QRect area = pictureArea(desktop, picture->desktop, picture->image.size());
    if (area.isEmpty())
        co_return std::unexpected(CaptureFailure{QStringLiteral("the area lies outside every screen")});
    co_return picture->image.copy(area);
}

QCoro::Task<std::expected<void, CaptureFailure>> PortalScreenService::freeze(std::stop_token stop) {
    frozen_.reset();
    auto taken = co_await take(stop);
    if (!taken)
        co_return std::unexpected(taken.error());
    frozen_ = std::move(*taken);
    co_return {};
}

QImage PortalScreenService::frozen(const QRectF& screen) const {
    if (!frozen_)
        return {};
    const QRect area = pictureArea(screen, frozen_->desktop, frozen_->image.size());
    if (area.isEmpty())
        return {};
    QImage part = frozen_->image.copy(area);
    part.setDevicePixelRatio(screen.width() > 0 ? area.width() / screen.width() : 1.0);
    return part;
}

std::unique_ptr<ScreenService> makePortalScreenService() {
    return std::make_unique<PortalScreenService>(QDBusConnection::sessionBus());
}

QString portalParentWindow() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return {};
    const QWindow* window = QGuiApplication::focusWindow();
    if (window == nullptr)
        return {};
    // A Wayland surface gets a handle only through the foreign-toplevel export, which
    // this Qt does not offer to apps; the portal then treats the request as windowless.
    if (QGuiApplication::platformName() == u"xcb")
        return QStringLiteral("x11:%1").arg(window->winId(), 0, 16);
    return {};
}

}  // namespace Platform
