#include "platform/recognition/Apostrophes.h"

#include <QString>

#include <algorithm>
#include <optional>

namespace Platform::Recognition {
namespace {

// The ink-weighted mean x of rows [top, bottom] of the box; nothing without ink.
std::optional<double> inkCentre(const QImage& gray, const QRect& box, int top, int bottom) {
    double weight = 0, sum = 0;
    for (int y = top; y <= bottom; ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = box.left(); x <= box.right(); ++x) {
            const double ink = 255.0 - line[x];
            weight += ink;
            sum += ink * x;
        }
    }
    return weight > 0 ? std::optional(sum / weight) : std::nullopt;
}

// The raised marks of a word that stand over no other ink: its apostrophes, left to
// right. Accents stand over their letters.
std::vector<QRect> raisedMarks(const WordBox& word, const std::vector<InkShape>& shapes, double glyph) {
    std::vector<const InkShape*> inside;
    std::vector<int> bottoms;
    for (const InkShape& shape : shapes) {
        if (!word.box.contains(QRectF(shape.box).center()))
            continue;
        inside.push_back(&shape);
        if (shape.box.height() >= 0.7 * glyph)
            bottoms.push_back(shape.box.bottom());
    }
    std::vector<QRect> marks;
    if (bottoms.size() < 2)
        return marks;
    std::sort(bottoms.begin(), bottoms.end());
    const int baseline = bottoms[bottoms.size() / 2];
    for (const InkShape* shape : inside) {
        const QRect& box = shape->box;
        if (box.height() > 0.8 * glyph || box.width() > 0.45 * glyph || box.bottom() > baseline - 0.5 * glyph)
            continue;
        const bool over = std::any_of(inside.begin(), inside.end(), [&](const InkShape* other) {
            return other != shape && other->box.top() > box.bottom() && other->box.left() <= box.right() &&
                   other->box.right() >= box.left();
        });
        if (!over)
            marks.push_back(box);
    }
    std::sort(marks.begin(), marks.end(), [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
    return marks;
}

}  // namespace

bool isCurlyMark(const QImage& gray, const QRect& box) {
    const QRect area = box & gray.rect();
    if (area.height() < 3)
        return false;
    const int middle = area.top() + area.height() / 2;
    const std::optional<double> upper = inkCentre(gray, area, area.top(), middle - 1);
    const std::optional<double> lower = inkCentre(gray, area, middle, area.bottom());
    // A straight stroke's halves stand one over the other, whatever its taper; a comma's
    // lean is a fraction of a pixel at screen sizes, which the anti-aliased ink shows.
    if (upper && lower && *upper - *lower >= std::max(0.25, 0.05 * area.height()))
        return true;
    // Where the comma's tail turns left only in its last row, the faint columns beside
    // the mark carry that lean; a straight stroke tapers evenly down to its tip.
    const QRect wider = box.adjusted(-1, 0, 1, 0) & gray.rect();
    const std::optional<double> head = inkCentre(gray, wider, wider.top(), middle - 1);
    const std::optional<double> tip = inkCentre(gray, wider, wider.bottom(), wider.bottom());
    if (head && tip && *head - *tip >= std::max(0.3, 0.04 * area.height()))
        return true;
    // A sans-serif comma whose round head spreads left as far as its tail: the tail
    // comes down the head's right side and turns left in its last row, past the rows
    // above it.
    const std::optional<double> neck = inkCentre(gray, wider, middle, wider.bottom() - 1);
    return area.height() >= 4 && neck && tip && *neck - *tip >= std::max(0.3, 0.04 * area.height());
}

void restoreApostrophes(std::vector<LineWords>& lines, const QImage& gray, const std::vector<InkShape>& shapes,
                        double glyph) {
    if (glyph <= 0)
        return;
    for (LineWords& line : lines) {
        for (WordBox& word : line.words) {
            const auto count = word.text.count(u'\'');
            if (count == 0)
                continue;
            const std::vector<QRect> marks = raisedMarks(word, shapes, glyph);
            // Each mark must be told apart; quotes around the word are left as read.
            if (static_cast<qsizetype>(marks.size()) != count)
                continue;
            qsizetype at = 0;
            for (const QRect& mark : marks) {
                at = word.text.indexOf(u'\'', at);
                const bool between = at > 0 && at + 1 < word.text.size() && word.text[at - 1].isLetter() &&
                                     word.text[at + 1].isLetter();
                if (between && isCurlyMark(gray, mark))
                    word.text[at] = QChar(0x2019);
                ++at;
            }
        }
    }
}

}  // namespace Platform::Recognition
