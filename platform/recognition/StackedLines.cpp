#include "platform/recognition/StackedLines.h"

#include <algorithm>

namespace Platform::Recognition {

void dropStackedLines(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes, int pictureHeight) {
    std::erase_if(lines, [&](const LineWords& line) {
        std::vector<double> centres;
        std::vector<int> heights;
        for (const InkShape& shape : shapes) {
            if (looksLikeGlyph(shape, pictureHeight) && line.box.contains(QRectF(shape.box))) {
                centres.push_back(shape.box.top() + shape.box.height() / 2.0);
                heights.push_back(shape.box.height());
            }
        }
        if (heights.size() < 2)
            return false;
        const auto middle = heights.begin() + static_cast<std::ptrdiff_t>(heights.size() / 2);
        std::nth_element(heights.begin(), middle, heights.end());
        const double glyph = *middle;
        // Two glyphs tell it only in a column one glyph wide: one figure a row ("6" over
        // "7") comes back as "No".
        if (heights.size() == 2 && line.box.width() > 2 * glyph)
            return false;
        // Rows of glyphs, one above the other, with clear space between them.
        std::sort(centres.begin(), centres.end());
        int rows = 1;
        for (std::size_t i = 1; i < centres.size(); ++i)
            rows += centres[i] - centres[i - 1] > glyph ? 1 : 0;
        return rows >= 2 && line.box.height() > 2.6 * glyph;
    });
}

}  // namespace Platform::Recognition
