#pragma once

// Reading what is on screen, by whatever the session offers: the X server's root window in
// an X11 session, the desktop portal's Screenshot in a Wayland session, and nothing (with a
// sentence that says what is missing) elsewhere. Chosen once per process, at first use.

#include "platform/screen/X11Capture.h"

#include <QImage>
#include <QRectF>
#include <QString>

#include <QCoroTask>

#include <expected>
#include <memory>
#include <stop_token>

namespace Platform {

enum class Session { x11, wayland, none };

// The session the application's windows live in: from its platform plugin.
Session currentSession();

class ScreenService {
public:
    virtual ~ScreenService() = default;

    virtual Session session() const = 0;
    // Whether the screen can be read now; never shows a prompt. May be asked from any thread.
    virtual bool readable() const = 0;
    // Why the screen cannot be read in this session, as a sentence; empty when it can.
    virtual QString missing() const = 0;
    // The pixels of `desktop` (desktop coordinates, logical pixels), in device pixels.
    virtual QCoro::Task<std::expected<QImage, CaptureFailure>> capture(QRectF desktop) = 0;

    // Where the app cannot place windows over others, the selector shows a picture of the
    // desktop taken before it opens; the capture that follows the pick reads that same
    // picture. A failure says why no picture could be taken; a stop gives up waiting.
    virtual QCoro::Task<std::expected<void, CaptureFailure>> freeze(std::stop_token stop = {}) {
        (void)stop;
        co_return std::unexpected(CaptureFailure{QStringLiteral("this session's screen cannot be pictured")});
    }
    // A screen's part of the frozen picture (device pixels, with its pixel ratio), or a
    // null picture.
    virtual QImage frozen(const QRectF& screen) const {
        (void)screen;
        return {};
    }
    // The pick over the frozen picture ended without an area: a later capture reads the
    // screen as it is then.
    virtual void dropFrozen() {}
};

// The process's service (the session's, unless a test installed another).
ScreenService& screenService();
// Installs a service for the rest of the process; nullptr goes back to the session's.
void setScreenService(std::unique_ptr<ScreenService> service);

// The service that reads nothing and says so.
std::unique_ptr<ScreenService> makeNoScreenService(Session session, bool portalMissing);

// The part of a picture of the whole desktop that shows `desktop`: the picture spans
// `virtualDesktop` (logical pixels) at whatever scale the desktop took it, fractional
// ones included. Empty when the area lies off the picture.
QRect pictureArea(const QRectF& desktop, const QRectF& virtualDesktop, QSize picture);

}  // namespace Platform
