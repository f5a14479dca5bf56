#include "platform/recognition/FlatPanels.h"

#include "platform/recognition/PagePreparation.h"

#include <algorithm>
#include <array>
#include <vector>

namespace Platform::Recognition {
namespace {

// A control's own colour varies little, a soft vertical sheen at most: most of its dark
// pixels (all but its text's anti-aliasing) lie within this many grays of its most
// common one. The dark end of a gradient or a photo spreads far wider.
constexpr int flatReach = 16;
constexpr double flatShare = 0.7;
// A control holds one line of text, its padding and its shadow: no taller than this many
// glyphs. A banner or a card holding lines of text is left to the flattening.
constexpr double tallestControl = 6.0;

bool isFlat(const QImage& gray, const QRect& box, int threshold) {
    std::array<long, 256> counts{};
    long total = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = box.left(); x <= box.right(); ++x) {
            if (line[x] < threshold) {
                ++counts[line[x]];
                ++total;
            }
        }
    }
    const int common = static_cast<int>(std::max_element(counts.begin(), counts.end()) - counts.begin());
    long near = 0;
    for (int v = std::max(0, common - flatReach); v <= std::min(255, common + flatReach); ++v)
        near += counts[static_cast<std::size_t>(v)];
    return total > 0 && static_cast<double>(near) >= flatShare * static_cast<double>(total);
}

// The turned panel's anti-aliased rim, which turning whitens, reaches this far out.
constexpr int rimReach = 2;

// The median gray of a ring just outside the box's rim.
int groundAround(const QImage& gray, const QRect& box) {
    const QRect outer = box.adjusted(-rimReach - 2, -rimReach - 2, rimReach + 2, rimReach + 2) & gray.rect();
    const QRect inner = box.adjusted(-rimReach, -rimReach, rimReach, rimReach);
    std::vector<uchar> levels;
    for (int y = outer.top(); y <= outer.bottom(); ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = outer.left(); x <= outer.right(); ++x)
            if (!inner.contains(x, y))
                levels.push_back(line[x]);
    }
    if (levels.empty())
        return 255;
    const auto middle = levels.begin() + static_cast<std::ptrdiff_t>(levels.size() / 2);
    std::nth_element(levels.begin(), middle, levels.end());
    return *middle;
}

}  // namespace

int invertFlatPanels(QImage& gray) {
    const int threshold = inkThreshold(gray);
    const std::vector<InkShape> shapes = inkShapes(gray, threshold);
    const std::optional<double> glyph = medianGlyphHeight(shapes, gray.height());
    if (!glyph)
        return 0;
    // Shapes as big as a glyph cannot be panels; only the rest are measured.
    const int smallest = static_cast<int>(*glyph);
    const double tallest = tallestControl * *glyph;
    int turned = 0;
    for (const InkShape& shape : shapes) {
        if (shape.box.width() <= smallest || shape.box.height() <= smallest || shape.box.height() > tallest ||
            !isFlat(gray, shape.box, threshold))
            continue;
        const int around = groundAround(gray, shape.box);
        if (invertDarkPanels(gray, {shape}, glyph) == 0)
            continue;
        // Turned, the panel is white; it takes the page's ground around it instead, or
        // it would stand out of the flattened page as a light gray box with edges.
        const QRect area = shape.box.adjusted(-rimReach, -rimReach, rimReach, rimReach) & gray.rect();
        for (int y = area.top(); y <= area.bottom(); ++y) {
            uchar* line = gray.scanLine(y);
            for (int x = area.left(); x <= area.right(); ++x)
                line[x] = static_cast<uchar>(line[x] * around / 255);
        }
        ++turned;
    }
    return turned;
}

}  // namespace Platform::Recognition
