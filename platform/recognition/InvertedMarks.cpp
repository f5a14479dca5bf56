#include "platform/recognition/InvertedMarks.h"

#include "platform/recognition/GlyphInk.h"

#include <QString>

#include <algorithm>

namespace Platform::Recognition {
namespace {

bool readsAsI(QChar ch) { return QStringLiteral("i\u012f\u00ec\u00ed\u00ee\u00ef").contains(ch); }

// The word's first stroke hangs below the baseline of its later letters, by more than
// anti-aliasing explains and less than a descender's whole depth does not matter.
bool hangsFirst(const WordBox& word, const std::vector<InkShape>& shapes, double glyph) {
    std::vector<const InkShape*> strokes;
    for (const InkShape& shape : shapes)
        if (word.box.contains(QRectF(shape.box).center()) && shape.box.height() >= 0.5 * glyph)
            strokes.push_back(&shape);
    if (strokes.size() < 3)
        return false;
    std::sort(strokes.begin(), strokes.end(),
              [](const InkShape* a, const InkShape* b) { return a->box.left() < b->box.left(); });
    std::vector<int> bottoms;
    for (auto it = strokes.begin() + 1; it != strokes.end(); ++it)
        bottoms.push_back((*it)->box.bottom());
    std::sort(bottoms.begin(), bottoms.end());
    const int baseline = bottoms[bottoms.size() / 2];
    const QRect& first = strokes.front()->box;
    // A thin stroke: an "i" or "¡", not a "j" or a round letter.
    return first.width() <= 0.45 * glyph && first.bottom() >= baseline + std::max(1.0, 0.15 * glyph);
}

// Hanging below the line like a "j", the mark can be read twice, as "į" and as a "j"
// boxed over nothing but the mark and the next letter ("¡jGracias"): that "j" holds no
// ink of its own.
bool readTwice(const WordBox& word, const std::vector<InkShape>& shapes) {
    if (!glyphsSpell(word) || word.glyphs.size() < 3 || word.glyphs[1].text != u"j")
        return false;
    const QRectF& box = word.glyphs[1].box;
    return std::none_of(shapes.begin(), shapes.end(), [&](const InkShape& shape) {
        const QPointF middle = QRectF(shape.box).center();
        return middle.x() >= box.left() && middle.x() <= box.right() && middle.y() >= box.top() &&
               middle.y() <= box.bottom();
    });
}

}  // namespace

void restoreInvertedMarks(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes, double glyph) {
    if (glyph <= 0)
        return;
    for (LineWords& line : lines) {
        for (WordBox& word : line.words) {
            if (word.text.size() < 2 || !readsAsI(word.text.front()) || !word.text[1].isLetter() ||
                !hangsFirst(word, shapes, glyph))
                continue;
            if (readTwice(word, shapes)) {
                word.text.remove(1, 1);
                word.glyphs.erase(word.glyphs.begin() + 1);
            }
            const bool spelled = glyphsSpell(word);
            word.text[0] = QChar(0x00a1);
            if (spelled)
                word.glyphs.front().text = word.text.left(1);
        }
    }
}

}  // namespace Platform::Recognition
