#include "platform/recognition/PagePreparation.h"

#include "platform/recognition/FlatPanels.h"
#include "platform/recognition/GroundLevel.h"
#include "platform/recognition/SolidShapes.h"
#include "platform/recognition/Underlines.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <utility>

namespace Platform::Recognition {
namespace {

// The LSTM reads screen text best when its glyphs (the median over x-height and
// ascender shapes) are about this tall. Measured on DejaVu Sans screen text: 11 px text
// (glyphs of 6 px) misreads words below ×1.5, short table cells of 14 px text misread
// at ×1, and beyond this the page layout costs more without reading better.
constexpr double targetGlyphHeight = 12.5;
// Below this the text is read at its own size; scaling costs more than it gains.
constexpr double smallestUpscale = 1.15;
constexpr double largestScale = 4.0;
// Huge text is shrunk; the recognizer gains nothing from glyphs taller than this.
constexpr double tallestGlyph = 60.0;
// A prepared picture stays below this many pixels, whatever the text size.
constexpr double largestPreparedPixels = 40'000'000.0;

std::array<int, 256> histogram(const QImage& gray) {
    std::array<int, 256> counts{};
    // Read once: each call is out of line, and these loops run over every pixel.
    const int width = gray.width();
    for (int y = 0; y < gray.height(); ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = 0; x < width; ++x)
            ++counts[line[x]];
    }
    return counts;
}

struct Run {
    int y;
    int x0;
    int x1;  // inclusive
};

int findRoot(std::vector<int>& parent, int i) {
    while (parent[static_cast<std::size_t>(i)] != i) {
        auto& p = parent[static_cast<std::size_t>(i)];
        p = parent[static_cast<std::size_t>(p)];
        i = p;
    }
    return i;
}

// The first and last pixels of a row of the box darker than `level`: the panel's own
// span, without the page's ground beside its rounded corners. Empty when first > last.
std::pair<int, int> spanWithin(const uchar* line, const QRect& box, int level) {
    int first = box.left();
    while (first <= box.right() && line[first] >= level)
        ++first;
    int last = box.right();
    while (last >= first && line[last] >= level)
        --last;
    return {first, last};
}

// The most runs of ground between the first and last ink of any row of the box.
int lightRunsAcross(const QImage& gray, const QRect& box, int threshold) {
    int most = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const uchar* line = gray.constScanLine(y);
        const auto [first, last] = spanWithin(line, box, threshold);
        int runs = 0;
        for (int x = first + 1; x <= last; ++x)
            runs += line[x] >= threshold && line[x - 1] < threshold ? 1 : 0;
        most = std::max(most, runs);
    }
    return most;
}

void whitenGround(QImage& gray) {
    const auto counts = histogram(gray);
    const int ground = static_cast<int>(std::max_element(counts.begin(), counts.end()) - counts.begin());
    if (ground >= 250 || ground < 128)
        return;
    std::array<uchar, 256> level{};
    for (int v = 0; v < 256; ++v)
        level[static_cast<std::size_t>(v)] = static_cast<uchar>(std::min(255, v * 255 / ground));
    const int width = gray.width();
    for (int y = 0; y < gray.height(); ++y) {
        uchar* line = gray.scanLine(y);
        for (int x = 0; x < width; ++x)
            line[x] = level[line[x]];
    }
}

// Gray grounds below the page's white (a button or a selection turned with a dark page,
// a badge): the recognizer's page layout may take such a panel for a picture and skip
// its text, or its own threshold may take the gray for ink.
constexpr int panelGroundLimit = 235;
// Darker than this, a panel's text would be lighter than it: such panels are turned.
constexpr int darkestPanelGround = 64;

// How far a panel's anti-aliased edge reaches, in pixels, and the gray below which a
// pixel there is a glyph's stroke rather than the edge's ramp.
constexpr int rimWidth = 2;
constexpr int strokeLevel = 64;

// The anti-aliased rim of a panel just turned: a ring of gray around it that would read
// as brackets. Ground-light pixels along the panel's edge, outside its rows' spans, go
// white; ink (darker than `threshold`) stays.
void clearRim(QImage& gray, const QRect& box, int threshold) {
    const QRect around = box.adjusted(-rimWidth, -rimWidth, rimWidth, rimWidth) & gray.rect();
    for (int y = around.top(); y <= around.bottom(); ++y) {
        uchar* line = gray.scanLine(y);
        const bool inside = y >= box.top() && y <= box.bottom();
        for (int x = around.left(); x <= around.right(); ++x) {
            const bool edge = !inside || x < box.left() || x > box.right();
            if (edge && line[x] >= threshold)
                line[x] = 255;
        }
    }
}

// Whether an ink shape is solid and big enough to be a panel, yet not the page's ground.
bool isPanelShape(const QImage& gray, const InkShape& shape, int smallestSide) {
    const QRect& box = shape.box;
    return box.width() >= smallestSide && box.height() >= smallestSide &&
           static_cast<double>(shape.ink) >= 0.6 * box.width() * box.height() &&
           box.width() * static_cast<double>(box.height()) <= 0.9 * gray.width() * gray.height();
}

// The most common gray in the box.
int commonLevel(const QImage& gray, const QRect& box) {
    std::array<int, 256> counts{};
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = box.left(); x <= box.right(); ++x)
            ++counts[line[x]];
    }
    return static_cast<int>(std::max_element(counts.begin(), counts.end()) - counts.begin());
}

// A chip around a short word ("11", "OK"): a band of solid ink, nearly the box's width,
// above and below its text. No bold letter has two counters side by side under a solid
// top and over a solid foot; two touching letters leave a notch between their tops.
bool hasSolidBands(const QImage& gray, const QRect& box, int threshold) {
    const auto solidRow = [&](int y) {
        const uchar* line = gray.constScanLine(y);
        const auto [first, last] = spanWithin(line, box, threshold);
        if (last - first + 1 < 0.8 * box.width())
            return false;
        return std::all_of(line + first, line + last + 1, [&](uchar v) { return v < threshold; });
    };
    return box.height() > 4 * rimWidth && solidRow(box.top() + rimWidth) && solidRow(box.bottom() - rimWidth);
}

int smallestPanelSide(const QImage& gray, std::optional<double> glyph) {
    if (glyph)
        return std::max(12, static_cast<int>(std::lround(1.5 * *glyph)));
    return std::max(16, std::min(gray.width(), gray.height()) / 20);
}

// The most runs of ink (darker than `threshold`) along any row of the box.
int inkRunsAcross(const QImage& gray, const QRect& box, int threshold) {
    int most = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const uchar* line = gray.constScanLine(y);
        int runs = 0;
        for (int x = box.left(); x <= box.right(); ++x)
            runs += line[x] < threshold && (x == box.left() || line[x - 1] >= threshold) ? 1 : 0;
        most = std::max(most, runs);
    }
    return most;
}

// A picture whose ground is no one gray (a banner over a gradient, a photo-like
// blurred backdrop) has no threshold that parts its text from its ground: less than
// this share of it lies near its most common gray.
constexpr double flatGroundShare = 0.5;
// The ground is measured in cells of this many pixels, wider than a text line's strokes
// and narrower than a gradient's turns.
constexpr int groundCell = 24;
// Cells' grounds spread over this many grays (all but the extreme twentieth at either
// end): a strong gradient, whose light headings fill cells past half and whose buttons
// sit on it as ground of their own. A window's soft tint spans far less.
constexpr double strongGroundSpread = 64;
// Strokes up to twice this wide (a bold heading's) are taken out of a strong ground.
constexpr int strokeReach = 8;
// Larger text (a picture drawn at twice the size) has its strokes and its buttons larger
// alike: the reach grows with the text, to this share of its glyph height.
constexpr double strokeReachPerGlyph = 0.5;

bool hasUnevenGround(const QImage& gray) {
    const auto counts = histogram(gray);
    const int ground = static_cast<int>(std::max_element(counts.begin(), counts.end()) - counts.begin());
    long near = 0;
    for (int level = std::max(0, ground - 6); level <= std::min(255, ground + 6); ++level)
        near += counts[static_cast<std::size_t>(level)];
    return static_cast<double>(near) < flatGroundShare * gray.width() * gray.height();
}

// Each cell's median gray: the ground wherever text covers less than half of a cell.
std::vector<double> cellGrounds(const QImage& gray, int columns, int rows) {
    std::vector<double> grounds(static_cast<std::size_t>(columns * rows));
    for (int cy = 0; cy < rows; ++cy) {
        for (int cx = 0; cx < columns; ++cx) {
            const QRect cell = QRect(cx * groundCell, cy * groundCell, groundCell, groundCell) & gray.rect();
            std::array<int, 256> counts{};
            for (int y = cell.top(); y <= cell.bottom(); ++y) {
                const uchar* line = gray.constScanLine(y);
                for (int x = cell.left(); x <= cell.right(); ++x)
                    ++counts[line[x]];
            }
            const int half = cell.width() * cell.height() / 2;
            int seen = 0;
            int level = 0;
            while (level < 255 && (seen += counts[static_cast<std::size_t>(level)]) <= half)
                ++level;
            grounds[static_cast<std::size_t>(cy * columns + cx)] = level;
        }
    }
    return grounds;
}

// The spread of the cells' grounds, leaving out the extreme twentieth at either end.
double groundSpread(std::vector<double> grounds) {
    std::sort(grounds.begin(), grounds.end());
    const std::size_t tail = grounds.size() / 20;
    return grounds[grounds.size() - 1 - tail] - grounds[tail];
}

// Each pixel's ink is its distance from the ground under it, doubled.
uchar inkAgainst(int level, double ground) {
    const double ink = 2.0 * std::abs(level - ground);
    return static_cast<uchar>(255 - std::clamp(static_cast<int>(std::lround(ink)), 0, 255));
}

// Dark text on white whatever the ground did: each pixel's distance from the ground
// around it, in either direction, is its ink. Light text over the dark end of a
// gradient and dark text on a light patch come out alike. The ground runs smoothly
// between the cells' centres, as a gradient does; over a strong gradient it is the
// picture with its strokes taken out.
QImage flattenedGround(const QImage& gray, int reach) {
    const int columns = (gray.width() + groundCell - 1) / groundCell;
    const int rows = (gray.height() + groundCell - 1) / groundCell;
    const std::vector<double> grounds = cellGrounds(gray, columns, rows);
    QImage flat(gray.size(), QImage::Format_Grayscale8);
    const int width = gray.width();
    if (groundSpread(grounds) >= strongGroundSpread) {
        const QImage ground = groundLevel(gray, reach);
        for (int y = 0; y < gray.height(); ++y) {
            const uchar* in = gray.constScanLine(y);
            const uchar* under = ground.constScanLine(y);
            uchar* out = flat.scanLine(y);
            for (int x = 0; x < width; ++x)
                out[x] = inkAgainst(in[x], under[x]);
        }
        return flat;
    }
    const auto at = [&](int cx, int cy) {
        return grounds[static_cast<std::size_t>(std::clamp(cy, 0, rows - 1) * columns + std::clamp(cx, 0, columns - 1))];
    };
    for (int y = 0; y < gray.height(); ++y) {
        const uchar* in = gray.constScanLine(y);
        uchar* out = flat.scanLine(y);
        const double fy = (y + 0.5) / groundCell - 0.5;
        const int cy = static_cast<int>(std::floor(fy));
        const double ty = fy - cy;
        for (int x = 0; x < width; ++x) {
            const double fx = (x + 0.5) / groundCell - 0.5;
            const int cx = static_cast<int>(std::floor(fx));
            const double tx = fx - cx;
            const double ground = (1 - ty) * ((1 - tx) * at(cx, cy) + tx * at(cx + 1, cy)) +
                                  ty * ((1 - tx) * at(cx, cy + 1) + tx * at(cx + 1, cy + 1));
            out[x] = inkAgainst(in[x], ground);
        }
    }
    return flat;
}

}  // namespace

QRectF PreparedPage::Strip::toOriginal(const QRectF& stripBox) const {
    return {(stripBox.x() - padding) / scaleX + left, (stripBox.y() - padding) / scaleY + top,
            stripBox.width() / scaleX, stripBox.height() / scaleY};
}

PreparedPage::Strip PreparedPage::strip(int top, int bottom) const {
    return strip(QRect(0, top, image.width(), bottom - top));
}

PreparedPage::Strip PreparedPage::strip(const QRect& area) const {
    Strip strip;
    strip.left = area.left();
    strip.top = area.top();
    QImage rows = image.copy(area);
    for (const QRect& picture : pictures) {
        const QRect inside = picture.translated(-area.topLeft()) & rows.rect();
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            std::fill_n(rows.scanLine(y) + inside.left(), inside.width(), uchar{255});
    }
    if (std::abs(scale - 1.0) > 0.01) {
        const int w = std::max(1, static_cast<int>(std::lround(rows.width() * scale)));
        const int h = std::max(1, static_cast<int>(std::lround(rows.height() * scale)));
        strip.scaleX = static_cast<double>(w) / rows.width();
        strip.scaleY = static_cast<double>(h) / rows.height();
        rows = rows.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    // Glyphs touching the edge lose their outline in the recognizer's line finder.
    strip.padding = std::clamp(static_cast<int>(std::lround(glyphHeight.value_or(10.0) * scale)), 8, 48);
    strip.image = QImage(rows.width() + 2 * strip.padding, rows.height() + 2 * strip.padding, QImage::Format_Grayscale8);
    strip.image.fill(255);
    for (int y = 0; y < rows.height(); ++y)
        std::copy_n(rows.constScanLine(y), rows.width(), strip.image.scanLine(y + strip.padding) + strip.padding);
    return strip;
}

QImage grayPicture(const QImage& picture) {
    if (picture.format() == QImage::Format_Grayscale8)
        return picture;
    if (picture.hasAlphaChannel()) {
        // Transparent parts read as a white ground, not as black.
        QImage flat(picture.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter painter(&flat);
        painter.drawImage(0, 0, picture);
        painter.end();
        return flat.convertToFormat(QImage::Format_Grayscale8);
    }
    return picture.convertToFormat(QImage::Format_Grayscale8);
}

bool isLightOnDark(const QImage& gray) {
    const auto counts = histogram(gray);
    // Smooth over neighbouring levels so a dithered or gradient ground still has one peak.
    int best = 0;
    long bestCount = -1;
    for (int level = 0; level < 256; ++level) {
        long sum = 0;
        for (int d = -4; d <= 4; ++d) {
            const int l = level + d;
            if (l >= 0 && l < 256)
                sum += counts[static_cast<std::size_t>(l)];
        }
        if (sum > bestCount) {
            bestCount = sum;
            best = level;
        }
    }
    return best < 128;
}

int inkThreshold(const QImage& gray) {
    const auto counts = histogram(gray);
    const double total = static_cast<double>(gray.width()) * gray.height();
    if (total <= 0)
        return 128;
    double sumAll = 0;
    for (int i = 0; i < 256; ++i)
        sumAll += i * static_cast<double>(counts[static_cast<std::size_t>(i)]);
    double weightBelow = 0;
    double sumBelow = 0;
    double bestVariance = -1;
    int threshold = 128;
    for (int t = 0; t < 256; ++t) {
        weightBelow += counts[static_cast<std::size_t>(t)];
        if (weightBelow == 0)
            continue;
        const double weightAbove = total - weightBelow;
        if (weightAbove == 0)
            break;
        sumBelow += t * static_cast<double>(counts[static_cast<std::size_t>(t)]);
        const double meanBelow = sumBelow / weightBelow;
        const double meanAbove = (sumAll - sumBelow) / weightAbove;
        const double variance = weightBelow * weightAbove * (meanBelow - meanAbove) * (meanBelow - meanAbove);
        if (variance > bestVariance) {
            bestVariance = variance;
            threshold = t;
        }
    }
    return threshold + 1;  // ink is below
}

std::vector<InkShape> inkShapes(const QImage& gray, int threshold) {
    std::vector<InkShape> shapes;
    if (gray.isNull())
        return shapes;
    std::vector<Run> runs;
    std::vector<std::size_t> rowStart(static_cast<std::size_t>(gray.height()) + 1, 0);
    const int width = gray.width();
    for (int y = 0; y < gray.height(); ++y) {
        rowStart[static_cast<std::size_t>(y)] = runs.size();
        const uchar* line = gray.constScanLine(y);
        int x = 0;
        while (x < width) {
            if (line[x] < threshold) {
                const int start = x;
                while (x < width && line[x] < threshold)
                    ++x;
                runs.push_back({y, start, x - 1});
            } else {
                ++x;
            }
        }
    }
    rowStart[static_cast<std::size_t>(gray.height())] = runs.size();
    if (runs.empty())
        return shapes;

    std::vector<int> parent(runs.size());
    std::iota(parent.begin(), parent.end(), 0);
    for (int y = 1; y < gray.height(); ++y) {
        std::size_t above = rowStart[static_cast<std::size_t>(y - 1)];
        const std::size_t aboveEnd = rowStart[static_cast<std::size_t>(y)];
        for (std::size_t i = rowStart[static_cast<std::size_t>(y)]; i < rowStart[static_cast<std::size_t>(y) + 1]; ++i) {
            // Eight-connected: runs touching diagonally belong together.
            while (above < aboveEnd && runs[above].x1 < runs[i].x0 - 1)
                ++above;
            for (std::size_t j = above; j < aboveEnd && runs[j].x0 <= runs[i].x1 + 1; ++j) {
                const int a = findRoot(parent, static_cast<int>(i));
                const int b = findRoot(parent, static_cast<int>(j));
                if (a != b)
                    parent[static_cast<std::size_t>(std::max(a, b))] = std::min(a, b);
            }
        }
    }

    struct Extent {
        int top = 1 << 30, bottom = -1, left = 1 << 30, right = -1;
        long ink = 0;
    };
    std::vector<Extent> extents(runs.size());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        Extent& e = extents[static_cast<std::size_t>(findRoot(parent, static_cast<int>(i)))];
        e.top = std::min(e.top, runs[i].y);
        e.bottom = std::max(e.bottom, runs[i].y);
        e.left = std::min(e.left, runs[i].x0);
        e.right = std::max(e.right, runs[i].x1);
        e.ink += runs[i].x1 - runs[i].x0 + 1;
    }
    for (std::size_t i = 0; i < extents.size(); ++i) {
        if (parent[i] != static_cast<int>(i))
            continue;
        const Extent& e = extents[i];
        shapes.push_back({QRect(e.left, e.top, e.right - e.left + 1, e.bottom - e.top + 1), e.ink});
    }
    return shapes;
}

bool looksLikeGlyph(const InkShape& shape, int pictureHeight) {
    const int h = shape.box.height();
    const int w = shape.box.width();
    // Dots, rules, frames and filled areas are no glyphs.
    if (h < 4 || h > pictureHeight / 2 || w > 3 * h || h > 12 * w)
        return false;
    return !(static_cast<double>(shape.ink) > 0.9 * w * h && w > 2);
}

std::optional<double> medianGlyphHeight(const std::vector<InkShape>& shapes, int pictureHeight) {
    std::vector<double> heights;
    for (const InkShape& shape : shapes) {
        if (looksLikeGlyph(shape, pictureHeight))
            heights.push_back(shape.box.height());
    }
    if (heights.size() < 3)
        return std::nullopt;
    const auto middle = heights.begin() + static_cast<std::ptrdiff_t>(heights.size() / 2);
    std::nth_element(heights.begin(), middle, heights.end());
    return *middle;
}

std::optional<double> medianGlyphHeight(const QImage& gray) {
    if (gray.isNull())
        return std::nullopt;
    return medianGlyphHeight(inkShapes(gray, inkThreshold(gray)), gray.height());
}

double scaleForGlyphHeight(std::optional<double> glyphHeight) {
    if (!glyphHeight || *glyphHeight <= 0)
        return 1.0;
    if (*glyphHeight > tallestGlyph)
        return tallestGlyph / *glyphHeight;
    const double scale = targetGlyphHeight / *glyphHeight;
    if (scale < smallestUpscale)
        return 1.0;
    return std::min(scale, largestScale);
}

int invertDarkPanels(QImage& gray, const std::vector<InkShape>& shapes, std::optional<double> glyph) {
    // A panel is one connected dark shape: its text is holes in it. Only big, mostly
    // solid shapes count; glyphs, rules and frames are far from either. A button or a
    // badge is not much taller than its text, whatever the size of the screen.
    const int smallestSide = smallestPanelSide(gray, glyph);
    const int threshold = inkThreshold(gray);
    int inverted = 0;
    for (const InkShape& shape : shapes) {
        const QRect& box = shape.box;
        if (!isPanelShape(gray, shape, smallestSide))
            continue;
        // A panel holds text: light strokes across it. A large bold letter is solid too,
        // but has at most a few counters.
        const int light = lightRunsAcross(gray, box, threshold);
        if (light < 2 || (light < 4 && !hasSolidBands(gray, box, threshold)))
            continue;
        // Inverted, the panel's ground is a light gray; stretched to white, it reads like
        // the rest of the page, where a gray ground would fall below the page's
        // ink threshold.
        const int ground = std::max(1, 255 - commonLevel(gray, box));
        // Only the panel itself turns: the page's ground in the corners beside a rounded
        // edge would turn dark and read as specks of ink.
        for (int y = box.top(); y <= box.bottom(); ++y) {
            uchar* line = gray.scanLine(y);
            const auto [first, last] = spanWithin(line, box, threshold);
            for (int x = first; x <= last; ++x)
                line[x] = static_cast<uchar>(std::min(255, (255 - line[x]) * 255 / ground));
            // The panel's own anti-aliased edge turns gray, a ring that reads as brackets:
            // it goes white. Text keeps clear of a panel's edge; what is as dark as a
            // stroke stays.
            const bool edgeRow = y - box.top() < rimWidth || box.bottom() - y < rimWidth;
            for (int x = first; x <= last; ++x) {
                const bool edge = edgeRow || x - first < rimWidth || last - x < rimWidth;
                if (edge && line[x] >= strokeLevel)
                    line[x] = 255;
            }
            // The corners' anti-aliased ramp goes white with the page's ground.
            std::fill(line + box.left(), line + first, uchar{255});
            std::fill(line + last + 1, line + box.right() + 1, uchar{255});
        }
        clearRim(gray, box, threshold);
        ++inverted;
    }
    return inverted;
}

int whitenGrayPanels(QImage& gray, std::optional<double> glyph) {
    // A gray panel and the dark text on it are one shape below the limit; the white page
    // around it is not.
    const std::vector<InkShape> shapes = inkShapes(gray, panelGroundLimit);
    const int smallestSide = smallestPanelSide(gray, glyph);
    int whitened = 0;
    for (const InkShape& shape : shapes) {
        const QRect& box = shape.box;
        if (!isPanelShape(gray, shape, smallestSide))
            continue;
        const int ground = commonLevel(gray, box);
        // It holds text clearly darker than its ground: runs of ink across it. A gray
        // that the page's threshold takes for ink counts too (a blue button, inverted
        // with a dark page, is a mid gray with black text).
        if (ground < darkestPanelGround || ground >= panelGroundLimit ||
            inkRunsAcross(gray, box, ground * 6 / 10) < 4)
            continue;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            uchar* line = gray.scanLine(y);
            const auto [first, last] = spanWithin(line, box, panelGroundLimit);
            for (int x = first; x <= last; ++x)
                line[x] = static_cast<uchar>(std::min(255, line[x] * 255 / ground));
        }
        ++whitened;
    }
    return whitened;
}

PreparedPage preparePage(const QImage& picture, bool upscale) {
    PreparedPage page;
    QImage gray = grayPicture(picture);
    if (gray.isNull())
        return page;
    if (hasUnevenGround(gray)) {
        invertFlatPanels(gray);
        const QImage uneven = gray;
        gray = flattenedGround(uneven, strokeReach);
        // Large text's bold stems outgrow the usual reach and stay in its ground: with
        // the text's size measured, they are taken out again.
        const std::optional<double> glyph = medianGlyphHeight(gray);
        if (glyph && *glyph * strokeReachPerGlyph > strokeReach + 1)
            gray = flattenedGround(uneven, static_cast<int>(std::lround(*glyph * strokeReachPerGlyph)));
    } else {
        page.inverted = isLightOnDark(gray);
        if (page.inverted)
            gray.invertPixels();
    }
    // The ground stretched to white: a strip's margin is white, and a gray ground inside a
    // white frame reads to the page layout as a picture, whose text it skips.
    whitenGround(gray);
    // One labelling serves both: the panels' own text is no shape before they turn, and
    // the page's glyphs tell the size of theirs.
    const std::vector<InkShape> shapes = inkShapes(gray, inkThreshold(gray));
    page.glyphHeight = medianGlyphHeight(shapes, gray.height());
    invertDarkPanels(gray, shapes, page.glyphHeight);
    whitenGrayPanels(gray, page.glyphHeight);
    page.pictures = solidShapes(gray, page.glyphHeight);
    eraseUnderlines(gray, page.glyphHeight);
    double scale = scaleForGlyphHeight(page.glyphHeight);
    if (!upscale)
        scale = std::min(scale, 1.0);
    const double pixels = static_cast<double>(gray.width()) * gray.height();
    if (pixels * scale * scale > largestPreparedPixels)
        scale = std::sqrt(largestPreparedPixels / pixels);
    page.scale = std::abs(scale - 1.0) > 0.01 ? scale : 1.0;
    page.image = std::move(gray);
    return page;
}

namespace {

// Centres of the runs of rows with no pixel darker than `threshold`: cutting there keeps
// every glyph whole.
std::vector<int> blankRunCentres(const QImage& gray, int threshold) {
    std::vector<bool> blank(static_cast<std::size_t>(gray.height()));
    for (int y = 0; y < gray.height(); ++y) {
        const uchar* line = gray.constScanLine(y);
        blank[static_cast<std::size_t>(y)] =
            std::none_of(line, line + gray.width(), [&](uchar v) { return v < threshold; });
    }
    // Runs of rows with ink, as [top, bottom).
    std::vector<std::pair<int, int>> inked;
    for (int y = 0; y < gray.height();) {
        if (blank[static_cast<std::size_t>(y)]) {
            ++y;
            continue;
        }
        const int start = y;
        while (y < gray.height() && !blank[static_cast<std::size_t>(y)])
            ++y;
        inked.emplace_back(start, y);
    }
    std::vector<int> heights;
    for (const auto& [top, bottom] : inked)
        heights.push_back(bottom - top);
    std::nth_element(heights.begin(), heights.begin() + static_cast<std::ptrdiff_t>(heights.size() / 2),
                     heights.end());
    const int lineHeight = heights.empty() ? 0 : heights[heights.size() / 2];
    // Centres of blank runs: cutting there keeps every glyph whole. A run of thin ink
    // alone, such as the umlaut dots over a line's capitals or an underline, stays with
    // the nearer of its neighbours: cut off, "Ä" reads "A".
    const auto gapAbove = [&](std::size_t i) { return inked[i].first - inked[i - 1].second; };
    std::vector<bool> joined(inked.size(), false);  // to the run above
    for (std::size_t i = 0; i < inked.size(); ++i) {
        if ((inked[i].second - inked[i].first) * 4 > lineHeight)
            continue;
        const bool hasAbove = i > 0;
        const bool hasBelow = i + 1 < inked.size();
        if (hasAbove && (!hasBelow || gapAbove(i) < gapAbove(i + 1)))
            joined[i] = true;
        else if (hasBelow)
            joined[i + 1] = true;
    }
    std::vector<int> centres;
    for (std::size_t i = 1; i < inked.size(); ++i) {
        if (!joined[i])
            centres.push_back((inked[i - 1].second + inked[i].first) / 2);
    }
    return centres;
}

}  // namespace

std::vector<int> bandCuts(const QImage& gray, int parts) {
    std::vector<int> cuts;
    if (parts < 2 || gray.isNull())
        return cuts;
    const int threshold = inkThreshold(gray);
    // Faint text (a grey comment among black code) lies above the page's threshold, and
    // a cut through it halves its letters: rows of clean ground are taken first. A
    // ground that is nowhere clean (a gradient, a shadow) is cut between its dark ink.
    const std::vector<int> clean = blankRunCentres(gray, (threshold + 255) / 2);
    const std::vector<int> centres = blankRunCentres(gray, threshold);
    const double step = static_cast<double>(gray.height()) / parts;
    for (int k = 1; k < parts; ++k) {
        const double wanted = k * step;
        int best = -1;
        for (const std::vector<int>* candidates : {&clean, &centres}) {
            double bestDistance = step / 2;
            for (const int c : *candidates) {
                const double d = std::abs(c - wanted);
                if (d < bestDistance && (cuts.empty() || c > cuts.back())) {
                    bestDistance = d;
                    best = c;
                }
            }
            if (best >= 0)
                break;
        }
        if (best >= 0)
            cuts.push_back(best);
    }
    return cuts;
}

}  // namespace Platform::Recognition
