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

// The dot standing between two glyphs, past the middle of the first and clear of the
// second: the recognizer may box the first over it. Boxes that overlap place nothing.
bool holdsDot(const GlyphBox& before, const GlyphBox& after, const std::vector<InkShape>& shapes,
              const LineHeights& heights) {
    const double from = before.box.center().x();
    const double to = after.box.left();
    if (to < before.box.right() - 1)
        return false;
    return std::any_of(shapes.begin(), shapes.end(), [&](const InkShape& shape) {
        return shape.box.left() >= from && shape.box.right() + 1 <= to && isBaselineDot(shape.box, heights);
    });
}

}  // namespace

void restoreLostPeriods(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes) {
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
                    holdsDot(word.glyphs[i], word.glyphs[i + 1], shapes, *heights))
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
