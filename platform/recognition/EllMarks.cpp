#include "platform/recognition/EllMarks.h"

#include "platform/recognition/GlyphInk.h"
#include "platform/recognition/LookAlikes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Platform::Recognition {
namespace {

// The leftmost and rightmost ink of each row of one shape.
struct RowSpan {
    int y, left, right;
};

// The rows of the 8-connected shape whose box is `box`: other glyphs' ink can reach into
// the box of an italic letter.
std::vector<RowSpan> shapeRows(const QImage& gray, int threshold, const QRect& box) {
    const int w = box.width();
    std::vector<int> label(static_cast<std::size_t>(w * box.height()), 0);
    const auto dark = [&](int x, int y) { return gray.constScanLine(y)[x] < threshold; };
    const auto at = [&](int x, int y) { return static_cast<std::size_t>((y - box.top()) * w + (x - box.left())); };
    std::vector<QPoint> stack;
    int next = 0;
    for (int x = box.left(); x <= box.right(); ++x) {
        if (!dark(x, box.top()) || label[at(x, box.top())] != 0)
            continue;
        ++next;
        QRect reach;
        stack.push_back({x, box.top()});
        label[at(x, box.top())] = next;
        while (!stack.empty()) {
            const QPoint p = stack.back();
            stack.pop_back();
            reach |= QRect(p, QSize(1, 1));
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const QPoint q(p.x() + dx, p.y() + dy);
                    if (box.contains(q) && dark(q.x(), q.y()) && label[at(q.x(), q.y())] == 0) {
                        label[at(q.x(), q.y())] = next;
                        stack.push_back(q);
                    }
                }
        }
        if (reach != box)
            continue;
        std::vector<RowSpan> rows;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            std::optional<RowSpan> row;
            for (int x2 = box.left(); x2 <= box.right(); ++x2) {
                if (label[at(x2, y)] != next)
                    continue;
                if (!row)
                    row = RowSpan{y, x2, x2};
                row->right = x2;
            }
            if (row)
                rows.push_back(*row);
        }
        return rows;
    }
    return {};
}

// The lean that makes the shapes narrowest together: the middle of the leans within
// half a pixel of the least width, since a round letter is about as narrow over a range.
std::optional<double> narrowestLean(const std::vector<std::vector<RowSpan>>& shapes) {
    constexpr double from = -0.3, to = 0.9, step = 0.02;
    std::vector<std::pair<double, double>> widths;
    double least = std::numeric_limits<double>::max();
    for (double lean = from; lean <= to; lean += step) {
        double total = 0;
        for (const std::vector<RowSpan>& rows : shapes) {
            const double middle = (rows.front().y + rows.back().y) / 2.0;
            double left = std::numeric_limits<double>::max(), right = std::numeric_limits<double>::lowest();
            for (const RowSpan& row : rows) {
                const double shift = lean * (row.y - middle);
                left = std::min(left, row.left + shift);
                right = std::max(right, row.right + shift);
            }
            total += right - left;
        }
        widths.emplace_back(lean, total);
        least = std::min(least, total);
    }
    if (widths.empty())
        return std::nullopt;
    double low = to, high = from;
    for (const auto& [lean, width] : widths)
        if (width <= least + 0.5) {
            low = std::min(low, lean);
            high = std::max(high, lean);
        }
    return (low + high) / 2.0;
}

// Fewer rows than this leave a stroke's lean to a pixel's rounding.
constexpr int leastRows = 6;

// An italic "l" leans with its letters, about 0.2; a slash leans 0.17 to 0.4 further
// than the letters beside it, upright or italic.
constexpr double ellLeanMargin = 0.12;

// A word of upright letters has no "l" to read as a slash.
constexpr double italicLean = 0.08;

// A stroke whose rows carry about the same ink: a "!" small enough for its dot to touch
// its stem is faint where they meet.
bool evenStroke(const QImage& gray, const QRect& box) {
    std::vector<int> rows;
    for (int y = box.top() + 1; y < box.bottom(); ++y) {
        int ink = 0;
        for (int x = box.left(); x <= box.right(); ++x)
            ink += 255 - gray.constScanLine(y)[x];
        rows.push_back(ink);
    }
    if (rows.size() < 3)
        return false;
    std::vector<int> sorted = rows;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2), sorted.end());
    const int middle = sorted[sorted.size() / 2];
    return *std::min_element(rows.begin(), rows.end()) >= 0.6 * middle;
}

}  // namespace

std::optional<double> inkLean(const QImage& gray, int threshold, const QRect& box) {
    const QRect area = box & gray.rect();
    if (area != box || box.height() < leastRows)
        return std::nullopt;
    std::vector<RowSpan> rows = shapeRows(gray, threshold, box);
    if (rows.empty())
        return std::nullopt;
    return narrowestLean({std::move(rows)});
}

void restoreEllMarks(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                     const std::vector<InkShape>& shapes) {
    for (LineWords& line : lines) {
        LazyLineHeights measured(line, shapes);
        for (WordBox& word : line.words) {
            const QString& text = word.text;
            const auto besideLetter = [&](qsizetype i, bool small) {
                const auto fits = [&](qsizetype k) {
                    return k >= 0 && k < text.size() && (small ? text[k].isLower() : text[k].isLetter());
                };
                return fits(i - 1) || fits(i + 1);
            };
            // Spelled with an "l" for each "!": its ink has to fall apart as that spelling's.
            QString spelled = text;
            std::vector<qsizetype> marks;
            for (qsizetype i = 0; i < text.size(); ++i) {
                if ((text[i] == u'!' && besideLetter(i, true)) || (text[i] == u'/' && besideLetter(i, false)))
                    marks.push_back(i);
                if (text[i] == u'!')
                    spelled[i] = u'l';
            }
            if (marks.empty())
                continue;
            // The recognizer's box can end before a last stroke's ink.
            std::optional<std::vector<QRect>> ink = characterShapes(WordBox{spelled, word.box}, shapes);
            if (!ink) {
                const double reach = 0.3 * word.box.height();
                ink = characterShapes(WordBox{spelled, word.box.adjusted(0, 0, reach, 0)}, shapes);
            }
            if (!ink)
                continue;
            const std::optional<LineHeights>& heights = measured.get();
            if (!heights)
                break;
            std::optional<double> letterLean;
            bool leanMeasured = false;
            QString restored = text;
            for (const qsizetype i : marks) {
                const QRect& stroke = (*ink)[static_cast<std::size_t>(i)];
                // One stroke from above the small letters down to the baseline.
                if (std::abs(stroke.bottom() + 1 - heights->baseline) > std::max(1.0, 0.15 * heights->xHeight) ||
                    heights->baseline - stroke.top() < 1.2 * heights->xHeight)
                    continue;
                if (text[i] == u'!' && !evenStroke(gray, stroke & gray.rect()))
                    continue;
                if (text[i] == u'/') {
                    if (!leanMeasured) {
                        std::vector<std::vector<RowSpan>> letters;
                        for (qsizetype k = 0; k < text.size(); ++k) {
                            const QRect& box = (*ink)[static_cast<std::size_t>(k)];
                            if (!text[k].isLetter() || box.height() < leastRows || box != (box & gray.rect()))
                                continue;
                            // Empty for a letter of more than one shape.
                            std::vector<RowSpan> rows = shapeRows(gray, threshold, box);
                            if (!rows.empty())
                                letters.push_back(std::move(rows));
                        }
                        if (letters.size() >= 2)
                            letterLean = narrowestLean(letters);
                        leanMeasured = true;
                    }
                    const std::optional<double> lean = inkLean(gray, threshold, stroke);
                    const double letters = letterLean.value_or(0.0);
                    if (!lean || letters < italicLean || *lean > letters + ellLeanMargin)
                        continue;
                }
                restored[i] = u'l';
            }
            if (restored == text)
                continue;
            for (GlyphBox& glyph : word.glyphs)
                if (glyph.text == u"!" || glyph.text == u"/")
                    glyph.text = QStringLiteral("l");
            word.text = restored;
        }
    }
}

}  // namespace Platform::Recognition
