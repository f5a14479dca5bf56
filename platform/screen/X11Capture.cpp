#include "platform/screen/X11Capture.h"

#include <QGuiApplication>
#include <QScreen>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace Platform {
namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

// How the server lays out pixels of a depth: bits per pixel and row padding.
std::optional<xcb_format_t> formatOfDepth(const xcb_setup_t* setup, std::uint8_t depth) {
    xcb_format_iterator_t it = xcb_setup_pixmap_formats_iterator(setup);
    for (; it.rem > 0; xcb_format_next(&it)) {
        if (it.data->depth == depth)
            return *it.data;
    }
    return std::nullopt;
}

QString errorText(const xcb_generic_error_t& error) {
    switch (error.error_code) {
    case XCB_MATCH:
        return QStringLiteral("the area is not on the screen (X error BadMatch)");
    case XCB_DRAWABLE:
        return QStringLiteral("the screen cannot be read (X error BadDrawable)");
    case XCB_ALLOC:
        return QStringLiteral("the X server ran out of memory for the picture (X error BadAlloc)");
    default:
        return QStringLiteral("the X server refused the screen capture (X error %1)").arg(error.error_code);
    }
}

}  // namespace

QSize rootSize(const X11Link& link) {
    if (link.connection == nullptr)
        return {};
    XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(link.connection, xcb_get_geometry(link.connection, link.root), nullptr));
    if (!geometry)
        return {};
    return {geometry->width, geometry->height};
}

std::expected<QImage, CaptureFailure> captureRoot(const X11Link& link, const QRect& area) {
    if (link.connection == nullptr || xcb_connection_has_error(link.connection) != 0)
        return std::unexpected(CaptureFailure{QStringLiteral("there is no connection to the X server")});
    const QSize size = rootSize(link);
    if (size.isEmpty())
        return std::unexpected(CaptureFailure{QStringLiteral("the size of the screen cannot be read")});
    const QRect cut = area.intersected(QRect(QPoint(0, 0), size));
    if (cut.isEmpty())
        return std::unexpected(CaptureFailure{QStringLiteral("the area lies outside every screen")});

    xcb_generic_error_t* rawError = nullptr;
    XcbReply<xcb_get_image_reply_t> reply(xcb_get_image_reply(
        link.connection,
        xcb_get_image(link.connection, XCB_IMAGE_FORMAT_Z_PIXMAP, link.root, static_cast<std::int16_t>(cut.x()),
                      static_cast<std::int16_t>(cut.y()), static_cast<std::uint16_t>(cut.width()),
                      static_cast<std::uint16_t>(cut.height()), ~0u),
        &rawError));
    XcbReply<xcb_generic_error_t> error(rawError);
    if (error)
        return std::unexpected(CaptureFailure{errorText(*error)});
    if (!reply)
        return std::unexpected(CaptureFailure{QStringLiteral("the X server sent no picture")});

    const xcb_setup_t* setup = xcb_get_setup(link.connection);
    const auto format = formatOfDepth(setup, reply->depth);
    if (!format)
        return std::unexpected(CaptureFailure{QStringLiteral("unknown screen depth %1").arg(reply->depth)});
    QImage::Format imageFormat = QImage::Format_Invalid;
    if (format->bits_per_pixel == 32 && (reply->depth == 24 || reply->depth == 32))
        imageFormat = QImage::Format_RGB32;
    else if (format->bits_per_pixel == 16 && reply->depth == 16)
        imageFormat = QImage::Format_RGB16;
    if (imageFormat == QImage::Format_Invalid || setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
        return std::unexpected(CaptureFailure{
            QStringLiteral("unsupported screen format (depth %1, %2 bits per pixel)")
                .arg(reply->depth)
                .arg(format->bits_per_pixel)});

    const int bytesPerPixel = format->bits_per_pixel / 8;
    const int pad = format->scanline_pad / 8;
    const int stride = ((cut.width() * bytesPerPixel + pad - 1) / pad) * pad;
    const int length = xcb_get_image_data_length(reply.get());
    if (length < stride * cut.height())
        return std::unexpected(CaptureFailure{QStringLiteral("the X server sent a short picture")});

    QImage image(cut.size(), imageFormat);
    if (image.isNull())
        return std::unexpected(CaptureFailure{QStringLiteral("no memory for a %1 × %2 picture")
                                                  .arg(cut.width())
                                                  .arg(cut.height())});
    const std::uint8_t* data = xcb_get_image_data(reply.get());
    const auto rowBytes = static_cast<std::size_t>(cut.width() * bytesPerPixel);
    for (int y = 0; y < cut.height(); ++y)
        std::memcpy(image.scanLine(y), data + static_cast<std::ptrdiff_t>(y) * stride, rowBytes);
    if (imageFormat == QImage::Format_RGB16)
        image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}

bool canReadRoot(const X11Link& link) {
    return captureRoot(link, QRect(0, 0, 1, 1)).has_value();
}

QRect toDevicePixels(const QRectF& desktop) {
    const QScreen* best = nullptr;
    double bestArea = 0;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        for (const QScreen* screen : QGuiApplication::screens()) {
            const QRectF overlap = desktop.intersected(QRectF(screen->geometry()));
            const double area = overlap.width() * overlap.height();
            if (best == nullptr || area > bestArea) {
                best = screen;
                bestArea = area;
            }
        }
    }
    if (best == nullptr || best->devicePixelRatio() == 1.0)
        return desktop.toAlignedRect();
    // Qt scales each screen about its own top-left corner, which stays in place.
    const QPointF origin = best->geometry().topLeft();
    const double ratio = best->devicePixelRatio();
    const QRectF device((desktop.topLeft() - origin) * ratio + origin, desktop.size() * ratio);
    return device.toAlignedRect();
}

}  // namespace Platform
