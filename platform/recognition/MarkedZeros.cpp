#include "platform/recognition/MarkedZeros.h"

#include "platform/recognition/GlyphInk.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace Platform::Recognition {
namespace {

// A glyph's box as ground (true) and ink, with a ground frame around it so that every
// way out of the glyph meets the frame.
struct Cells {
    int width = 0;
    int height = 0;
    std::vector<char> ground;
    bool at(int x, int y) const { return ground[static_cast<std::size_t>(y * width + x)] != 0; }
};

Cells cellsOf(const QImage& band, int threshold, const QRect& box) {
    Cells cells{box.width() + 2, box.height() + 2, {}};
    cells.ground.assign(static_cast<std::size_t>(cells.width * cells.height), 1);
    for (int y = 0; y < box.height(); ++y) {
        const uchar* line = band.constScanLine(box.top() + y) + box.left();
        for (int x = 0; x < box.width(); ++x)
            cells.ground[static_cast<std::size_t>((y + 1) * cells.width + x + 1)] = line[x] >= threshold ? 1 : 0;
    }
    return cells;
}

struct Hole {
    int top = 0;
    int bottom = 0;
    int cells = 0;
};

// The areas of ground the ink closes in, in the frame's rows. Ground runs on through
// sides, not corners: ink touching at a corner closes.
std::vector<Hole> holesOf(const Cells& cells) {
    std::vector<int> label(cells.ground.size(), -1);
    std::vector<Hole> spans;
    std::vector<bool> open;
    for (std::size_t start = 0; start < cells.ground.size(); ++start) {
        if (!cells.ground[start] || label[start] >= 0)
            continue;
        const int id = static_cast<int>(spans.size());
        spans.push_back({cells.height, -1, 0});
        open.push_back(false);
        std::vector<std::size_t> stack{start};
        label[start] = id;
        while (!stack.empty()) {
            const std::size_t at = stack.back();
            stack.pop_back();
            const int x = static_cast<int>(at) % cells.width;
            const int y = static_cast<int>(at) / cells.width;
            spans.back().top = std::min(spans.back().top, y);
            spans.back().bottom = std::max(spans.back().bottom, y);
            ++spans.back().cells;
            if (x == 0 || y == 0 || x == cells.width - 1 || y == cells.height - 1)
                open.back() = true;
            for (const auto& [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
                const int nx = x + dx;
                const int ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= cells.width || ny >= cells.height)
                    continue;
                const auto next = static_cast<std::size_t>(ny * cells.width + nx);
                if (cells.ground[next] && label[next] < 0) {
                    label[next] = id;
                    stack.push_back(next);
                }
            }
        }
    }
    std::vector<Hole> holes;
    for (std::size_t i = 0; i < spans.size(); ++i)
        if (!open[i])
            holes.push_back(spans[i]);
    return holes;
}

int inkWidth(const Cells& cells, int y) {
    int left = -1;
    int right = -1;
    for (int x = 1; x < cells.width - 1; ++x) {
        if (!cells.at(x, y)) {
            left = left < 0 ? x : left;
            right = x;
        }
    }
    return left < 0 ? 0 : right - left + 1;
}

// Widening row by row to its widest rows and narrowing after them: no waist.
bool widestInMiddle(const Cells& cells) {
    std::vector<int> widths;
    for (int y = 1; y < cells.height - 1; ++y)
        widths.push_back(inkWidth(cells, y));
    const auto widest = std::max_element(widths.begin(), widths.end());
    const auto lastWidest = std::find(widths.rbegin(), widths.rend(), *widest).base() - 1;
    return std::is_sorted(widths.begin(), std::next(widest)) &&
           std::all_of(widest, lastWidest, [&](int width) { return width == *widest; }) &&
           std::is_sorted(widths.rbegin(), std::make_reverse_iterator(lastWidest));
}

// A ring is round: between its two holes it is wider than anywhere beside them. An "8"
// narrows there, or at most keeps its bowls' width where it fills its waist.
bool roundBetween(const Cells& cells, const Hole& upper, const Hole& lower) {
    int beside = 0;
    for (const Hole* hole : {&upper, &lower})
        for (int y = hole->top; y <= hole->bottom; ++y)
            beside = std::max(beside, inkWidth(cells, y));
    for (int y = upper.bottom + 1; y < lower.top; ++y)
        if (inkWidth(cells, y) <= beside)
            return false;
    return true;
}

bool isMarkedZero(const QImage& band, int threshold, const QRect& box, bool eight) {
    if (box.height() < 6 || box.width() < 3 || !band.rect().contains(box))
        return false;
    const Cells cells = cellsOf(band, threshold, box);
    std::vector<Hole> holes = holesOf(cells);
    if (holes.size() != 2)
        return false;
    std::sort(holes.begin(), holes.end(), [](const Hole& a, const Hole& b) { return a.top < b.top; });
    const int middle = cells.height / 2;
    // A "6" whose hook runs into its bowl closes a sliver over it, not a second hole
    // like the first.
    const int smaller = std::min(holes[0].cells, holes[1].cells);
    const int larger = std::max(holes[0].cells, holes[1].cells);
    return holes[0].bottom < holes[1].top && holes[0].top < middle && holes[1].bottom > middle &&
           3 * smaller >= larger && widestInMiddle(cells) && (!eight || roundBetween(cells, holes[0], holes[1]));
}

}  // namespace

void restoreMarkedZeros(std::vector<LineWords>& lines, const QImage& band, int threshold,
                        const std::vector<InkShape>& shapes) {
    for (LineWords& line : lines) {
        for (WordBox& word : line.words) {
            if (!glyphsSpell(word))
                continue;
            for (std::size_t i = 0; i < word.glyphs.size(); ++i) {
                const auto at = static_cast<qsizetype>(i);
                // An "8" small in some fonts closes the same holes and fills its waist:
                // only a ring wider between its holes than beside them is a zero.
                const bool eight = word.text[at] == u'8';
                if (word.text[at] != u'6' && word.text[at] != u'9' && !eight)
                    continue;
                const std::optional<GlyphInk> ink = inkOf(word.glyphs[i], line.box, shapes);
                if (!ink)
                    continue;
                const QRect box(static_cast<int>(ink->left), static_cast<int>(ink->top), static_cast<int>(ink->width),
                                static_cast<int>(ink->bottom - ink->top));
                if (isMarkedZero(band, threshold, box, eight))
                    word.text[at] = u'0';
            }
        }
    }
}

}  // namespace Platform::Recognition
