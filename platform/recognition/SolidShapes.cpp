#include "platform/recognition/SolidShapes.h"

#include "platform/recognition/PagePreparation.h"

#include <algorithm>
#include <cmath>

namespace Platform::Recognition {
namespace {

// Any shape clearly off the white ground counts, however light its colour: a pale
// yellow disc is as much a picture to the recognizer as a dark one.
constexpr int shapeLevel = 235;
// A disc fills π/4 of its box; a bold glyph, even a heavy "O" or "B", much less.
constexpr double solidShare = 0.7;
// Icons are about as wide as tall; a bar of that fill is a rule or a panel edge.
constexpr double widestAspect = 2.0;
// The anti-aliased edge that would be left as a ring.
constexpr int rim = 2;

// Whether any row of the box has ground between its first and last ink: a counter of a
// letter, a glyph on a panel.
bool hasGroundInside(const QImage& gray, const QRect& box) {
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const uchar* line = gray.constScanLine(y);
        int first = box.left();
        while (first <= box.right() && line[first] >= shapeLevel)
            ++first;
        int last = box.right();
        while (last > first && line[last] >= shapeLevel)
            --last;
        for (int x = first; x <= last; ++x) {
            if (line[x] >= shapeLevel)
                return true;
        }
    }
    return false;
}

}  // namespace

std::vector<QRect> solidShapes(const QImage& gray, std::optional<double> glyph) {
    std::vector<QRect> found;
    if (gray.isNull() || gray.format() != QImage::Format_Grayscale8 || !glyph || *glyph <= 0)
        return found;
    // Larger than any glyph of the text both ways: a list's disc marker is smaller than
    // a letter and stays.
    const double smallestSide = 1.8 * *glyph;
    for (const InkShape& shape : inkShapes(gray, shapeLevel)) {
        const QRect& box = shape.box;
        const double w = box.width();
        const double h = box.height();
        if (w < smallestSide || h < smallestSide || w > widestAspect * h || h > widestAspect * w ||
            static_cast<double>(shape.ink) < solidShare * w * h || w * h > 0.25 * gray.width() * gray.height())
            continue;
        if (hasGroundInside(gray, box))
            continue;
        found.push_back(box.adjusted(-rim, -rim, rim, rim) & gray.rect());
    }
    return found;
}

}  // namespace Platform::Recognition
