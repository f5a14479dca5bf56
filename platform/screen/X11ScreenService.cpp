#include "platform/screen/X11ScreenService.h"

#include "platform/async/Worker.h"

namespace Platform {

QCoro::Task<std::expected<QImage, CaptureFailure>> X11ScreenService::capture(QRectF desktop) {
    const QRect pixels = toDevicePixels(desktop);
    const X11Link x11 = link_;
    co_return co_await runOnWorker([x11, pixels] { return captureRoot(x11, pixels); });
}

}  // namespace Platform
