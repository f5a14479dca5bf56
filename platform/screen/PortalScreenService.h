#pragma once

// The screen of a Wayland session: the desktop portal's Screenshot of the whole desktop,
// cut to the area asked for. The portal shows its own prompt where the desktop asks the
// user first; that prompt is this session's Screen Recording grant.

#include "platform/screen/ScreenService.h"

#include "platform/async/Clock.h"

#include <QDBusConnection>

#include <chrono>
#include <optional>

namespace Platform {

class PortalScreenService final : public ScreenService {
public:
    // How long the portal may take to answer: it may be waiting for the user's answer to
    // its prompt ("Allow Applications to Take Screenshots?"), which takes a person a while.
    static constexpr std::chrono::seconds answerLimit{120};
    // How long a frozen picture stands for the screen.
    static constexpr std::chrono::seconds frozenLife{30};

    explicit PortalScreenService(QDBusConnection bus);

    Session session() const override { return Session::wayland; }
    bool readable() const override;
    QString missing() const override;
    QCoro::Task<std::expected<QImage, CaptureFailure>> capture(QRectF desktop) override;
    QCoro::Task<std::expected<void, CaptureFailure>> freeze(std::stop_token stop = {}) override;
    QImage frozen(const QRectF& screen) const override;
    void dropFrozen() override { frozen_.reset(); }

private:
    struct Picture {
        QImage image;
        QRectF desktop;  // what it spans, in logical pixels
        Clock::TimePoint taken{};
    };
    QCoro::Task<std::expected<Picture, CaptureFailure>> take(std::stop_token stop);

    QDBusConnection bus_;
    std::optional<Picture> frozen_;
};

std::unique_ptr<ScreenService> makePortalScreenService();

// The portal's handle of the app's active window ("x11:<hex>"), or empty when the app has
// no window it can name.
QString portalParentWindow();

}  // namespace Platform
