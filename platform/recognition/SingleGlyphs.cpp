#include "platform/recognition/SingleGlyphs.h"

#include "platform/recognition/LetterCase.h"

#include <algorithm>

namespace Platform::Recognition {
namespace {

// A word read this surely is left as it is.
constexpr float unsureBelow = 0.9f;
constexpr float sureGlyph = 0.7f;

double overlapOf(const QRectF& a, const QRectF& b) {
    return std::max(0.0, std::min(a.right(), b.right()) - std::max(a.left(), b.left()));
}

}  // namespace

const InkShape* onlyShapeUnder(const WordBox& word, const std::vector<InkShape>& shapes, int pictureHeight) {
    const QRectF around = word.box.adjusted(-2, -2, 2, 2);
    const InkShape* only = nullptr;
    for (const InkShape& shape : shapes) {
        // The rules of a cell around the glyph are no part of it.
        if (!around.intersects(QRectF(shape.box)) || !looksLikeGlyph(shape, pictureHeight))
            continue;
        if (only != nullptr || !around.contains(QRectF(shape.box)))
            return nullptr;
        only = &shape;
    }
    return only;
}

bool misreadsOneGlyph(const WordBox& word, const std::vector<InkShape>& shapes, int pictureHeight, double glyph) {
    const QString text = word.text.trimmed();
    // A mark drawn in two pieces cannot be one shape of ink.
    const bool twoPieceMark = text.size() == 1 && QStringView(u"=:;\"").contains(text.front());
    // A letter read in both its cases has a rule of its own.
    const bool several = text.size() >= 2 && word.glyphs.size() >= 2 && word.confidence < unsureBelow &&
                         !isOneLetterInBothCases(text);
    if (!twoPieceMark && !several)
        return false;
    for (std::size_t i = 1; several && i < word.glyphs.size(); ++i)
        if (overlapOf(word.glyphs[i - 1].box, word.glyphs[i].box) <= 0)
            return false;
    const InkShape* only = onlyShapeUnder(word, shapes, pictureHeight);
    if (only == nullptr || only->box.height() < 0.5 * glyph || only->box.width() > 1.2 * only->box.height())
        return false;
    // A period or comma just after the glyph is ink of its own, no glyph's: "1." is two
    // characters, however the recognizer boxed them.
    const QRectF after(only->box.right() + 1, word.box.top() - 2, 0.5 * glyph, word.box.height() + 4);
    return !several || std::none_of(shapes.begin(), shapes.end(), [&](const InkShape& shape) {
        return after.contains(QRectF(shape.box)) && shape.box.height() <= 0.4 * glyph;
    });
}

bool standsForOneGlyph(const WordBox& word, const WordBox& reading) {
    const QString text = reading.text.trimmed();
    return text.size() == 1 && text.front().isLetterOrNumber() && reading.confidence >= sureGlyph &&
           reading.confidence > word.confidence;
}

}  // namespace Platform::Recognition
