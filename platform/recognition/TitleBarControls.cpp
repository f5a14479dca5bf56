#include "platform/recognition/TitleBarControls.h"

#include <algorithm>

namespace Platform::Recognition {
namespace {

// A button's icon is drawn about as high as the title's letters, up to twice as high.
constexpr double smallestIcon = 0.6;
constexpr double largestIcon = 2.0;
// A square, not a bar or a frame around a word.
constexpr double squarest = 0.75;
// Each side this much inked along its length.
constexpr double sideInk = 0.85;
// The buttons stand apart from the title before them.
constexpr double titleGap = 2.0;
constexpr qsizetype longestControl = 2;

bool inked(const QImage& gray, int threshold, int x, int y) { return gray.constScanLine(y)[x] < threshold; }

// The share of pixels in `area` that are ink.
double inkShare(const QImage& gray, int threshold, const QRect& area) {
    long ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += inked(gray, threshold, x, y) ? 1 : 0;
    return area.isEmpty() ? 0.0 : static_cast<double>(ink) / (static_cast<double>(area.width()) * area.height());
}

struct RowWord {
    LineWords* line;
    std::size_t at;
    QRectF box;
};

}  // namespace

bool isHollowSquare(const QImage& gray, int threshold, const QRect& box, double glyph) {
    const int shorter = std::min(box.width(), box.height());
    const int longer = std::max(box.width(), box.height());
    if (shorter < smallestIcon * glyph || longer > largestIcon * glyph || shorter < squarest * longer ||
        !gray.rect().contains(box))
        return false;
    // Each side's stroke: the outermost row or column with ink along most of the side.
    const int stroke = std::max(1, shorter / 5);
    const QRect top(box.left(), box.top(), box.width(), stroke);
    const QRect bottom(box.left(), box.bottom() - stroke + 1, box.width(), stroke);
    const QRect left(box.left(), box.top(), stroke, box.height());
    const QRect right(box.right() - stroke + 1, box.top(), stroke, box.height());
    for (const QRect& side : {top, bottom, left, right}) {
        // The best-inked line of the side's stroke.
        double best = 0;
        const bool across = side.width() > side.height();
        for (int k = 0; k < (across ? side.height() : side.width()); ++k) {
            const QRect line = across ? QRect(side.left(), side.top() + k, side.width(), 1)
                                      : QRect(side.left() + k, side.top(), 1, side.height());
            best = std::max(best, inkShare(gray, threshold, line));
        }
        if (best < sideInk)
            return false;
    }
    // Sharp corners: a round letter leaves them as ground.
    for (const QPoint corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
        if (inkShare(gray, threshold, QRect(corner, corner).adjusted(-1, -1, 1, 1) & box) < 0.5)
            return false;
    const QRect inside = box.adjusted(stroke + 1, stroke + 1, -stroke - 1, -stroke - 1);
    return !inside.isEmpty() && inkShare(gray, threshold, inside) == 0.0;
}

void dropTitleBarControls(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                          const std::vector<InkShape>& shapes, double glyph) {
    if (glyph <= 0)
        return;
    std::vector<std::pair<LineWords*, std::size_t>> dropped;
    for (const InkShape& shape : shapes) {
        if (!isHollowSquare(gray, threshold, shape.box, glyph))
            continue;
        const QRectF square(shape.box);
        // The row: every word beside the square on its rows.
        std::vector<RowWord> row;
        for (LineWords& line : lines)
            for (std::size_t at = 0; at < line.words.size(); ++at) {
                const QRectF& box = line.words[at].box;
                const double shared = std::min(box.bottom(), square.bottom()) - std::max(box.top(), square.top());
                if (shared >= 0.5 * std::min(box.height(), square.height()))
                    row.push_back({&line, at, box});
            }
        std::sort(row.begin(), row.end(), [](const RowWord& a, const RowWord& b) { return a.box.left() < b.box.left(); });
        const auto over = std::find_if(row.begin(), row.end(), [&](const RowWord& word) {
            return word.box.adjusted(-1, -1, 1, 1).contains(square.center());
        });
        if (over == row.end())
            continue;
        const auto isShort = [](const RowWord& word) {
            return word.line->words[word.at].text.trimmed().size() <= longestControl;
        };
        // Short words from the square to the row's end, and back to the first gap before them.
        if (!std::all_of(over, row.end(), isShort))
            continue;
        auto first = over;
        while (first != row.begin() && isShort(*(first - 1)))
            --first;
        if (first != row.begin() && first->box.left() - (first - 1)->box.right() < titleGap * glyph)
            continue;
        for (auto word = first; word != row.end(); ++word)
            dropped.emplace_back(word->line, word->at);
    }
    // Dropped last, highest index first, so the indices hold.
    std::sort(dropped.begin(), dropped.end());
    dropped.erase(std::unique(dropped.begin(), dropped.end()), dropped.end());
    for (auto it = dropped.rbegin(); it != dropped.rend(); ++it)
        it->first->words.erase(it->first->words.begin() + static_cast<std::ptrdiff_t>(it->second));
    std::erase_if(lines, [](const LineWords& line) { return line.words.empty(); });
}

}  // namespace Platform::Recognition
