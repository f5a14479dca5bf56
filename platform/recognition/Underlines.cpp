#include "platform/recognition/Underlines.h"

#include "platform/recognition/PagePreparation.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Platform::Recognition {

namespace {

// Longer than a run of joined dashes or bars in running text or code.
constexpr double lineGlyphs = 2.0;
// A piece of the line between two descenders, and the room a descender is given.
constexpr double pieceGlyphs = 0.5;
constexpr double gapGlyphs = 0.8;

}  // namespace

int eraseUnderlines(QImage& gray, std::optional<double> glyph) {
    if (gray.isNull() || gray.format() != QImage::Format_Grayscale8 || !glyph || !(*glyph > 0))
        return 0;
    const int threshold = inkThreshold(gray);
    // A line of its own: no glyph's ink touches it, and it is a stroke's width high.
    const int thin = std::max(2, static_cast<int>(std::lround(0.2 * *glyph)));
    std::vector<QRect> pieces;
    for (const InkShape& shape : inkShapes(gray, threshold)) {
        if (shape.box.height() <= thin && shape.box.width() >= 3 * shape.box.height() &&
            shape.box.width() >= pieceGlyphs * *glyph)
            pieces.push_back(shape.box);
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
        for (const std::size_t k : line) {
            const QRect& piece = pieces[k];
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
