#include "platform/recognition/Underlines.h"

#include "platform/recognition/PagePreparation.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

namespace Platform::Recognition {

namespace {

// Longer than a run of joined dashes or bars in running text or code.
constexpr double lineGlyphs = 2.0;
// A piece of the line between two descenders, and the room a descender is given.
constexpr double pieceGlyphs = 0.5;
constexpr double gapGlyphs = 1.0;
// A glyph and the underline it touches make one shape about a line high.
constexpr double joinedGlyphs = 2.5;

// The stretches of a thin line inside a shape where glyphs touch it (the foot of a "/", a
// descender the line does not break for): at least `longest` wide, one to `thin` rows of
// ink with ground above and below along most of it. A frame is no underline: a line runs
// along its top too.
void addJoinedLines(const QImage& gray, int threshold, const QRect& box, int thin, int longest,
                    std::vector<QRect>& pieces) {
    const auto ink = [&](int x, int y) {
        return y >= box.top() && y <= box.bottom() && gray.constScanLine(y)[x] < threshold;
    };
    int topRun = 0;
    for (int x = box.left(), run = 0; x <= box.right(); ++x) {
        run = ink(x, box.top()) ? run + 1 : 0;
        topRun = std::max(topRun, run);
    }
    if (2 * topRun >= box.width())
        return;
    for (int y = box.top() + 1; y <= box.bottom(); ++y) {
        for (int rows = 1; rows <= thin && y + rows - 1 <= box.bottom(); ++rows) {
            // A stroke that goes on through the line is a glyph's, and stays.
            const auto inLine = [&](int x) {
                for (int r = 0; r < rows; ++r)
                    if (!ink(x, y + r))
                        return false;
                return !(ink(x, y - 1) && ink(x, y + rows));
            };
            int start = -1;
            int clear = 0;
            for (int x = box.left(); x <= box.right() + 1; ++x) {
                const bool on = x <= box.right() && inLine(x);
                if (on && start < 0) {
                    start = x;
                    clear = 0;
                }
                if (on && !ink(x, y - 1) && !ink(x, y + rows))
                    ++clear;
                if (!on && start >= 0) {
                    if (x - start >= longest && 2 * clear >= x - start)
                        pieces.emplace_back(start, y, x - start, rows);
                    start = -1;
                }
            }
        }
    }
}

}  // namespace

int eraseUnderlines(QImage& gray, std::optional<double> glyph) {
    if (gray.isNull() || gray.format() != QImage::Format_Grayscale8 || !glyph || !(*glyph > 0))
        return 0;
    const int threshold = inkThreshold(gray);
    // A line of its own: no glyph's ink touches it, and it is a stroke's width high.
    const int thin = std::max(2, static_cast<int>(std::lround(0.2 * *glyph)));
    std::vector<QRect> pieces;
    // The stub past a descender at the line's end can be as short as a period: it goes
    // only when it lies within the rows of a line, below the baseline a period sits on.
    std::vector<QRect> stubs;
    for (const InkShape& shape : inkShapes(gray, threshold)) {
        if (shape.box.height() <= thin && shape.box.width() >= 3 * shape.box.height() &&
            shape.box.width() >= pieceGlyphs * *glyph)
            pieces.push_back(shape.box);
        else if (shape.box.height() <= thin && shape.box.width() >= shape.box.height())
            stubs.push_back(shape.box);
        else if (shape.box.height() <= joinedGlyphs * *glyph && shape.box.width() >= lineGlyphs * *glyph)
            addJoinedLines(gray, threshold, shape.box, thin, static_cast<int>(std::ceil(lineGlyphs * *glyph)), pieces);
    }
    std::sort(pieces.begin(), pieces.end(), [](const QRect& a, const QRect& b) { return a.left() < b.left(); });

    // Pieces in one row with short gaps between them make one line.
    std::vector<bool> used(pieces.size(), false);
    int erased = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (used[i])
            continue;
        std::vector<std::size_t> line{i};
        used[i] = true;
        QRect span = pieces[i];
        for (std::size_t j = i + 1; j < pieces.size(); ++j) {
            const QRect& next = pieces[j];
            if (used[j] || next.left() - span.right() > gapGlyphs * *glyph)
                continue;
            if (next.bottom() < span.top() - 1 || next.top() > span.bottom() + 1)
                continue;
            line.push_back(j);
            used[j] = true;
            span = span.united(next);
        }
        const bool long_ = std::any_of(line.begin(), line.end(),
                                       [&](std::size_t k) { return pieces[k].width() >= lineGlyphs * *glyph; });
        if (!long_)
            continue;
        std::vector<QRect> erase;
        for (const std::size_t k : line)
            erase.push_back(pieces[k]);
        const double gap = gapGlyphs * *glyph;
        std::copy_if(stubs.begin(), stubs.end(), std::back_inserter(erase), [&](const QRect& stub) {
            return stub.top() >= span.top() && stub.bottom() <= span.bottom() && stub.left() - span.right() <= gap &&
                   span.left() - stub.right() <= gap;
        });
        for (const QRect& piece : erase) {
            for (int y = piece.top(); y <= piece.bottom(); ++y) {
                uchar* row = gray.scanLine(y);
                for (int x = piece.left(); x <= piece.right(); ++x)
                    if (row[x] < threshold)
                        row[x] = 255;
            }
        }
        ++erased;
    }
    return erased;
}

}  // namespace Platform::Recognition
