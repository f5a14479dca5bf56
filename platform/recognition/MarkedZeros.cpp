#include "platform/recognition/MarkedZeros.h"

#include "platform/recognition/GlyphHoles.h"
#include "platform/recognition/GlyphInk.h"

#include <algorithm>
#include <optional>

namespace Platform::Recognition {
namespace {

// Widening row by row to its widest rows and narrowing after them: no waist.
bool widestInMiddle(const GlyphCells& cells) {
    std::vector<int> widths;
    for (int y = 1; y < cells.height - 1; ++y) {
        int left = -1;
        int right = -1;
        for (int x = 1; x < cells.width - 1; ++x) {
            if (!cells.at(x, y)) {
                left = left < 0 ? x : left;
                right = x;
            }
        }
        widths.push_back(left < 0 ? 0 : right - left + 1);
    }
    const auto widest = std::max_element(widths.begin(), widths.end());
    const auto lastWidest = std::find(widths.rbegin(), widths.rend(), *widest).base() - 1;
    return std::is_sorted(widths.begin(), std::next(widest)) &&
           std::all_of(widest, lastWidest, [&](int width) { return width == *widest; }) &&
           std::is_sorted(widths.rbegin(), std::make_reverse_iterator(lastWidest));
}

bool isMarkedZero(const QImage& band, int threshold, const QRect& box) {
    const std::optional<GlyphCells> cells = glyphCells(band, threshold, box);
    // A "6" whose hook runs into its bowl closes a sliver over it, not a second hole
    // like the first.
    return cells && closesStackedHoles(*cells, 3) && widestInMiddle(*cells);
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
                // An "8" small in some fonts closes the same holes and fills its waist.
                if (word.text[at] != u'6' && word.text[at] != u'9')
                    continue;
                const std::optional<GlyphInk> ink = inkOf(word.glyphs[i], line.box, shapes);
                if (!ink)
                    continue;
                const QRect box(static_cast<int>(ink->left), static_cast<int>(ink->top), static_cast<int>(ink->width),
                                static_cast<int>(ink->bottom - ink->top));
                if (isMarkedZero(band, threshold, box))
                    word.text[at] = u'0';
            }
        }
    }
}

}  // namespace Platform::Recognition
