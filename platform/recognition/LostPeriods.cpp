#include "platform/recognition/LostPeriods.h"

#include "platform/recognition/GlyphInk.h"
#include "platform/recognition/Periods.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace Platform::Recognition {

namespace {

bool isLetter(const GlyphBox& glyph) { return glyph.text.size() == 1 && glyph.text.front().isLetter(); }

// A period's dot, and no speck.
bool isBaselineDot(const QRect& box, const LineHeights& heights) {
    return box.height() >= 0.12 * heights.xHeight && standsAsDot(box.top(), box.bottom() + 1, box.width(), heights);
}

// The foot of a stroke whose stem is too faint to count as ink: a thin stem that straddles
// two pixel columns shows only its serif, and a dot's ground above it is clear. Each row
// up to about half the x-height over the dot holds ink at least half as dark as the
// threshold is from the ground.
bool footOfFaintStroke(const QRect& dot, const QImage& gray, int threshold, const LineHeights& heights) {
    const QRect around = QRect(QPoint(dot.left() - static_cast<int>(heights.xHeight),
                                      static_cast<int>(heights.baseline - heights.xHeight)),
                               QPoint(dot.right() + static_cast<int>(heights.xHeight), dot.bottom())) &
                         gray.rect();
    if (around.isEmpty())
        return false;
    int ground = 0;
    for (int y = around.top(); y <= around.bottom(); ++y) {
        const uchar* row = gray.constScanLine(y);
        ground = std::max(ground, static_cast<int>(*std::max_element(row + around.left(), row + around.right() + 1)));
    }
    const double faint = ground - 0.5 * (ground - threshold);
    const int rows = std::max(2, static_cast<int>(std::lround(0.5 * heights.xHeight)));
    const int left = std::max(0, dot.left()), right = std::min(gray.width() - 1, dot.right());
    if (dot.top() - rows < 0 || left > right)
        return false;
    for (int y = dot.top() - rows; y < dot.top(); ++y) {
        const uchar* row = gray.constScanLine(y);
        if (*std::min_element(row + left, row + right + 1) >= faint)
            return false;
    }
    return true;
}

// A piece of a faint glyph's stroke cut off at the ink threshold: a pixel next to it is
// nearly as dark as its own darkest. A period's own edge fades to the ground.
bool joinedByFainterInk(const QImage& gray, const QRect& box) {
    if (gray.isNull() || !gray.rect().adjusted(2, 2, -2, -2).contains(box))
        return false;
    const auto level = [&](int x, int y) { return static_cast<int>(gray.constScanLine(y)[x]); };
    int darkest = 255;
    int ground = 0;
    for (int y = box.top() - 2; y <= box.bottom() + 2; ++y)
        for (int x = box.left() - 2; x <= box.right() + 2; ++x) {
            ground = std::max(ground, level(x, y));
            if (box.contains(x, y))
                darkest = std::min(darkest, level(x, y));
        }
    const QRect ring = box.adjusted(-1, -1, 1, 1);
    for (int y = ring.top(); y <= ring.bottom(); ++y)
        for (int x = ring.left(); x <= ring.right(); ++x)
            if (!box.contains(x, y) && ground - level(x, y) >= 0.65 * (ground - darkest))
                return true;
    return false;
}

// The dot standing between two glyphs, past the middle of the first and clear of the
// second: the recognizer may box the first over it. Boxes that overlap place nothing.
bool holdsDot(const GlyphBox& before, const GlyphBox& after, const std::vector<InkShape>& shapes,
              const QImage& gray, int threshold, const LineHeights& heights) {
    const double from = before.box.center().x();
    const double to = after.box.left();
    if (to < before.box.right() - 1)
        return false;
    return std::any_of(shapes.begin(), shapes.end(), [&](const InkShape& shape) {
        return shape.box.left() >= from && shape.box.right() + 1 <= to && isBaselineDot(shape.box, heights) &&
               !footOfFaintStroke(shape.box, gray, threshold, heights) && !joinedByFainterInk(gray, shape.box);
    });
}

}  // namespace

void restoreLostPeriods(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                        const std::vector<InkShape>& shapes) {
    for (LineWords& line : lines) {
        LazyLineHeights lazy(line, shapes);
        for (WordBox& word : line.words) {
            if (word.glyphs.size() < 2 || !glyphsSpell(word))
                continue;
            const std::optional<LineHeights>& heights = lazy.get();
            if (!heights)
                break;
            QString text;
            for (std::size_t i = 0; i < word.glyphs.size(); ++i) {
                text += word.glyphs[i].text;
                if (i + 1 < word.glyphs.size() && isLetter(word.glyphs[i]) && isLetter(word.glyphs[i + 1]) &&
                    holdsDot(word.glyphs[i], word.glyphs[i + 1], shapes, gray, threshold, *heights))
                    text += u'.';
            }
            // The glyphs stay as read: they no longer spell the word, and no later rule
            // takes them for its letters.
            if (text.size() != word.text.size())
                word.text = text;
        }
    }
}

}  // namespace Platform::Recognition
