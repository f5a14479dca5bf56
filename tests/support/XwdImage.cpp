#include "tests/support/XwdImage.h"

#include <array>
#include <bit>
#include <cstdint>

namespace TestSupport {
namespace {

constexpr int headerFields = 25;
constexpr std::uint32_t zPixmap = 2;
constexpr int colourEntryBytes = 12;

std::uint32_t bigEndian(const QByteArray& bytes, qsizetype at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

// The 0–255 value of a channel under `mask`.
int channel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const std::uint32_t top = mask >> shift;
    return static_cast<int>(((pixel & mask) >> shift) * 255 / top);
}

}  // namespace

QImage readXwd(const QByteArray& dump) {
    if (dump.size() < headerFields * 4)
        return {};
    std::array<std::uint32_t, headerFields> h{};
    for (int i = 0; i < headerFields; ++i)
        h[static_cast<std::size_t>(i)] = bigEndian(dump, i * 4);
    const std::uint32_t headerSize = h[0], format = h[2], width = h[4], height = h[5], byteOrder = h[7];
    const std::uint32_t bitsPerPixel = h[11], bytesPerLine = h[12];
    const std::uint32_t red = h[14], green = h[15], blue = h[16], colours = h[19];
    if (format != zPixmap || (bitsPerPixel != 32 && bitsPerPixel != 24) || width == 0 || height == 0)
        return {};
    const qint64 start = qint64(headerSize) + qint64(colours) * colourEntryBytes;
    if (start + qint64(bytesPerLine) * height > dump.size() || bytesPerLine < width * bitsPerPixel / 8)
        return {};
    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    const int bytes = static_cast<int>(bitsPerPixel / 8);
    for (std::uint32_t y = 0; y < height; ++y) {
        const char* row = dump.constData() + start + qint64(y) * bytesPerLine;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
        for (std::uint32_t x = 0; x < width; ++x) {
            const auto* p = reinterpret_cast<const std::uint8_t*>(row + qint64(x) * bytes);
            std::uint32_t pixel = 0;
            for (int i = 0; i < bytes; ++i) {
                const int index = byteOrder == 0 ? bytes - 1 - i : i;  // 0: least significant byte first
                pixel = (pixel << 8) | p[index];
            }
            out[x] = qRgb(channel(pixel, red), channel(pixel, green), channel(pixel, blue));
        }
    }
    return image;
}

}  // namespace TestSupport
