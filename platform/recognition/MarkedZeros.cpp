#include "platform/recognition/MarkedZeros.h"

#include "platform/recognition/GlyphHoles.h"
#include "platform/recognition/GlyphInk.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace Platform::Recognition {
namespace {

int inkWidth(const GlyphCells& cells, int y) {
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
bool widestInMiddle(const GlyphCells& cells) {
    std::vector<int> widths;
    for (int y = 1; y < cells.height - 1; ++y)
        widths.push_back(inkWidth(cells, y));
    const auto widest = std::max_element(widths.begin(), widths.end());
    const auto lastWidest = std::find(widths.rbegin(), widths.rend(), *widest).base() - 1;
    return std::is_sorted(widths.begin(), std::next(widest)) &&
           std::all_of(widest, lastWidest, [&](int width) { return width == *widest; }) &&
           std::is_sorted(widths.rbegin(), std::make_reverse_iterator(lastWidest));
}

// A ring is round: between its two holes it is at least as wide as anywhere beside them.
// An "8" narrows there, if only by a pixel.
bool roundBetween(const GlyphCells& cells) {
    std::vector<Hole> holes = holesOf(cells);
    std::sort(holes.begin(), holes.end(), [](const Hole& a, const Hole& b) { return a.top < b.top; });
    int beside = 0;
    for (const Hole& hole : holes)
        for (int y = hole.top; y <= hole.bottom; ++y)
            beside = std::max(beside, inkWidth(cells, y));
    for (int y = holes.front().bottom + 1; y < holes.back().top; ++y)
        if (inkWidth(cells, y) < beside)
            return false;
    return true;
}

bool isMarkedZero(const QImage& band, int threshold, const QRect& box, bool eight) {
    const std::optional<GlyphCells> cells = glyphCells(band, threshold, box);
    // A "6" whose hook runs into its bowl closes a sliver over it, not a second hole
    // like the first.
    return cells && closesStackedHoles(*cells, 3) && widestInMiddle(*cells) && (!eight || roundBetween(*cells));
}

// A zero whose dot stands free inside its ring, as in a fixed-width font at a size where
// the two do not touch: the glyph's box holds the ring and, well inside it, one small
// shape about its middle. No "6", "9" or "8" holds a shape of its own.
bool isDottedZero(const GlyphBox& glyph, const QRectF& line, const std::vector<InkShape>& shapes) {
    std::vector<const InkShape*> inside;
    for (const InkShape& shape : shapes) {
        const QPointF middle = QRectF(shape.box).center();
        if (middle.x() >= glyph.box.left() && middle.x() <= glyph.box.right() && middle.y() >= line.top() &&
            middle.y() <= line.bottom())
            inside.push_back(&shape);
    }
    if (inside.size() != 2)
        return false;
    const bool firstIsRing = inside[0]->box.width() * inside[0]->box.height() >=
                             inside[1]->box.width() * inside[1]->box.height();
    const QRect ring = (firstIsRing ? inside[0] : inside[1])->box;
    const QRect dot = (firstIsRing ? inside[1] : inside[0])->box;
    const QPointF offset = QRectF(dot).center() - QRectF(ring).center();
    return ring.height() >= 6 && ring.adjusted(1, 1, -1, -1).contains(dot) && dot.width() <= ring.width() / 2 &&
           dot.height() <= ring.height() / 3 && std::abs(offset.x()) <= 0.2 * ring.width() &&
           std::abs(offset.y()) <= 0.2 * ring.height();
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
                // A small "8" closes the same holes: only a ring no narrower between its
                // holes than beside them is a zero.
                const bool eight = word.text[at] == u'8';
                if (word.text[at] != u'6' && word.text[at] != u'9' && !eight)
                    continue;
                const std::optional<GlyphInk> ink = inkOf(word.glyphs[i], line.box, shapes);
                if (!ink) {
                    if (isDottedZero(word.glyphs[i], line.box, shapes))
                        word.text[at] = u'0';
                    continue;
                }
                const QRect box(static_cast<int>(ink->left), static_cast<int>(ink->top), static_cast<int>(ink->width),
                                static_cast<int>(ink->bottom - ink->top));
                if (isMarkedZero(band, threshold, box, eight))
                    word.text[at] = u'0';
            }
        }
    }
}

}  // namespace Platform::Recognition
