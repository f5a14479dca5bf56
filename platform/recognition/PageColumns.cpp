#include "platform/recognition/PageColumns.h"

#include "platform/recognition/PagePreparation.h"

#include <algorithm>
#include <cmath>

namespace Platform::Recognition {

namespace {

// Wider than any space between words or cells of a table row, narrower than the
// margin between a page's columns.
constexpr double gutterGlyphs = 3.0;
// A column of a page holds a few lines; a gap in one line or two is a space in a row.
constexpr std::size_t minimumRows = 3;
// The share of rows on both sides standing level with a row across the gap that makes
// the two sides cells of one table.
constexpr double levelRows = 0.8;

struct Run {
    int start = 0;
    int end = 0;  // past the last
    double centre() const { return (start + end) / 2.0; }
};

// The rows of text in one stretch of columns: runs of rows with ink.
std::vector<Run> textRows(const QImage& gray, int threshold, int left, int right) {
    std::vector<Run> rows;
    bool open = false;
    for (int y = 0; y < gray.height(); ++y) {
        const uchar* line = gray.constScanLine(y);
        const bool inked = std::any_of(line + left, line + right, [&](uchar v) { return v < threshold; });
        if (inked && !open)
            rows.push_back({y, y + 1});
        if (inked)
            rows.back().end = y + 1;
        open = inked;
    }
    return rows;
}

// The share of one side's rows that stand level with a row of the other side.
double levelShare(const std::vector<Run>& rows, const std::vector<Run>& others, double glyph) {
    if (rows.empty())
        return 0;
    const auto level = std::count_if(rows.begin(), rows.end(), [&](const Run& row) {
        return std::any_of(others.begin(), others.end(),
                           [&](const Run& other) { return std::abs(row.centre() - other.centre()) < 0.35 * glyph; });
    });
    return double(level) / double(rows.size());
}

}  // namespace

std::vector<int> columnCuts(const QImage& gray, double glyph) {
    std::vector<int> cuts;
    if (gray.isNull() || gray.format() != QImage::Format_Grayscale8 || !(glyph > 0))
        return cuts;
    const int threshold = inkThreshold(gray);
    const int width = gray.width();
    std::vector<bool> inked(static_cast<std::size_t>(width), false);
    for (int y = 0; y < gray.height(); ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            if (line[x] < threshold)
                inked[static_cast<std::size_t>(x)] = true;
        }
    }
    const double gutter = gutterGlyphs * glyph;
    std::vector<Run> gutters;
    int x = 0;
    while (x < gray.width() && !inked[static_cast<std::size_t>(x)])
        ++x;
    while (x < gray.width()) {
        if (inked[static_cast<std::size_t>(x)]) {
            ++x;
            continue;
        }
        const int start = x;
        while (x < gray.width() && !inked[static_cast<std::size_t>(x)])
            ++x;
        // The margins at the page's edges separate nothing.
        if (x < gray.width() && x - start >= gutter)
            gutters.push_back({start, x});
    }
    // Rows level with each other across the gap are the cells of a table's rows, which
    // the recognizer reads apart at the gap; only columns whose lines follow their own
    // spacing are cut.
    int left = 0;
    for (std::size_t i = 0; i < gutters.size(); ++i) {
        const int right = i + 1 < gutters.size() ? gutters[i + 1].start : gray.width();
        const std::vector<Run> before = textRows(gray, threshold, left, gutters[i].start);
        const std::vector<Run> after = textRows(gray, threshold, gutters[i].end, right);
        left = gutters[i].end;
        if (before.size() < minimumRows || after.size() < minimumRows)
            continue;
        if (levelShare(before, after, glyph) >= levelRows && levelShare(after, before, glyph) >= levelRows)
            continue;
        cuts.push_back(static_cast<int>(gutters[i].centre()));
    }
    return cuts;
}

std::vector<QRect> columnRegions(const QSize& page, const std::vector<int>& cuts) {
    std::vector<QRect> regions;
    int left = 0;
    for (const int cut : cuts) {
        if (cut > left && cut < page.width()) {
            regions.emplace_back(left, 0, cut - left, page.height());
            left = cut;
        }
    }
    if (page.width() > left && page.height() > 0)
        regions.emplace_back(left, 0, page.width() - left, page.height());
    return regions;
}

}  // namespace Platform::Recognition
