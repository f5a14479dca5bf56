#include "platform/recognition/InvertedMarks.h"

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

}  // namespace

void restoreInvertedMarks(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes, double glyph) {
    if (glyph <= 0)
        return;
    for (LineWords& line : lines)
        for (WordBox& word : line.words)
            if (word.text.size() >= 2 && readsAsI(word.text.front()) && word.text[1].isLetter() &&
                hangsFirst(word, shapes, glyph))
                word.text[0] = QChar(0x00a1);
}

}  // namespace Platform::Recognition
