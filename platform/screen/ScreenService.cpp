#include "platform/screen/ScreenService.h"

#include "platform/screen/PortalScreenService.h"
#include "platform/screen/X11ScreenService.h"

#include <QGuiApplication>

#include <mutex>

namespace Platform {
namespace {

class NoScreenService final : public ScreenService {
public:
    NoScreenService(Session session, bool portalMissing) : session_(session), portalMissing_(portalMissing) {}

    Session session() const override { return session_; }
    bool readable() const override { return false; }
    QString missing() const override {
        if (session_ == Session::wayland && portalMissing_)
            return QStringLiteral(
                "This Wayland desktop offers apps no screenshot service: the desktop portal "
                "(xdg-desktop-portal) with a Screenshot backend for this desktop is not running");
        if (session_ == Session::wayland)
            return QStringLiteral("There is no session bus to reach the desktop's screenshot service");
        return QStringLiteral("There is no X11 display to read the screen from");
    }
    QCoro::Task<std::expected<QImage, CaptureFailure>> capture(QRectF) override {
        co_return std::unexpected(CaptureFailure{missing()});
    }

private:
    Session session_;
    bool portalMissing_;
};

std::mutex& lock() {
    static std::mutex mutex;
    return mutex;
}

std::unique_ptr<ScreenService>& installed() {
    static std::unique_ptr<ScreenService> service;
    return service;
}

std::unique_ptr<ScreenService> sessionService() {
    switch (currentSession()) {
    case Session::x11:
        if (const auto link = applicationX11Link())
            return std::make_unique<X11ScreenService>(*link);
        break;
    case Session::wayland:
        return makePortalScreenService();
    case Session::none:
        break;
    }
    return makeNoScreenService(Session::none, false);
}

}  // namespace

Session currentSession() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return Session::none;
    const QString platform = QGuiApplication::platformName();
    if (platform == u"xcb")
        return applicationX11Link() ? Session::x11 : Session::none;
    if (platform.startsWith(u"wayland"))
        return Session::wayland;
    return Session::none;
}

ScreenService& screenService() {
    const std::lock_guard guard(lock());
    auto& service = installed();
    if (service)
        return *service;
    // Before the application object there is no session to choose yet.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        static const std::unique_ptr<ScreenService> none = makeNoScreenService(Session::none, false);
        return *none;
    }
    service = sessionService();
    return *service;
}

void setScreenService(std::unique_ptr<ScreenService> service) {
    const std::lock_guard guard(lock());
    installed() = std::move(service);
}

std::unique_ptr<ScreenService> makeNoScreenService(Session session, bool portalMissing) {
    return std::make_unique<NoScreenService>(session, portalMissing);
}

QRect pictureArea(const QRectF& desktop, const QRectF& virtualDesktop, QSize picture) {
    if (virtualDesktop.isEmpty() || picture.isEmpty())
        return {};
    const double sx = picture.width() / virtualDesktop.width();
    const double sy = picture.height() / virtualDesktop.height();
    const QRectF r = desktop.normalized();
    const QRectF scaled((r.left() - virtualDesktop.left()) * sx, (r.top() - virtualDesktop.top()) * sy,
                        r.width() * sx, r.height() * sy);
    // Edges are rounded, not widened, so that two neighbouring areas share their seam.
    const QRect device(QPoint(qRound(scaled.left()), qRound(scaled.top())),
                       QPoint(qRound(scaled.right()) - 1, qRound(scaled.bottom()) - 1));
    return device.intersected(QRect(QPoint(0, 0), picture));
}

}  // namespace Platform
