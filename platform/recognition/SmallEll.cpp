#include "platform/recognition/SmallEll.h"

#include <algorithm>
#include <optional>

namespace Platform::Recognition {
namespace {

struct RowInk {
    int left = 0;
    int right = 0;
};

std::optional<RowInk> rowInk(const QImage& gray, int threshold, const QRect& box, int y) {
    const uchar* line = gray.constScanLine(y);
    std::optional<RowInk> ink;
    for (int x = box.left(); x <= box.right(); ++x) {
        if (line[x] >= threshold)
            continue;
        if (!ink)
            ink = RowInk{x, x};
        ink->right = x;
    }
    return ink;
}

int median(std::vector<int> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The tallest ink shape whose middle lies in the glyph's box.
const InkShape* glyphShape(const QRectF& glyph, const std::vector<InkShape>& shapes) {
    const InkShape* found = nullptr;
    for (const InkShape& shape : shapes)
        if (glyph.contains(QRectF(shape.box).center()) && (!found || shape.box.height() > found->box.height()))
            found = &shape;
    return found;
}

}  // namespace

bool isSerifedEll(const QImage& gray, int threshold, const QRect& box) {
    const QRect area = box & gray.rect();
    // Too few rows to tell a serif from the stem's anti-aliased end.
    if (area.height() < 7)
        return false;
    std::vector<std::optional<RowInk>> rows;
    for (int y = area.top(); y <= area.bottom(); ++y)
        rows.push_back(rowInk(gray, threshold, area, y));
    const int h = area.height();
    std::vector<int> lefts, rights;
    for (int r = 3 * h / 10; r <= 7 * h / 10; ++r)
        if (rows[static_cast<std::size_t>(r)]) {
            lefts.push_back(rows[static_cast<std::size_t>(r)]->left);
            rights.push_back(rows[static_cast<std::size_t>(r)]->right);
        }
    if (lefts.size() < 2)
        return false;
    const int stemLeft = median(lefts);
    const int stemRight = median(rights);
    // A stem, not a bowl: the middle rows are narrow.
    if (stemRight - stemLeft + 1 > area.width() / 2)
        return false;
    // The serif reaches a clear pixel beyond the stem's anti-aliased edge, at the top:
    // the foot of an "L" stands at the bottom.
    bool leftAtTop = false;
    bool rightAtTop = false;
    for (int r = 0; r < std::max(1, h / 4); ++r) {
        const auto& row = rows[static_cast<std::size_t>(r)];
        leftAtTop = leftAtTop || (row && row->left <= stemLeft - 2);
        rightAtTop = rightAtTop || (row && row->right > stemRight);
    }
    return leftAtTop && !rightAtTop;
}

void restoreSmallEll(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                     const std::vector<InkShape>& shapes) {
    for (LineWords& line : lines) {
        for (WordBox& word : line.words) {
            QString& text = word.text;
            for (qsizetype i = 0; i + 1 < text.size(); ++i) {
                // The start of a word of small letters: "Link", "(Limit".
                if (text[i] != u'L' || (i > 0 && text[i - 1].isLetterOrNumber()) || !text[i + 1].isLower())
                    continue;
                // The glyph read at that place, when the glyphs spell the word.
                QString spelled;
                const GlyphBox* glyph = nullptr;
                for (const GlyphBox& g : word.glyphs) {
                    if (spelled.size() == i && g.text == QStringLiteral("L"))
                        glyph = &g;
                    spelled += g.text;
                }
                if (!glyph || spelled != text)
                    continue;
                const InkShape* shape = glyphShape(glyph->box, shapes);
                if (shape && shape->box.height() >= 0.5 * word.box.height() &&
                    isSerifedEll(gray, threshold, shape->box))
                    text[i] = u'l';
            }
        }
    }
}

}  // namespace Platform::Recognition
