#include "platform/recognition/MonospaceGaps.h"

#include "platform/recognition/MonospaceSpacing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

namespace Platform::Recognition {
namespace {

// Glyphs of a fixed-width font stand within a seventh of a cell of their cells' middles
// (brackets and "r" lean further); a proportional font's fall anywhere.
constexpr double onCell = 0.15;
constexpr double onGridShare = 0.85;
// A space leaves at least a cell of blank, less a pixel of a neighbour's soft edge;
// neighbouring glyphs leave less, unless both are as narrow as a period.
constexpr double spaceBlank = 0.75;
// Touching glyphs are one piece of ink wider than a cell.
constexpr double widestGlyph = 1.15;
// A line proves its grid by its ink only when long and mostly letters: figures are set
// in equal cells in most proportional fonts too.
constexpr std::size_t fewestGlyphs = 16;
constexpr double leastLetterShare = 0.5;

// The columns of the line's rows in [left, right] that hold ink.
std::vector<bool> inkedColumns(const QImage& gray, int threshold, const QRectF& line, int left, int right) {
    left = std::max(0, left);
    right = std::min(gray.width() - 1, right);
    std::vector<bool> inked(static_cast<std::size_t>(std::max(0, right - left + 1)), false);
    const int y0 = std::max(0, static_cast<int>(std::floor(line.top())));
    const int y1 = std::min(gray.height() - 1, static_cast<int>(std::ceil(line.bottom())));
    for (int y = y0; y <= y1; ++y) {
        const uchar* row = gray.constScanLine(y);
        for (int x = left; x <= right; ++x)
            if (row[x] < threshold)
                inked[static_cast<std::size_t>(x - left)] = true;
    }
    return inked;
}

// The middles of the line's runs of inked columns: a glyph each, the pieces of "i" or
// ":" together; `wide` counts the runs wider than `widest`, where glyphs touch, which
// are left out.
std::vector<double> glyphMiddles(const QImage& gray, int threshold, const LineWords& line, double widest,
                                 std::size_t* wide = nullptr) {
    const int left = static_cast<int>(std::floor(line.box.left()));
    const std::vector<bool> inked =
        inkedColumns(gray, threshold, line.box, left, static_cast<int>(std::ceil(line.box.right())));
    std::vector<double> middles;
    std::size_t x = 0;
    while (x < inked.size()) {
        if (!inked[x]) {
            ++x;
            continue;
        }
        const std::size_t start = x;
        while (x < inked.size() && inked[x])
            ++x;
        const double width = static_cast<double>(x - start);
        if (width <= widest)
            middles.push_back(left + static_cast<double>(start) + width / 2.0);
        else if (wide)
            ++*wide;
    }
    return middles;
}

// The cell the line's ink is set on, from the distances of neighbouring glyphs: most
// are a single cell, the rest whole cells across spaces.
std::optional<double> inkCell(const std::vector<double>& middles) {
    if (middles.size() < fewestGlyphs)
        return std::nullopt;
    std::vector<double> steps;
    for (std::size_t i = 1; i < middles.size(); ++i)
        steps.push_back(middles[i] - middles[i - 1]);
    std::vector<double> sorted = steps;
    const auto middle = sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2);
    std::nth_element(sorted.begin(), middle, sorted.end());
    const double first = *middle;
    if (!(first > 0))
        return std::nullopt;
    double sum = 0, cells = 0;
    for (const double d : steps) {
        const double k = std::round(d / first);
        if (k >= 1 && std::abs(d - k * first) <= onCell * first) {
            sum += d;
            cells += k;
        }
    }
    return cells > 0 ? std::optional<double>(sum / cells) : std::nullopt;
}

// Whether the ink's middles stand on one grid of `cell`: most of them near a cell's
// middle, measured around the circle of one cell, and most neighbours a whole number of
// cells apart, since a proportional line comes near a grid here and there, never all along.
bool onGrid(const std::vector<double>& middles, double cell) {
    if (middles.size() < fewestGlyphs)
        return false;
    double sx = 0, sy = 0;
    for (const double m : middles) {
        const double angle = 2 * std::numbers::pi * m / cell;
        sx += std::cos(angle);
        sy += std::sin(angle);
    }
    const double phase = std::atan2(sy, sx) / (2 * std::numbers::pi) * cell;
    std::size_t near = 0, whole = 0;
    for (std::size_t i = 0; i < middles.size(); ++i) {
        const double off = (middles[i] - phase) / cell;
        near += std::abs(off - std::round(off)) <= onCell ? 1 : 0;
        if (i == 0)
            continue;
        const double steps = (middles[i] - middles[i - 1]) / cell;
        whole += steps >= 0.5 && std::abs(steps - std::round(steps)) <= onCell ? 1 : 0;
    }
    const double share = onGridShare * static_cast<double>(middles.size());
    return static_cast<double>(near) >= share && static_cast<double>(whole) >= share - onGridShare;
}

// Whether the box starts and ends on its own ink, within half a cell: a box set off its
// glyphs says nothing of the gap beside it.
bool onItsInk(const QImage& gray, int threshold, const QRectF& line, const QRectF& box, double cell) {
    const std::vector<bool> inked =
        inkedColumns(gray, threshold, line, static_cast<int>(std::floor(box.left())), static_cast<int>(std::ceil(box.right())));
    const auto first = std::find(inked.begin(), inked.end(), true);
    if (first == inked.end())
        return false;
    const auto last = std::find(inked.rbegin(), inked.rend(), true);
    const double before = static_cast<double>(first - inked.begin());
    const double after = static_cast<double>(last - inked.rbegin());
    return before <= 0.5 * cell && after <= 0.5 * cell;
}

// The widest run of blank columns between the first and the last ink of [left, right];
// endless where there is no ink.
double widestBlank(const QImage& gray, int threshold, const QRectF& line, double left, double right) {
    const std::vector<bool> inked = inkedColumns(gray, threshold, line, static_cast<int>(std::floor(left)),
                                                 static_cast<int>(std::ceil(right)));
    const auto first = std::find(inked.begin(), inked.end(), true);
    const auto last = std::find(inked.rbegin(), inked.rend(), true);
    if (first == inked.end())
        return std::numeric_limits<double>::infinity();
    std::size_t widest = 0, run = 0;
    for (auto x = first; x != last.base(); ++x) {
        run = *x ? 0 : run + 1;
        widest = std::max(widest, run);
    }
    return static_cast<double>(widest);
}

// The cell of a line that its ink alone proves fixed-width: many glyphs, mostly letters,
// on one grid, and as many cells from its first ink to its last as it has characters.
std::optional<double> ownInkCell(const QImage& gray, int threshold, const LineWords& line) {
    qsizetype characters = 0, letters = 0;
    for (const WordBox& word : line.words)
        for (const QChar c : word.text) {
            characters += c.isSpace() ? 0 : 1;
            letters += c.isLetter() ? 1 : 0;
        }
    if (static_cast<double>(letters) < leastLetterShare * static_cast<double>(characters))
        return std::nullopt;
    // Glyphs are never wider than a line is high.
    const std::vector<double> rough = glyphMiddles(gray, threshold, line, line.box.height());
    const std::optional<double> cell = inkCell(rough);
    if (!cell)
        return std::nullopt;
    std::size_t wide = 0;
    const std::vector<double> middles = glyphMiddles(gray, threshold, line, widestGlyph * *cell, &wide);
    if (wide > middles.size() / 8 || !onGrid(middles, *cell))
        return std::nullopt;
    // A cell of two glyphs would have the line hold half as many cells as characters.
    const double span = (middles.back() - middles.front()) / *cell + 1;
    if (span < 0.9 * static_cast<double>(characters))
        return std::nullopt;
    return cell;
}

}  // namespace

void joinNarrowMonospaceGaps(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                             const std::vector<InkShape>& shapes) {
    for (LineWords& line : lines) {
        // A line its glyphs prove is spaced by its cells already.
        if (line.words.size() < 2 || fixedCellWidth(line, shapes))
            continue;
        const std::optional<double> cell = ownInkCell(gray, threshold, line);
        if (!cell)
            continue;
        std::vector<WordBox> words{line.words.front()};
        for (std::size_t w = 1; w < line.words.size(); ++w) {
            WordBox& last = words.back();
            const WordBox& next = line.words[w];
            const bool anchored = onItsInk(gray, threshold, line.box, last.box, *cell) &&
                                  onItsInk(gray, threshold, line.box, next.box, *cell);
            if (!anchored ||
                widestBlank(gray, threshold, line.box, last.box.left(), next.box.right()) >= spaceBlank * *cell) {
                words.push_back(next);
                continue;
            }
            last.text += next.text;
            last.box = last.box.united(next.box);
            last.confidence = std::min(last.confidence, next.confidence);
            last.glyphs.insert(last.glyphs.end(), next.glyphs.begin(), next.glyphs.end());
        }
        line.words = std::move(words);
    }
}

}  // namespace Platform::Recognition
