#pragma once

// A Wayland session's screen for the app's tests: read through a portal, or with nothing
// that can read it (`missing` says what), installed for the life of a ScreenOfSession.

#include "platform/screen/ScreenService.h"

namespace WaylandTesting {

class WaylandScreen final : public Platform::ScreenService {
public:
    explicit WaylandScreen(QString missing) : missing_(std::move(missing)) {}
    Platform::Session session() const override { return Platform::Session::wayland; }
    bool readable() const override { return missing_.isEmpty(); }
    QString missing() const override { return missing_; }
    QCoro::Task<std::expected<QImage, Platform::CaptureFailure>> capture(QRectF) override {
        co_return std::unexpected(Platform::CaptureFailure{missing_});
    }

private:
    QString missing_;
};

struct ScreenOfSession {
    explicit ScreenOfSession(QString missing) {
        Platform::setScreenService(std::make_unique<WaylandScreen>(std::move(missing)));
    }
    ~ScreenOfSession() { Platform::setScreenService(nullptr); }
};

}  // namespace WaylandTesting
