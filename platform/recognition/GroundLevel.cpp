#include "platform/recognition/GroundLevel.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace Platform::Recognition {
namespace {

// A gray picture as one run of bytes, a row after another.
struct Plane {
    std::vector<uchar> levels;
    int width = 0;
    int height = 0;
    const uchar* row(int y) const { return levels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width); }
    uchar* row(int y) { return levels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width); }
};

// The least (or greatest) value of each window of 2 × radius + 1 values along one
// axis; beyond the ends the window holds only what lies inside. Van Herk's blocks:
// three comparisons a value, whatever the radius. A "value" is a run of `lanes` bytes
// filtered alike: one byte along a row, a whole row down the columns, where the
// compiler does a row's bytes at once.
struct Buffers {
    std::vector<uchar> padded;
    std::vector<uchar> forward;
    std::vector<uchar> backward;
};

template <typename Pick>
void extremeAlong(uchar* values, int count, std::size_t lanes, int radius, uchar neutral, Pick pick,
                  Buffers& buffers) {
    const int window = 2 * radius + 1;
    const int total = count + 2 * radius;
    const std::size_t size = static_cast<std::size_t>(total) * lanes;
    // Padding with a value that never wins keeps every window whole.
    buffers.padded.assign(size, neutral);
    std::copy_n(values, static_cast<std::size_t>(count) * lanes,
                buffers.padded.begin() + radius * static_cast<std::ptrdiff_t>(lanes));
    buffers.forward.resize(size);
    buffers.backward.resize(size);
    const uchar* in = buffers.padded.data();
    uchar* forward = buffers.forward.data();
    uchar* backward = buffers.backward.data();
    const auto combine = [&](uchar* __restrict out, const uchar* __restrict a, const uchar* __restrict b) {
        // Blocks of a fixed width, which the compiler does in one go.
        constexpr std::size_t block = 16;
        std::size_t lane = 0;
        for (; lane + block <= lanes; lane += block)
            for (std::size_t i = 0; i < block; ++i)
                out[lane + i] = pick(a[lane + i], b[lane + i]);
        for (; lane < lanes; ++lane)
            out[lane] = pick(a[lane], b[lane]);
    };
    for (int start = 0; start < total; start += window) {
        const int end = std::min(total, start + window);
        std::copy_n(in + static_cast<std::size_t>(start) * lanes, lanes, forward + static_cast<std::size_t>(start) * lanes);
        for (int k = start + 1; k < end; ++k) {
            const std::size_t at = static_cast<std::size_t>(k) * lanes;
            combine(forward + at, forward + at - lanes, in + at);
        }
        std::copy_n(in + static_cast<std::size_t>(end - 1) * lanes, lanes,
                    backward + static_cast<std::size_t>(end - 1) * lanes);
        for (int k = end - 2; k >= start; --k) {
            const std::size_t at = static_cast<std::size_t>(k) * lanes;
            combine(backward + at, backward + at + lanes, in + at);
        }
    }
    const std::size_t reach = static_cast<std::size_t>(2 * radius) * lanes;
    for (int k = 0; k < count; ++k) {
        const std::size_t at = static_cast<std::size_t>(k) * lanes;
        combine(values + at, backward + at, forward + at + reach);
    }
}

const auto darker = [](uchar a, uchar b) { return std::min(a, b); };
const auto lighter = [](uchar a, uchar b) { return std::max(a, b); };

// Down the columns, a whole row at a time.
template <typename Pick>
void filterDown(Plane& plane, int radius, uchar neutral, Pick pick, Buffers& buffers) {
    extremeAlong(plane.levels.data(), plane.height, static_cast<std::size_t>(plane.width), radius, neutral, pick,
                 buffers);
}

// Rows become columns, so that a row's filter runs down them like a column's.
Plane transposed(const Plane& plane) {
    Plane turned{std::vector<uchar>(plane.levels.size()), plane.height, plane.width};
    constexpr int tile = 32;
    const std::size_t height = static_cast<std::size_t>(plane.height);
    for (int y0 = 0; y0 < plane.height; y0 += tile) {
        const int y1 = std::min(plane.height, y0 + tile);
        for (int x0 = 0; x0 < plane.width; x0 += tile) {
            const int x1 = std::min(plane.width, x0 + tile);
            for (int y = y0; y < y1; ++y) {
                const uchar* from = plane.row(y);
                uchar* to = turned.levels.data() + y;
                for (int x = x0; x < x1; ++x)
                    to[static_cast<std::size_t>(x) * height] = from[x];
            }
        }
    }
    return turned;
}

// One square filter: the darkest (or lightest) level within `radius`, down the columns
// and, turned, along the rows. It leaves the plane turned: an even run of them brings it
// back, with half the turns.
void filterSquare(Plane& plane, int radius, bool darkest, Buffers& buffers) {
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1)
            plane = transposed(plane);
        if (darkest)
            filterDown(plane, radius, 255, darker, buffers);
        else
            filterDown(plane, radius, 0, lighter, buffers);
    }
}

Plane filteredSquares(const Plane& original, int radius, std::initializer_list<bool> darkest, Buffers& buffers) {
    Plane ground = original;
    for (const bool dark : darkest)
        filterSquare(ground, radius, dark, buffers);
    return ground;
}

// Light strokes taken out first (an opening), then dark ones (a closing). Inside a
// block of dense dark text the ground between the letters is itself a light feature
// narrower than the square: this order leaves such a block at its text's level.
Plane lightTextGround(const Plane& original, int radius, Buffers& buffers) {
    return filteredSquares(original, radius, {true, false, false, true}, buffers);
}

// The other order: dark strokes first, which keeps the ground of dark text and turns a
// block of light text to its own level.
Plane closedThenOpened(const Plane& original, int radius, Buffers& buffers) {
    return filteredSquares(original, radius, {false, true, true, false}, buffers);
}

// Where the two orders part, one of them took the text for ground: a block at the
// text's level, which steps from the ground around it at the block's edge, where the
// true ground runs on smoothly. Each connected region where they differ takes the
// order with the smaller steps across its border. The region of a dark paragraph on a
// light gradient takes the second order's; a light heading over the gradient keeps the
// first's, however much of the heading its bold strokes fill.
void settleDarkText(const Plane& original, Plane& ground, const Plane& other) {
    constexpr int apart = 16;
    const int width = original.width;
    const std::size_t count = original.levels.size();
    std::vector<uchar> visited(count, 0);
    std::vector<int> region;
    std::vector<int> stack;
    for (std::size_t seed = 0; seed < count; ++seed) {
        if (visited[seed] || std::abs(ground.levels[seed] - other.levels[seed]) < apart)
            continue;
        region.clear();
        stack.assign(1, static_cast<int>(seed));
        visited[seed] = 1;
        long groundSteps = 0;
        long otherSteps = 0;
        while (!stack.empty()) {
            const int index = stack.back();
            stack.pop_back();
            region.push_back(index);
            const std::size_t at = static_cast<std::size_t>(index);
            const int y = index / width;
            const int x = index - y * width;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= width || ny >= original.height)
                        continue;
                    const std::size_t next = static_cast<std::size_t>(ny * width + nx);
                    if (std::abs(ground.levels[next] - other.levels[next]) < apart) {
                        groundSteps += std::abs(ground.levels[next] - ground.levels[at]);
                        otherSteps += std::abs(other.levels[next] - other.levels[at]);
                        continue;
                    }
                    if (visited[next])
                        continue;
                    visited[next] = 1;
                    stack.push_back(static_cast<int>(next));
                }
            }
        }
        if (otherSteps >= groundSteps)
            continue;
        for (const int index : region)
            ground.levels[static_cast<std::size_t>(index)] = other.levels[static_cast<std::size_t>(index)];
    }
}

// A panel is pixels within this many grays of one level, four-connected.
constexpr int panelTolerance = 3;
// It is mostly solid, and holds text: runs of other pixels across one of its rows.
constexpr double panelFill = 0.6;
constexpr int panelTextRuns = 4;

struct Panel {
    std::vector<int> pixels;  // indices y × width + x
    int level = 0;
    int left = 0, top = 0, right = -1, bottom = -1;
};

// The flat region grown from `seed` over unvisited pixels near its level.
Panel growPanel(const Plane& gray, int seed, std::vector<uchar>& visited, std::vector<int>& stack) {
    const int width = gray.width;
    const uchar* levels = gray.levels.data();
    Panel panel;
    panel.level = levels[seed];
    panel.left = panel.right = seed % width;
    panel.top = panel.bottom = seed / width;
    stack.assign(1, seed);
    visited[static_cast<std::size_t>(seed)] = 1;
    const auto visit = [&](int next) {
        if (visited[static_cast<std::size_t>(next)] || std::abs(levels[next] - panel.level) > panelTolerance)
            return;
        visited[static_cast<std::size_t>(next)] = 1;
        stack.push_back(next);
    };
    while (!stack.empty()) {
        const int index = stack.back();
        stack.pop_back();
        panel.pixels.push_back(index);
        const int y = index / width;
        const int x = index - y * width;
        panel.left = std::min(panel.left, x);
        panel.right = std::max(panel.right, x);
        panel.top = std::min(panel.top, y);
        panel.bottom = std::max(panel.bottom, y);
        if (x > 0)
            visit(index - 1);
        if (x + 1 < width)
            visit(index + 1);
        if (y > 0)
            visit(index - width);
        if (y + 1 < gray.height)
            visit(index + width);
    }
    return panel;
}

// Each row's first and last pixel of the panel.
std::vector<std::pair<int, int>> rowSpans(const Panel& panel, int width) {
    std::vector<std::pair<int, int>> spans(static_cast<std::size_t>(panel.bottom - panel.top + 1), {width, -1});
    for (const int index : panel.pixels) {
        const int y = index / width;
        auto& span = spans[static_cast<std::size_t>(y - panel.top)];
        span.first = std::min(span.first, index - y * width);
        span.second = std::max(span.second, index - y * width);
    }
    return spans;
}

// Beside a panel, past its rim, the ground differs from it by at least this much: a
// band of one gray within a gradient is no panel.
constexpr int panelContrast = 20;

int median(std::vector<int>& values) {
    if (values.empty())
        return 0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// Both ends of the panel's rows, a few pixels out, differ from it.
bool hasSharpEdge(const Plane& gray, const Panel& panel, const std::vector<std::pair<int, int>>& spans) {
    constexpr int reach = 3;
    std::vector<int> left;
    std::vector<int> right;
    for (std::size_t row = 0; row < spans.size(); ++row) {
        const uchar* line = gray.row(panel.top + static_cast<int>(row));
        if (spans[row].first - reach >= 0)
            left.push_back(std::abs(line[spans[row].first - reach] - panel.level));
        if (spans[row].second + reach < gray.width)
            right.push_back(std::abs(line[spans[row].second + reach] - panel.level));
    }
    return median(left) >= panelContrast && median(right) >= panelContrast;
}

// How far a panel's anti-aliased edge reaches, in pixels.
constexpr int rimWidth = 2;

// The panel's level is the ground across its rows. Its anti-aliased rim, a blend of the
// panel and what lies around it, is its own ground: a ring of ink around a button reads
// as brackets. Text keeps clear of a button's edge.
void fillPanel(const Plane& gray, Plane& ground, const Panel& panel, const std::vector<std::pair<int, int>>& spans) {
    const int rows = static_cast<int>(spans.size());
    for (int y = std::max(0, panel.top - rimWidth); y <= std::min(gray.height - 1, panel.bottom + rimWidth); ++y) {
        int lo = gray.width;
        int hi = -1;
        for (int near = std::max(y - rimWidth, panel.top); near <= std::min(y + rimWidth, panel.bottom); ++near) {
            lo = std::min(lo, spans[static_cast<std::size_t>(near - panel.top)].first);
            hi = std::max(hi, spans[static_cast<std::size_t>(near - panel.top)].second);
        }
        const uchar* in = gray.row(y);
        uchar* line = ground.row(y);
        const int row = y - panel.top;
        const auto [first, last] = row >= 0 && row < rows ? spans[static_cast<std::size_t>(row)] : std::pair{1, 0};
        for (int x = std::max(0, lo - rimWidth); x <= std::min(gray.width - 1, hi + rimWidth); ++x)
            line[x] = x >= first && x <= last ? static_cast<uchar>(panel.level) : in[x];
    }
}

// The most runs of other pixels between a panel's pixels along any of its rows.
int textRunsAcross(const Panel& panel, const std::vector<std::pair<int, int>>& spans, std::vector<bool>& inPanel,
                   int width) {
    for (const int index : panel.pixels)
        inPanel[static_cast<std::size_t>(index)] = true;
    int most = 0;
    for (std::size_t row = 0; row < spans.size(); ++row) {
        const std::size_t base = static_cast<std::size_t>(panel.top + static_cast<int>(row)) * static_cast<std::size_t>(width);
        int runs = 0;
        for (int x = spans[row].first + 1; x <= spans[row].second; ++x)
            runs += !inPanel[base + static_cast<std::size_t>(x)] && inPanel[base + static_cast<std::size_t>(x) - 1];
        most = std::max(most, runs);
    }
    for (const int index : panel.pixels)
        inPanel[static_cast<std::size_t>(index)] = false;
    return most;
}

// A button on the gradient (dark text on a white pill) is no stroke: its own level is
// its text's ground, where the filters above would let the text's ink eat it.
void keepFlatPanels(const Plane& gray, Plane& ground, int smallestSide) {
    // Only where the filters took a pixel for a stroke can a panel have been lost:
    // a button's ground, or text. The rest is ground already.
    const double area = static_cast<double>(gray.width) * gray.height;
    std::vector<uchar> visited(gray.levels.size(), 0);
    std::vector<bool> inPanel(gray.levels.size(), false);
    std::vector<int> stack;
    for (int seed = 0; seed < static_cast<int>(visited.size()); ++seed) {
        if (visited[static_cast<std::size_t>(seed)] ||
            std::abs(gray.levels[static_cast<std::size_t>(seed)] - ground.levels[static_cast<std::size_t>(seed)]) <
                panelContrast)
            continue;
        const Panel panel = growPanel(gray, seed, visited, stack);
        const int w = panel.right - panel.left + 1;
        const int h = panel.bottom - panel.top + 1;
        if (w < smallestSide || h < smallestSide || static_cast<double>(panel.pixels.size()) < panelFill * w * h ||
            w * static_cast<double>(h) > 0.9 * area)
            continue;
        const auto spans = rowSpans(panel, gray.width);
        if (textRunsAcross(panel, spans, inPanel, gray.width) >= panelTextRuns && hasSharpEdge(gray, panel, spans))
            fillPanel(gray, ground, panel, spans);
    }
}

}  // namespace

QImage groundLevel(const QImage& gray, int radius) {
    if (gray.isNull() || radius < 1)
        return gray.copy();
    Plane original{{}, gray.width(), gray.height()};
    original.levels.resize(static_cast<std::size_t>(original.width) * static_cast<std::size_t>(original.height));
    for (int y = 0; y < original.height; ++y)
        std::copy_n(gray.constScanLine(y), original.width, original.row(y));
    Buffers buffers;
    Plane ground = lightTextGround(original, radius, buffers);
    settleDarkText(original, ground, closedThenOpened(original, radius, buffers));
    keepFlatPanels(original, ground, 2 * radius + 1);
    QImage result(ground.width, ground.height, QImage::Format_Grayscale8);
    for (int y = 0; y < ground.height; ++y)
        std::copy_n(ground.row(y), ground.width, result.scanLine(y));
    return result;
}

}  // namespace Platform::Recognition
