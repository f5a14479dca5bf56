#include "platform/recognition/InklessMarks.h"

#include "platform/recognition/GlyphInk.h"

#include <algorithm>

namespace Platform::Recognition {
namespace {

bool isQuoteMark(const QString& text) {
    static const QString marks = QStringLiteral("'\"`\u00b4\u2018\u2019\u201c\u201d");
    return text.size() == 1 && marks.contains(text.front());
}

// Whether the mark has ink of its own: beside the columns of the glyph next to it, which
// the recognizer may have boxed it over.
bool holdsInk(const QImage& gray, const QRectF& mark, const QRectF& neighbour, int threshold) {
    QRect area = mark.toAlignedRect() & gray.rect();
    const QRect beside = neighbour.toAlignedRect();
    if (beside.left() <= area.left())
        area.setLeft(std::max(area.left(), beside.right() + 1));
    if (beside.right() >= area.right())
        area.setRight(std::min(area.right(), beside.left() - 1));
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar* line = gray.constScanLine(y);
        if (std::any_of(line + area.left(), line + area.right() + 1, [&](uchar v) { return v < threshold; }))
            return true;
    }
    return false;
}

}  // namespace

void dropInklessQuotes(std::vector<LineWords>& lines, const QImage& gray, int threshold) {
    if (gray.isNull() || gray.format() != QImage::Format_Grayscale8)
        return;
    for (LineWords& line : lines) {
        for (WordBox& word : line.words) {
            // Only where the glyphs say which characters the boxes hold.
            if (word.glyphs.size() < 2 || !glyphsSpell(word))
                continue;
            const auto inkless = [&](const GlyphBox& glyph, const GlyphBox& neighbour) {
                return isQuoteMark(glyph.text) && !holdsInk(gray, glyph.box, neighbour.box, threshold);
            };
            if (inkless(word.glyphs.front(), word.glyphs[1])) {
                word.glyphs.erase(word.glyphs.begin());
                word.text.remove(0, 1);
                word.box.setLeft(word.glyphs.front().box.left());
            }
            if (word.glyphs.size() >= 2 && inkless(word.glyphs.back(), word.glyphs[word.glyphs.size() - 2])) {
                word.glyphs.pop_back();
                word.text.chop(1);
                word.box.setRight(word.glyphs.back().box.right());
            }
        }
    }
}

void dropMarksWithoutInk(WordBox& word) {
    if (!glyphsSpell(word) || word.glyphs.size() < 2)
        return;
    // A pixel's slack on the side the mark stands out of the letter.
    const auto sliverIn = [](const GlyphBox& mark, const QRectF& letter, bool atEnd) {
        const bool sliver = mark.box.width() <= 0.3 * mark.box.height();
        const bool inLetter = mark.box.left() >= letter.left() - (atEnd ? 0 : 1) &&
                              mark.box.right() <= letter.right() + (atEnd ? 1 : 0);
        const bool lineOrQuote = mark.text.size() == 1 && QStringLiteral("_\u2014\u2013\u2019'").contains(mark.text);
        return lineOrQuote && sliver && inLetter;
    };
    // Marks read over one another ("Mean_—") share the sliver.
    std::size_t keep = word.glyphs.size();
    for (; keep > 1 && sliverIn(word.glyphs[keep - 1], word.glyphs[keep - 2].box, true); --keep) {
    }
    // The same slivers can open a word, at its first letter's left edge ("—_Local").
    std::size_t first = 0;
    for (; first + 1 < keep && sliverIn(word.glyphs[first], word.glyphs[first + 1].box, false); ++first) {
    }
    if (keep == word.glyphs.size() && first == 0)
        return;
    word.glyphs.resize(keep);
    word.glyphs.erase(word.glyphs.begin(), word.glyphs.begin() + static_cast<std::ptrdiff_t>(first));
    word.text.clear();
    for (const GlyphBox& glyph : word.glyphs)
        word.text += glyph.text;
    if (first > 0)
        word.box.setLeft(std::min(word.glyphs.front().box.left(), word.box.right() - 1));
    word.box.setRight(std::max(word.glyphs.back().box.right(), word.box.left() + 1));
}

}  // namespace Platform::Recognition
