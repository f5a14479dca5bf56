#include "platform/recognition/TableBlankRows.h"

#include <QHash>

#include <algorithm>
#include <cstdlib>

namespace Platform::Recognition {

namespace {

// Far enough inside a cell's edges to leave out its rules.
constexpr int ruleClearance = 3;
// A pixel this far from the cell's ground in some channel is ink.
constexpr int inkContrast = 48;
// Fewer ink pixels than this is a speck or the end of a rule, not a glyph.
constexpr int fewestInkPixels = 8;

QRect pixelRect(const QRectF& normalized, const QSize& size) {
    return QRectF(normalized.x() * size.width(), (1.0 - normalized.bottom()) * size.height(),
                  normalized.width() * size.width(), normalized.height() * size.height())
        .toAlignedRect();
}

bool holdsInk(const QImage& picture, const QRect& area) {
    if (area.width() <= 0 || area.height() <= 0)
        return false;
    QHash<QRgb, int> counts;
    QRgb ground = 0;
    int most = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            if (const int count = ++counts[pixel]; count > most) {
                most = count;
                ground = pixel;
            }
        }
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            const int contrast = std::max({std::abs(qRed(pixel) - qRed(ground)), std::abs(qGreen(pixel) - qGreen(ground)),
                                           std::abs(qBlue(pixel) - qBlue(ground))});
            if (contrast > inkContrast && ++ink >= fewestInkPixels)
                return true;
        }
    return false;
}

}  // namespace

std::vector<QRect> blankRowStrips(const DocumentTable& table, const QImage& picture) {
    std::vector<QRect> strips;
    for (const auto& row : table.rows) {
        const bool blank = !row.empty() && std::all_of(row.begin(), row.end(), [](const DocumentCell& cell) {
            return cell.rowRange.lowerBound == cell.rowRange.upperBound && cell.content.transcript.trimmed().isEmpty();
        });
        if (!blank)
            continue;
        QRect strip;
        bool inked = false;
        for (const DocumentCell& cell : row) {
            const QRect inside = pixelRect(cell.content.boundingBox, picture.size())
                                     .adjusted(ruleClearance, ruleClearance, -ruleClearance, -ruleClearance) &
                                 picture.rect();
            if (inside.isEmpty())
                continue;
            strip = strip.united(inside);
            inked = inked || holdsInk(picture, inside);
        }
        if (inked)
            strips.push_back(strip);
    }
    return strips;
}

}  // namespace Platform::Recognition
