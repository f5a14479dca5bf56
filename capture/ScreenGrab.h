#pragma once

// Capturing what is on screen inside a rectangle, and the Screen Recording check around
// it. Rectangles are in global screen points (origin at the bottom left of the primary
// screen, y up), as the area selector returns them; pictures are in device pixels.

#include "platform/screen/X11Capture.h"

#include <QCoroTask>
#include <QImage>
#include <QRectF>

#include <optional>
#include <stdexcept>

namespace ZantrelCapture::ScreenGrab {

// Screen Recording is missing during a scripted run, where no prompt may be shown.
struct NoGrantInScriptedRun : std::exception {
    const char* what() const noexcept override;
};

// The screen could not be read: the session offers no way to read it, the server or the
// portal refused, no pixels came back.
class CaptureError : public std::runtime_error {
public:
    using Cause = Platform::CaptureFailure::Cause;
    explicit CaptureError(const std::string& message, Cause cause = Cause::other)
        : std::runtime_error(message), cause_(cause) {}
    Cause cause() const { return cause_; }

private:
    Cause cause_;
};

// Whether the screen may be captured now: on X11 whether the root window can be read, on
// Wayland whether the desktop portal offers screenshots (it shows its own prompt when
// the picture is taken). There is no prompt to show here, so a scripted run and a normal
// run ask the same.
bool askForGrant();

// Throws NoGrantInScriptedRun in a scripted run without the grant; nothing otherwise.
void requireGrantInScriptedRun();

// The picture of what is on screen inside `rect`. Throws NoGrantInScriptedRun, or
// CaptureError with a sentence that says why. Runs on the GUI thread; the pixels are read
// on a worker.
QCoro::Task<QImage> capture(QRectF rect);

// Where a rectangle is read, in desktop coordinates (top left of the virtual desktop,
// y down): flipped about the primary screen's height, or about the rectangle's own top
// when there is no screen.
QRectF desktopArea(const QRectF& rect, const std::optional<QRectF>& primaryScreen);

}  // namespace ZantrelCapture::ScreenGrab
