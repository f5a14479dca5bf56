#include "platform/recognition/SwallowedGlyphs.h"

#include "platform/recognition/MonospaceSpacing.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace Platform::Recognition {
namespace {

// Lines it takes to tell the page's cell: one line's slim letters can be a coincidence.
constexpr std::size_t provenLines = 2;
// A glyph this many cells wide or more spans two cells; no glyph's ink is much wider than one.
constexpr double wideGlyph = 1.5;
constexpr double widestGlyph = 1.15;
// A glyph's ink sits within this share of a cell of the cell's middle.
constexpr double closeFit = 0.3;
constexpr double closeShare = 0.75;
// Another glyph's box holding this share of a cell's ink stands on that cell.
constexpr double sharedInk = 0.3;
// The line's other glyphs it takes to place its grid.
constexpr std::size_t fewestPlaced = 3;
// A word read this surely keeps its letters.
constexpr float sureWord = 0.7f;

double centre(const QRectF& box) { return box.left() + box.width() / 2.0; }

double median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The middle of the line's cell 0, from its glyphs one cell wide; nothing when they do
// not stand on cells `cell` wide.
std::optional<double> lineOrigin(const LineWords& line, double cell) {
    std::vector<double> middles;
    for (const WordBox& word : line.words)
        for (const GlyphBox& glyph : word.glyphs)
            if (glyph.box.width() > 0 && glyph.box.width() <= widestGlyph * cell)
                middles.push_back(centre(glyph.box));
    if (middles.size() < fewestPlaced)
        return std::nullopt;
    // How far each glyph stands off the first one's grid.
    std::vector<double> offsets;
    for (const double x : middles)
        offsets.push_back(std::remainder(x - middles.front(), cell));
    const double shift = median(offsets);
    const auto close = std::count_if(offsets.begin(), offsets.end(),
                                     [&](double offset) { return std::abs(offset - shift) <= closeFit * cell; });
    if (static_cast<double>(close) < closeShare * static_cast<double>(offsets.size()))
        return std::nullopt;
    return middles.front() + shift;
}

// Glyph boxes on top of each other ("(" and "1" boxed on the same pixel) say the
// recognizer lost track of the word's ink: which letter stands for which cell is not known.
bool tangled(const WordBox& word) {
    for (std::size_t i = 1; i < word.glyphs.size(); ++i) {
        const QRectF& a = word.glyphs[i - 1].box;
        const QRectF& b = word.glyphs[i].box;
        const double shared = std::min(a.right(), b.right()) - std::max(a.left(), b.left());
        if (shared > 0.5 * std::min(a.width(), b.width()))
            return true;
    }
    return false;
}

}  // namespace

std::vector<SwallowedGlyph> swallowedGlyphs(const std::vector<LineWords>& lines, const std::vector<InkShape>& shapes) {
    std::vector<double> proven;
    for (const LineWords& line : lines)
        if (const std::optional<double> cell = fixedCellWidth(line, shapes))
            proven.push_back(*cell);
    if (proven.size() < provenLines)
        return {};
    const double cell = median(proven);
    std::vector<SwallowedGlyph> found;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const LineWords& line = lines[l];
        std::optional<double> origin;
        bool placed = false;
        for (std::size_t w = 0; w < line.words.size(); ++w) {
            const WordBox& word = line.words[w];
            if (word.confidence >= sureWord || tangled(word))
                continue;
            for (std::size_t g = 0; g < word.glyphs.size(); ++g) {
                const QRectF& box = word.glyphs[g].box;
                if (box.width() < wideGlyph * cell || word.glyphs[g].text.size() != 1)
                    continue;
                if (!placed) {
                    origin = lineOrigin(line, cell);
                    placed = true;
                }
                if (!origin)
                    break;
                // The ink in the box, cell by cell; every piece near its cell's middle.
                std::map<long, QRect> columns;
                bool fits = true;
                for (const InkShape& shape : shapes) {
                    const QRectF ink(shape.box);
                    if (!box.contains(ink.center()))
                        continue;
                    const double column = (centre(ink) - *origin) / cell;
                    const long c = std::lround(column);
                    fits = fits && std::abs(column - static_cast<double>(c)) <= closeFit;
                    columns[c] = columns[c].united(shape.box);
                }
                if (!fits || columns.size() < 2 || columns.rbegin()->first - columns.begin()->first + 1 !=
                                                       static_cast<long>(columns.size()))
                    continue;
                // Ink another glyph's box holds much of was read already: the box only
                // overlaps it ("0;" boxed over the "0" and the ";").
                const auto taken = [&](const QRect& ink) {
                    for (std::size_t ow = 0; ow < line.words.size(); ++ow)
                        for (std::size_t og = 0; og < line.words[ow].glyphs.size(); ++og) {
                            const QRectF& other = line.words[ow].glyphs[og].box;
                            const double shared = std::min(other.right(), QRectF(ink).right()) -
                                                  std::max(other.left(), QRectF(ink).left());
                            if ((ow != w || og != g) && shared > sharedInk * ink.width())
                                return true;
                        }
                    return false;
                };
                if (std::any_of(columns.begin(), columns.end(), [&](const auto& column) { return taken(column.second); }))
                    continue;
                SwallowedGlyph swallowed{l, w, g, {}, *origin, cell};
                for (const auto& [c, ink] : columns)
                    swallowed.cells.push_back(ink);
                found.push_back(std::move(swallowed));
            }
        }
    }
    return found;
}

std::optional<std::vector<WordBox>> withCellGlyphs(const WordBox& word, const SwallowedGlyph& swallowed,
                                                   const QString& letters) {
    const std::vector<QRect>& cells = swallowed.cells;
    if (swallowed.glyph >= word.glyphs.size() || letters.size() != static_cast<qsizetype>(cells.size()))
        return std::nullopt;
    QString spelled;
    for (const GlyphBox& glyph : word.glyphs)
        spelled += glyph.text;
    if (spelled != word.text)
        return std::nullopt;
    std::vector<GlyphBox> glyphs(word.glyphs.begin(), word.glyphs.begin() + static_cast<std::ptrdiff_t>(swallowed.glyph));
    for (std::size_t i = 0; i < cells.size(); ++i)
        glyphs.push_back(GlyphBox{letters.mid(static_cast<qsizetype>(i), 1),
                                  QRectF(cells[i].left(), word.box.top(), cells[i].width(), word.box.height())});
    glyphs.insert(glyphs.end(), word.glyphs.begin() + static_cast<std::ptrdiff_t>(swallowed.glyph) + 1,
                  word.glyphs.end());
    // The swallowed glyph's box stood on no cell, so the word was broken by a wrong one.
    const auto column = [&](const GlyphBox& glyph) {
        return std::lround((centre(glyph.box) - swallowed.origin) / swallowed.cell);
    };
    const std::size_t first = swallowed.glyph;
    const std::size_t last = swallowed.glyph + cells.size() - 1;
    std::vector<WordBox> words;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const bool parted = i > 0 && (i == first || i == last + 1) && column(glyphs[i]) - column(glyphs[i - 1]) >= 2;
        if (i == 0 || parted) {
            words.push_back(WordBox{{}, glyphs[i].box, word.confidence, {}});
            words.back().box.setTop(word.box.top());
            words.back().box.setBottom(word.box.bottom());
        }
        WordBox& into = words.back();
        into.text += glyphs[i].text;
        into.box.setRight(std::max(into.box.right(), glyphs[i].box.right()));
        into.glyphs.push_back(glyphs[i]);
    }
    words.front().box.setLeft(word.box.left());
    words.back().box.setRight(word.box.right());
    return words;
}

}  // namespace Platform::Recognition
