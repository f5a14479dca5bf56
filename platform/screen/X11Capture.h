#pragma once

// Reading pixels of the root window: what is on screen, in device pixels.

#include "platform/screen/X11Link.h"

#include <QImage>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>

#include <expected>

namespace Platform {

struct CaptureFailure {
    // What the user is told about: the desktop refused, did not answer, or could not save
    // the picture; anything else is told as a picture that did not come.
    enum class Cause { other, refused, unanswered, unsaved };

    QString message;  // a sentence for the log and the command line
    Cause cause = Cause::other;
};

// The root window's size in device pixels (empty when it cannot be read).
QSize rootSize(const X11Link& link);

// The pixels of `area` (device pixels, root coordinates), cut to the root first: the
// server refuses a request that reaches past its edge. An area that lies wholly off the
// root, a refused request or a reply without pixels is a failure, never an empty image.
std::expected<QImage, CaptureFailure> captureRoot(const X11Link& link, const QRect& area);

// Whether the root window's pixels can be read at all: one pixel is asked for.
bool canReadRoot(const X11Link& link);

// The application's screens: a rectangle in desktop coordinates (logical pixels) as
// device pixels of the root, scaled by the device pixel ratio of the screen it overlaps
// most. Without a screen it is taken as it is.
QRect toDevicePixels(const QRectF& desktop);

}  // namespace Platform
