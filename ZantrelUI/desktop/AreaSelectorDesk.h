#pragma once

// What the area selector needs of the desktop, behind one interface so that the overlay
// runs the same against the X11 desktop and in tests.

#include "platform/screen/X11Capture.h"

#include <QCoroTask>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>

#include <chrono>
#include <cstdint>
#include <expected>
#include <memory>
#include <optional>
#include <stop_token>

class QWidget;

namespace ZantrelUI {

// The window that was active when a pick began: the X window and the process it says
// it belongs to (when it says).
struct FrontWindow {
    std::uint64_t window = 0;
    std::optional<std::int64_t> process;

    friend bool operator==(const FrontWindow&, const FrontWindow&) = default;
};

// Whether the front window belongs to another program than the one with `ownProcess`:
// a window that names no process counts as another program's.
bool isOtherProgram(const FrontWindow& front, std::int64_t ownProcess);

// The wait, after a pick, for the windows under the overlay to draw themselves again, so
// that a capture sees them and not the overlay's last picture.
class RepaintWait {
public:
    virtual ~RepaintWait() = default;
    // Until the area is drawn again, and no longer than `bound`.
    virtual QCoro::Task<> done(std::chrono::milliseconds bound) = 0;
};

class AreaSelectorDesk {
public:
    virtual ~AreaSelectorDesk() = default;

    // The screens' geometry in desktop coordinates (Qt logical pixels, top-left origin),
    // the primary screen first.
    virtual QList<QRectF> screens() const = 0;
    // The pointer, in desktop coordinates.
    virtual QPointF pointer() const = 0;
    // Whether windows can be see-through (a compositing manager runs).
    virtual bool translucent() const = 0;
    // A picture of what a screen shows now, to draw the overlay over when windows cannot
    // be see-through; a null picture when it cannot be read.
    virtual QImage freeze(const QRectF& screen) const = 0;
    // Takes the pointer and the keyboard for a panel; false when either is refused (and
    // then neither is held).
    virtual bool grabInput(QWidget& panel) = 0;
    virtual void releaseInput(QWidget& panel) = 0;
    virtual std::optional<FrontWindow> frontWindow() const = 0;
    virtual void activate(const FrontWindow& window) = 0;
    // Gives the keyboard back to the window that had it: the overlay took it, and on X11
    // it falls to the root window when the overlay goes, while the window manager still
    // counts the window as active and so never hands it back on a click.
    virtual void refocus(const FrontWindow&) {}

    // Runs before the overlay opens; a failure when the pick cannot go on (no picture of
    // the screens where one is needed). A stop means the pick ended meanwhile.
    virtual QCoro::Task<std::expected<void, Platform::CaptureFailure>> prepare(std::stop_token stop) {
        (void)stop;
        co_return {};
    }
    // Shows a panel over its screen (desktop coordinates).
    virtual void present(QWidget& panel, const QRectF& screen);
    // A pick ended with an area: where the clipboard goes only to an app with a focused
    // window, the screens stay covered by their frozen pictures until `uncover`.
    virtual void coverUntilDelivered() {}
    // A pick ended without an area.
    virtual void pickCancelled() {}
    // Made before the overlay goes, so that no drawing after it is missed; `area` in
    // desktop coordinates. This one waits the whole bound: it hears no drawing.
    virtual std::unique_ptr<RepaintWait> watchRepaint(const QRectF& area);
    virtual void uncover() {}
};

// The desktop of the running application: X11 when it has an X11 connection; in a Wayland
// session, full-screen panels over a picture of the screens taken first.
std::unique_ptr<AreaSelectorDesk> makeLiveAreaSelectorDesk();

}  // namespace ZantrelUI
