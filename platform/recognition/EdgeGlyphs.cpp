#include "platform/recognition/EdgeGlyphs.h"

#include "platform/recognition/MonospaceSpacing.h"

#include <algorithm>
#include <cmath>

namespace Platform::Recognition {
namespace {

// A glyph cut by the edge has its ink up to the last column or so.
constexpr double edgeReach = 1.5;
// A line's own cell differs from the page's by rounding only.
constexpr double cellAgreement = 0.05;
// Neighbouring glyphs of a fixed-width line are a whole number of cells apart, give or
// take this share of a cell, most of them.
constexpr double closeFit = 0.2;
constexpr double closeShare = 0.75;
constexpr std::size_t fewestPairs = 6;
// A glyph's ink starts up to this far into its cell, or a little before it.
constexpr double inkIntoCell = 0.25;

double centre(const QRectF& box) { return box.left() + box.width() / 2.0; }

double median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The line's glyph boxes left to right; nothing when they are out of order or empty.
std::vector<QRectF> glyphBoxes(const LineWords& line) {
    std::vector<QRectF> boxes;
    for (const WordBox& word : line.words) {
        if (word.glyphs.empty())
            return {};
        for (const GlyphBox& glyph : word.glyphs) {
            if (!(glyph.box.width() > 0) || (!boxes.empty() && !(centre(glyph.box) > centre(boxes.back()))))
                return {};
            boxes.push_back(glyph.box);
        }
    }
    return boxes;
}

struct Grid {
    // The middle of cell 0, the first glyph's.
    double origin = 0;
    double cell = 0;
};

// The cells the boxes stand on, about `cell` wide, fitted to the boxes' middles so that
// it holds at the line's end too; the last box, which may be cut, is left out.
std::optional<Grid> gridOf(const std::vector<QRectF>& boxes, double cell) {
    if (boxes.size() < fewestPairs + 2)
        return std::nullopt;
    std::size_t close = 0;
    double column = 0;
    // Sums for a least-squares line of middles over columns.
    double n = 1, sumK = 0, sumX = centre(boxes.front()), sumKK = 0, sumKX = 0;
    for (std::size_t i = 1; i + 1 < boxes.size(); ++i) {
        const double d = centre(boxes[i]) - centre(boxes[i - 1]);
        const double k = std::round(d / cell);
        column += std::max(1.0, k);
        if (k < 1 || std::abs(d - k * cell) > closeFit * cell)
            continue;
        ++close;
        const double x = centre(boxes[i]);
        n += 1;
        sumK += column;
        sumX += x;
        sumKK += column * column;
        sumKX += column * x;
    }
    if (static_cast<double>(close) < closeShare * static_cast<double>(boxes.size() - 2))
        return std::nullopt;
    const double spread = n * sumKK - sumK * sumK;
    if (!(spread > 0))
        return std::nullopt;
    const double width = (n * sumKX - sumK * sumX) / spread;
    if (std::abs(width - cell) > cellAgreement * cell)
        return std::nullopt;
    return Grid{(sumX - width * sumK) / n, width};
}

}  // namespace

void dropEdgeGlyphs(std::vector<LineWords>& lines, int width, const std::vector<InkShape>& shapes) {
    const auto atEdge = [&](const LineWords& line) {
        return !line.words.empty() && !line.words.back().glyphs.empty() &&
               line.words.back().glyphs.back().box.right() >= width - edgeReach;
    };
    if (std::none_of(lines.begin(), lines.end(), atEdge))
        return;
    // The page's cell, from the lines whose slim letters prove a fixed-width font.
    std::vector<double> proven;
    for (const LineWords& line : lines)
        if (const std::optional<double> cell = fixedCellWidth(line, shapes))
            proven.push_back(*cell);
    if (proven.empty())
        return;
    const double pageCell = median(proven);
    bool emptied = false;
    for (LineWords& line : lines) {
        if (!atEdge(line))
            continue;
        const std::optional<Grid> grid = gridOf(glyphBoxes(line), pageCell);
        if (!grid)
            continue;
        // Trailing glyphs are dropped while their cells' middles lie past the edge.
        while (!line.words.empty()) {
            WordBox& word = line.words.back();
            const GlyphBox& last = word.glyphs.back();
            const double column = std::lround((last.box.left() - grid->origin) / grid->cell + inkIntoCell);
            const double middle = grid->origin + column * grid->cell;
            if (middle < width || !word.text.endsWith(last.text))
                break;
            word.text.chop(last.text.size());
            word.glyphs.pop_back();
            if (word.glyphs.empty() || word.text.isEmpty()) {
                line.words.pop_back();
                continue;
            }
            word.box.setRight(word.glyphs.back().box.right());
        }
        emptied = emptied || line.words.empty();
    }
    if (emptied)
        std::erase_if(lines, [](const LineWords& line) { return line.words.empty(); });
}

}  // namespace Platform::Recognition
