#include "platform/recognition/TableBandEdges.h"

#include <algorithm>
#include <cstdlib>

namespace Platform::Recognition {

namespace {

// Antialiasing and dithering of a flat ground stay within this of one another.
constexpr int groundTolerance = 24;

bool isPlainColumn(const QImage& picture, int x, const QRect& area) {
    const QRgb first = picture.pixel(x, area.top());
    for (int y = area.top() + 1; y <= area.bottom(); ++y) {
        const QRgb pixel = picture.pixel(x, y);
        if (std::abs(qRed(pixel) - qRed(first)) > groundTolerance ||
            std::abs(qGreen(pixel) - qGreen(first)) > groundTolerance ||
            std::abs(qBlue(pixel) - qBlue(first)) > groundTolerance)
            return false;
    }
    return true;
}

}  // namespace

QRect clearOfGlyphs(const QImage& picture, const QRect& area, int reach) {
    const QRect clipped = area & picture.rect();
    if (clipped.isEmpty())
        return clipped;
    QRect widened = clipped;
    const int leftmost = std::max(0, clipped.left() - reach);
    while (widened.left() > leftmost && !isPlainColumn(picture, widened.left(), widened))
        widened.setLeft(widened.left() - 1);
    const int rightmost = std::min(picture.width() - 1, clipped.right() + reach);
    while (widened.right() < rightmost && !isPlainColumn(picture, widened.right(), widened))
        widened.setRight(widened.right() + 1);
    return widened;
}

}  // namespace Platform::Recognition
