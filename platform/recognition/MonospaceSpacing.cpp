#include "platform/recognition/MonospaceSpacing.h"

#include <algorithm>
#include <cmath>

namespace Platform::Recognition {
namespace {

// Glyphs drawn in one cell sit within about a fifth of a cell of its middle; a few
// ("r", brackets) lean further to one side. The recognizer boxes a glyph here and there
// off its ink; a line is on a grid when most of its neighbours are a whole number of
// cells apart.
constexpr double closeFit = 0.2;
constexpr double loosestFit = 0.4;
constexpr double closeShare = 0.75;
// Fewer neighbouring glyphs than this cannot tell a fixed-width font from a proportional one.
constexpr std::size_t fewestPairs = 6;
// Fixed-width fonts draw an "i", "l" or "I" at least this share of a cell wide, with
// serifs; proportional ones as a stem, or with serifs under half of it.
constexpr double slimLetterWidth = 0.6;
// No glyph's ink is much wider than its cell.
constexpr double widestGlyph = 1.15;

struct Placed {
    const GlyphBox* glyph = nullptr;
    std::size_t word = 0;
};

double centre(const QRectF& box) { return box.left() + box.width() / 2.0; }

// The line's glyphs left to right with their words; nothing when the glyphs of a word
// do not spell it.
std::vector<Placed> placedGlyphs(const LineWords& line) {
    std::vector<Placed> placed;
    for (std::size_t w = 0; w < line.words.size(); ++w) {
        const WordBox& word = line.words[w];
        QString spelled;
        for (const GlyphBox& glyph : word.glyphs) {
            if (!(glyph.box.width() > 0))
                return {};
            spelled += glyph.text;
            placed.push_back({&glyph, w});
        }
        if (word.glyphs.empty() || spelled != word.text)
            return {};
    }
    for (std::size_t i = 1; i < placed.size(); ++i)
        if (!(centre(placed[i].glyph->box) > centre(placed[i - 1].glyph->box)))
            return {};
    return placed;
}

double distance(const std::vector<Placed>& placed, std::size_t i) {
    return centre(placed[i].glyph->box) - centre(placed[i - 1].glyph->box);
}

// The width of a slim letter's stem: the one tall shape its box holds, when the box is
// about that shape's. Nothing for a box the recognizer placed off the letter's ink.
double stemWidth(const GlyphBox& glyph, const std::vector<InkShape>& shapes) {
    const InkShape* stem = nullptr;
    for (const InkShape& shape : shapes) {
        if (!glyph.box.contains(QRectF(shape.box).center()) || shape.box.height() < 0.5 * glyph.box.height())
            continue;
        if (stem)
            return 0;
        stem = &shape;
    }
    if (!stem || stem->box.width() < 0.7 * glyph.box.width() || stem->box.width() > glyph.box.width() + 2)
        return 0;
    return stem->box.width();
}

std::optional<double> evenCell(const std::vector<Placed>& placed) {
    std::vector<double> inner;
    for (std::size_t i = 1; i < placed.size(); ++i)
        if (placed[i].word == placed[i - 1].word)
            inner.push_back(distance(placed, i));
    if (inner.size() < fewestPairs)
        return std::nullopt;
    const auto middle = inner.begin() + static_cast<std::ptrdiff_t>(inner.size() / 2);
    std::nth_element(inner.begin(), middle, inner.end());
    const double first = *middle;
    if (!(first > 0))
        return std::nullopt;
    // Over all neighbours, across word gaps too: a space is a cell as wide as a glyph's.
    double sum = 0, cells = 0;
    for (std::size_t i = 1; i < placed.size(); ++i) {
        const double d = distance(placed, i);
        const double k = std::round(d / first);
        if (k >= 1 && std::abs(d - k * first) <= loosestFit * first) {
            sum += d;
            cells += k;
        }
    }
    if (!(cells > 0))
        return std::nullopt;
    const double cell = sum / cells;
    std::size_t close = 0;
    for (std::size_t i = 1; i < placed.size(); ++i) {
        const double d = distance(placed, i);
        const double k = std::round(d / cell);
        close += k >= 1 && std::abs(d - k * cell) <= closeFit * cell ? 1 : 0;
    }
    if (static_cast<double>(close) < closeShare * static_cast<double>(placed.size() - 1))
        return std::nullopt;
    return cell;
}

std::optional<double> cellWidthOf(const std::vector<Placed>& placed, const std::vector<InkShape>& shapes) {
    const std::optional<double> cell = evenCell(placed);
    if (!cell)
        return std::nullopt;
    // Even spacing alone does not prove a fixed-width font on a short line; its slim
    // letters do.
    std::vector<double> stems;
    for (const Placed& p : placed)
        if (p.glyph->text.size() == 1 && QStringLiteral("ilI").contains(p.glyph->text.front()))
            if (const double width = stemWidth(*p.glyph, shapes); width > 0)
                stems.push_back(width);
    // Nor wide letters: a fixed-width font squeezes "m" and "w" into the cell, a
    // proportional one draws them wider than its average advance.
    std::vector<double> broad;
    for (const Placed& p : placed)
        if (p.glyph->text.size() == 1 && QStringLiteral("mwMW").contains(p.glyph->text.front()))
            broad.push_back(p.glyph->box.width());
    if (!broad.empty()) {
        const auto middle = broad.begin() + static_cast<std::ptrdiff_t>(broad.size() / 2);
        std::nth_element(broad.begin(), middle, broad.end());
        if (*middle > widestGlyph * *cell)
            return std::nullopt;
    }
    const auto wide = std::count_if(stems.begin(), stems.end(), [&](double w) { return w >= slimLetterWidth * *cell; });
    const bool fixed = stems.size() >= 2 && 5 * wide >= 4 * static_cast<std::ptrdiff_t>(stems.size());
    return fixed ? cell : std::nullopt;
}

// The cells of a line: where their middles lie and which hold ink.
struct Cells {
    double width = 0;
    // The middle of cell 0.
    double origin = 0;
    const QImage* gray = nullptr;
    int threshold = 0;
    QRectF line;

    double column(double x) const { return (x - origin) / width; }

    // Ink within the middle of the cell: a glyph's own ink reaches there, a neighbour's
    // never does.
    bool inked(long cell) const {
        const double middle = origin + static_cast<double>(cell) * width;
        const int x0 = std::max(0, static_cast<int>(std::ceil(middle - 0.3 * width)));
        const int x1 = std::min(gray->width() - 1, static_cast<int>(std::floor(middle + 0.3 * width)));
        const int y0 = std::max(0, static_cast<int>(std::floor(line.top())));
        const int y1 = std::min(gray->height() - 1, static_cast<int>(std::ceil(line.bottom())));
        for (int y = y0; y <= y1; ++y) {
            const uchar* row = gray->constScanLine(y);
            for (int x = x0; x <= x1; ++x)
                if (row[x] < threshold)
                    return true;
        }
        return false;
    }
};

// The cell of each glyph, where the ink tells it; nothing for a glyph whose cell is in
// doubt. The recognizer boxes some glyphs off their ink, most often near a gap it got
// wrong: between two glyphs boxed on their cells, glyphs boxed off are given the inked
// cells there one by one, when there are as many of them.
std::vector<std::optional<long>> cellsOf(const std::vector<Placed>& placed, const Cells& cells) {
    const std::size_t n = placed.size();
    std::vector<std::optional<long>> found(n);
    std::vector<bool> sure(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        const QRectF& box = placed[i].glyph->box;
        const double column = cells.column(centre(box));
        const long cell = std::lround(column);
        sure[i] = box.width() <= widestGlyph * cells.width && std::abs(column - static_cast<double>(cell)) <= 0.25 &&
                  cells.inked(cell);
        if (sure[i])
            found[i] = cell;
    }
    std::vector<std::size_t> anchors;
    for (std::size_t i = 0; i < n; ++i)
        if (sure[i])
            anchors.push_back(i);
    // The glyphs between two anchors fill the inked cells between them, one each; a
    // glyph boxed on the cell of its neighbour is no anchor, so a few later anchors are
    // tried too.
    const auto inkedBetween = [&](long from, long to) {
        std::vector<long> inked;
        for (long cell = from + 1; cell < to; ++cell)
            if (cells.inked(cell))
                inked.push_back(cell);
        return inked;
    };
    for (std::size_t a = 0; a + 1 < anchors.size();) {
        const std::size_t from = anchors[a];
        std::optional<std::size_t> matched;
        for (std::size_t b = a + 1; b < anchors.size() && b <= a + 4 && !matched; ++b) {
            const std::size_t to = anchors[b];
            if (*found[to] <= *found[from])
                continue;
            const std::vector<long> inked = inkedBetween(*found[from], *found[to]);
            if (inked.size() != to - from - 1)
                continue;
            for (std::size_t k = 0; k < inked.size(); ++k)
                found[from + 1 + k] = inked[k];
            matched = b;
        }
        if (matched) {
            a = *matched;
            continue;
        }
        for (std::size_t i = from + 1; i < anchors[a + 1]; ++i)
            found[i].reset();
        ++a;
    }
    return found;
}

// The cells' width and the middle of cell 0, fitted to the glyphs boxed on their cells:
// counted from neighbour to neighbour, so that a width a little off does not add up
// along a long line.
std::pair<double, double> gridOf(const std::vector<Placed>& placed, double width) {
    std::vector<std::pair<double, double>> points;
    long column = 0;
    std::optional<double> last;
    for (const Placed& p : placed) {
        const double middle = centre(p.glyph->box);
        if (p.glyph->box.width() > widestGlyph * width)
            continue;
        if (last) {
            const double cells = (middle - *last) / width;
            const long whole = std::lround(cells);
            if (whole < 1 || std::abs(cells - static_cast<double>(whole)) > 0.25)
                continue;
            column += whole;
        }
        points.emplace_back(static_cast<double>(column), middle);
        last = middle;
    }
    if (points.size() < 3)
        return {width, centre(placed.front().glyph->box)};
    double meanColumn = 0, meanX = 0;
    for (const auto& [c, x] : points) {
        meanColumn += c;
        meanX += x;
    }
    meanColumn /= static_cast<double>(points.size());
    meanX /= static_cast<double>(points.size());
    double covariance = 0, variance = 0;
    for (const auto& [c, x] : points) {
        covariance += (c - meanColumn) * (x - meanX);
        variance += (c - meanColumn) * (c - meanColumn);
    }
    if (!(variance > 0))
        return {width, centre(placed.front().glyph->box)};
    const double fitted = covariance / variance;
    return {fitted, meanX - fitted * meanColumn};
}

// The ink of one cell when it is a bar along the line's foot, as wide as most of the
// cell and thin: an underscore, which the recognizer leaves out between two words.
std::optional<QRectF> underscoreIn(const Cells& cells, long cell, double baseline) {
    const double middle = cells.origin + static_cast<double>(cell) * cells.width;
    // The cell's middle only: its neighbours' ink may reach into its edges.
    const int x0 = std::max(0, static_cast<int>(std::ceil(middle - 0.35 * cells.width)));
    const int x1 = std::min(cells.gray->width() - 1, static_cast<int>(std::floor(middle + 0.35 * cells.width)));
    const int y0 = std::max(0, static_cast<int>(std::floor(cells.line.top())));
    const int y1 = std::min(cells.gray->height() - 1, static_cast<int>(std::ceil(cells.line.bottom())));
    int top = -1, bottom = -1, left = x1 + 1, right = x0 - 1;
    for (int y = y0; y <= y1; ++y) {
        const uchar* row = cells.gray->constScanLine(y);
        for (int x = x0; x <= x1; ++x) {
            if (row[x] >= cells.threshold)
                continue;
            top = top < 0 ? y : top;
            bottom = y;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    if (top < 0)
        return std::nullopt;
    const double height = cells.line.height();
    const bool thin = bottom - top + 1 <= std::max(2.0, 0.15 * height);
    const bool low = top >= baseline - 0.1 * height;
    const bool wide = right - left + 1 >= 0.6 * (x1 - x0 + 1);
    if (!thin || !low || !wide)
        return std::nullopt;
    return QRectF(left, top, right - left + 1, bottom - top + 1);
}

void startWord(std::vector<WordBox>& words, const WordBox& from, const GlyphBox& glyph) {
    WordBox word;
    word.text = glyph.text;
    word.box = QRectF(glyph.box.left(), from.box.top(), glyph.box.width(), from.box.height());
    word.confidence = from.confidence;
    word.glyphs.push_back(glyph);
    words.push_back(std::move(word));
}

void extendWord(WordBox& word, const WordBox& from, const GlyphBox& glyph) {
    word.text += glyph.text;
    const double top = std::min(word.box.top(), from.box.top());
    const double bottom = std::max(word.box.bottom(), from.box.bottom());
    const double left = std::min(word.box.left(), glyph.box.left());
    const double right = std::max(word.box.right(), glyph.box.right());
    word.box = QRectF(left, top, right - left, bottom - top);
    word.confidence = std::min(word.confidence, from.confidence);
    word.glyphs.push_back(glyph);
}

// The glyphs of a line its glyphs prove fixed-width, its cells, and the cell of each glyph.
struct LineCells {
    std::vector<Placed> placed;
    Cells cells;
    std::vector<std::optional<long>> cell;
};

std::optional<LineCells> lineCells(const LineWords& line, const QImage& gray, int threshold,
                                   const std::vector<InkShape>& shapes) {
    std::vector<Placed> placed = placedGlyphs(line);
    const std::optional<double> width = placed.size() > fewestPairs ? cellWidthOf(placed, shapes) : std::nullopt;
    if (!width)
        return std::nullopt;
    const auto [fitted, origin] = gridOf(placed, *width);
    const Cells cells{fitted, origin, &gray, threshold, line.box};
    std::vector<std::optional<long>> cell = cellsOf(placed, cells);
    return LineCells{std::move(placed), cells, std::move(cell)};
}

}  // namespace

std::optional<double> fixedCellWidth(const LineWords& line, const std::vector<InkShape>& shapes) {
    const std::vector<Placed> placed = placedGlyphs(line);
    return placed.size() > fewestPairs ? cellWidthOf(placed, shapes) : std::nullopt;
}

void respaceMonospaceLines(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                           const std::vector<InkShape>& shapes) {
    for (LineWords& line : lines) {
        const std::optional<LineCells> grid = lineCells(line, gray, threshold, shapes);
        if (!grid)
            continue;
        const auto& [placed, cells, cell] = *grid;
        std::vector<bool> breaks(placed.size(), false);
        std::vector<std::optional<QRectF>> underscores(placed.size());
        // The glyphs' middle bottom is the baseline: most letters stand on it.
        std::vector<double> bottoms;
        for (const Placed& p : placed)
            bottoms.push_back(p.glyph->box.bottom());
        std::nth_element(bottoms.begin(), bottoms.begin() + static_cast<std::ptrdiff_t>(bottoms.size() / 2),
                         bottoms.end());
        const double baseline = bottoms[bottoms.size() / 2];
        bool changed = false;
        for (std::size_t i = 1; i < placed.size(); ++i) {
            const bool sameWord = placed[i].word == placed[i - 1].word;
            breaks[i] = !sameWord;
            // Two glyphs on one cell: one of them is boxed off its ink.
            if (!cell[i - 1] || !cell[i] || *cell[i] <= *cell[i - 1])
                continue;
            // A cell with ink between them holds a glyph the recognizer left out.
            bool empty = true;
            for (long c = *cell[i - 1] + 1; c < *cell[i] && empty; ++c)
                empty = !cells.inked(c);
            if (*cell[i] - *cell[i - 1] == 1) {
                breaks[i] = false;
            } else if (empty) {
                breaks[i] = true;
            } else if (*cell[i] - *cell[i - 1] == 2 && !sameWord) {
                underscores[i] = underscoreIn(cells, *cell[i - 1] + 1, baseline);
                breaks[i] = !underscores[i];
            }
            changed = changed || breaks[i] == sameWord;
        }
        if (!changed)
            continue;
        std::vector<WordBox> words;
        for (std::size_t i = 0; i < placed.size(); ++i) {
            const WordBox& from = line.words[placed[i].word];
            if (i == 0 || breaks[i]) {
                startWord(words, from, *placed[i].glyph);
                continue;
            }
            if (underscores[i])
                extendWord(words.back(), from, GlyphBox{QStringLiteral("_"), *underscores[i]});
            extendWord(words.back(), from, *placed[i].glyph);
        }
        line.words = std::move(words);
    }
}

namespace {

// The ink in a cell's columns over the line's rows; empty for none.
QRectF cellInk(const Cells& cells, long cell) {
    const double middle = cells.origin + static_cast<double>(cell) * cells.width;
    const int x0 = std::max(0, static_cast<int>(std::ceil(middle - 0.5 * cells.width)));
    const int x1 = std::min(cells.gray->width() - 1, static_cast<int>(std::floor(middle + 0.5 * cells.width)));
    const int y0 = std::max(0, static_cast<int>(std::floor(cells.line.top())));
    const int y1 = std::min(cells.gray->height() - 1, static_cast<int>(std::ceil(cells.line.bottom())));
    int top = y1 + 1, bottom = y0 - 1, left = x1 + 1, right = x0 - 1;
    for (int y = y0; y <= y1; ++y) {
        const uchar* row = cells.gray->constScanLine(y);
        for (int x = x0; x <= x1; ++x) {
            if (row[x] >= cells.threshold)
                continue;
            top = std::min(top, y);
            bottom = y;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    return bottom < top ? QRectF() : QRectF(left, top, right - left + 1, bottom - top + 1);
}

double sharedArea(const QRectF& a, const QRectF& b) {
    const QRectF both = a.intersected(b);
    const double united = a.width() * a.height() + b.width() * b.height() - both.width() * both.height();
    return united > 0 ? both.width() * both.height() / united : 0;
}

}  // namespace

void dropGlyphsWithoutCells(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                            const std::vector<InkShape>& shapes) {
    for (LineWords& line : lines) {
        const std::optional<LineCells> grid = lineCells(line, gray, threshold, shapes);
        if (!grid)
            continue;
        const auto& [placed, cells, cell] = *grid;
        std::vector<bool> extra(placed.size(), false);
        for (std::size_t i = 1; i < placed.size(); ++i) {
            if (!cell[i - 1] || !cell[i] || *cell[i - 1] != *cell[i])
                continue;
            const QRectF ink = cellInk(cells, *cell[i]);
            const bool firstFits = sharedArea(placed[i - 1].glyph->box, ink) >= sharedArea(placed[i].glyph->box, ink);
            extra[firstFits ? i : i - 1] = true;
        }
        for (std::size_t i = 1; i + 1 < placed.size(); ++i) {
            if (cell[i] || !cell[i - 1] || !cell[i + 1] || *cell[i + 1] <= *cell[i - 1] || extra[i - 1] || extra[i + 1])
                continue;
            bool empty = true;
            for (long c = *cell[i - 1] + 1; c < *cell[i + 1] && empty; ++c)
                empty = !cells.inked(c);
            extra[i] = empty;
        }
        if (std::none_of(extra.begin(), extra.end(), [](bool e) { return e; }))
            continue;
        // Boxes can sit a cell off their ink ("uses" boxed with its "u" on the "s"): a glyph
        // is read twice only when the line holds fewer inked cells than glyphs.
        const long first = std::lround(cells.column(centre(placed.front().glyph->box))) - 1;
        const long last = std::lround(cells.column(centre(placed.back().glyph->box))) + 1;
        std::size_t inked = 0;
        for (long c = first; c <= last; ++c)
            inked += cells.inked(c) ? 1 : 0;
        if (inked >= placed.size())
            continue;
        std::vector<WordBox> words;
        for (std::size_t w = 0; w < line.words.size(); ++w) {
            const WordBox& from = line.words[w];
            std::vector<std::size_t> own;
            for (std::size_t i = 0; i < placed.size(); ++i)
                if (placed[i].word == w)
                    own.push_back(i);
            const std::size_t before = words.size();
            for (const std::size_t i : own) {
                if (extra[i])
                    continue;
                if (words.size() == before)
                    startWord(words, from, *placed[i].glyph);
                else
                    extendWord(words.back(), from, *placed[i].glyph);
            }
            if (words.size() == before)
                continue;
            // The box keeps the ink its glyphs' boxes leave out, but not a dropped end glyph's.
            WordBox& word = words.back();
            const double left = extra[own.front()] ? word.glyphs.front().box.left() : from.box.left();
            const double right = extra[own.back()] ? word.glyphs.back().box.right() : from.box.right();
            word.box = QRectF(QPointF(left, from.box.top()), QPointF(right, from.box.bottom()));
        }
        line.words = std::move(words);
    }
}

}  // namespace Platform::Recognition
