#pragma once

// The screen of an X11 session: the root window's pixels, read on a worker.

#include "platform/screen/ScreenService.h"

namespace Platform {

class X11ScreenService final : public ScreenService {
public:
    explicit X11ScreenService(X11Link link) : link_(link) {}

    Session session() const override { return Session::x11; }
    bool readable() const override { return canReadRoot(link_); }
    QString missing() const override { return {}; }
    QCoro::Task<std::expected<QImage, CaptureFailure>> capture(QRectF desktop) override;

private:
    X11Link link_;
};

}  // namespace Platform
