#include "platform/recognition/Periods.h"

#include "platform/recognition/GlyphInk.h"

#include <cmath>
#include <optional>

namespace Platform::Recognition {
namespace {

// About as wide as high, its foot on the baseline, no higher than a third of the
// x-height (with a pixel's blur).
bool isDot(double top, double bottom, double width, const LineHeights& heights) {
    const double height = bottom - top;
    return width <= 1.5 * height && height <= 1.5 * width &&
           std::abs(bottom - heights.baseline) <= std::max(1.0, 0.15 * heights.xHeight) &&
           heights.baseline - top <= 0.4 * heights.xHeight + 1;
}

// A list's number ("1.") starts its line: digits and the mark, nothing else.
bool isLeadingNumber(const LineWords& line, const WordBox& word) {
    const qsizetype n = word.text.size();
    if (&word != &line.words.front() || n < 2 || n > 4)
        return false;
    for (qsizetype i = 0; i + 1 < n; ++i)
        if (!word.text[i].isDigit())
            return false;
    return true;
}

}  // namespace

bool standsAsDot(double top, double bottom, double width, const LineHeights& heights) {
    return width <= 1.5 * (bottom - top) && std::abs(bottom - heights.baseline) <= 0.15 * heights.xHeight &&
           heights.baseline - top <= 0.4 * heights.xHeight;
}

void restorePeriods(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes) {
    for (LineWords& line : lines) {
        LazyLineHeights measured(line, shapes);
        for (WordBox& word : line.words) {
            if (!word.text.contains(u'-') || !glyphsSpell(word))
                continue;
            const std::optional<LineHeights>& heights = measured.get();
            if (!heights)
                break;
            qsizetype at = 0;
            for (GlyphBox& glyph : word.glyphs) {
                const std::optional<GlyphInk> ink =
                    glyph.text == u"-" ? inkOf(glyph, line.box, shapes) : std::nullopt;
                if (ink && standsAsDot(ink->top, ink->bottom, ink->width, *heights)) {
                    glyph.text = QStringLiteral(".");
                    word.text[at] = u'.';
                }
                at += glyph.text.size();
            }
        }
    }
}

void restoreFinalPeriods(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes) {
    for (LineWords& line : lines) {
        LazyLineHeights measured(line, shapes);
        for (WordBox& word : line.words) {
            // After a figure or a letter the comma is the likelier mark, and a small one
            // can lose its faint tail; a number alone at the line's start is a list's.
            const qsizetype n = word.text.size();
            if (n < 2 || word.text.back() != u',' ||
                (!QStringView(u"\"'\u2019\u201c\u201d\u00bb\u00ab)]").contains(word.text[n - 2]) &&
                 !isLeadingNumber(line, word)))
                continue;
            const std::optional<LineHeights>& heights = measured.get();
            if (!heights)
                break;
            // The recognizer's box can end before the mark's ink.
            const QRectF area = word.box.adjusted(-1, 0, 0.3 * word.box.height(), 0);
            const InkShape* last = nullptr;
            for (const InkShape& shape : shapes) {
                const QPointF middle = QRectF(shape.box).center();
                if (area.contains(middle.x(), word.box.center().y()) && middle.y() >= line.box.top() &&
                    middle.y() <= line.box.bottom() && (!last || shape.box.right() > last->box.right()))
                    last = &shape;
            }
            if (!last || !isDot(last->box.top(), last->box.bottom() + 1, last->box.width(), *heights))
                continue;
            word.text.back() = u'.';
            if (!word.glyphs.empty() && word.glyphs.back().text == u",")
                word.glyphs.back().text = QStringLiteral(".");
        }
    }
}

}  // namespace Platform::Recognition
