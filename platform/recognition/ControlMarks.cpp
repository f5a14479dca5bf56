#include "platform/recognition/ControlMarks.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <optional>

namespace Platform::Recognition {
namespace {

constexpr qsizetype longestMark = 2;

bool inkIn(const QImage& gray, const QRect& area, int threshold) {
    const QRect clipped = area & gray.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (line[x] < threshold)
                return true;
    }
    return false;
}

bool belongsTo(const WordBox& word, const InkShape& shape) {
    // The recognizer's box may cover only part of a control's shape.
    const QRectF box(shape.box);
    return word.box.contains(box.center()) || box.contains(word.box.center());
}

// The box around all the word's ink.
QRect inkBox(const WordBox& word, const std::vector<InkShape>& shapes) {
    QRect box;
    for (const InkShape& shape : shapes)
        if (belongsTo(word, shape))
            box = box.united(shape.box);
    return box;
}

// The one shape that holds (nearly) all the word's ink, if there is one.
std::optional<InkShape> onlyShape(const WordBox& word, const std::vector<InkShape>& shapes) {
    std::optional<InkShape> biggest;
    long total = 0;
    for (const InkShape& shape : shapes) {
        if (!belongsTo(word, shape))
            continue;
        total += shape.ink;
        if (!biggest || shape.ink > biggest->ink)
            biggest = shape;
    }
    if (!biggest || 10 * biggest->ink < 9 * total)
        return std::nullopt;
    return biggest;
}

// A frame's sides are straight: the middle of each runs along the box's edge, whatever
// the rounding of its corners. A small "C", "D" or "O" puts ink in its box's corners
// too, but its sides bow in or are open.
// `end` is the share of each side left out at either end, `share` how much of the rest
// must be inked.
bool hasStraightSides(const QImage& gray, const QRect& box, int threshold, double end = 0.2, double share = 0.8) {
    const auto straight = [&](int length, auto edgeAt) {
        const int from = static_cast<int>(end * length);
        const int to = length - from;
        int inked = 0;
        for (int i = from; i < to; ++i)
            inked += inkIn(gray, edgeAt(i), threshold) ? 1 : 0;
        return inked >= share * (to - from);
    };
    return straight(box.height(), [&](int y) { return QRect(box.left(), box.top() + y, 1, 1); }) &&
           straight(box.height(), [&](int y) { return QRect(box.right(), box.top() + y, 1, 1); }) &&
           straight(box.width(), [&](int x) { return QRect(box.left() + x, box.top(), 1, 1); }) &&
           straight(box.width(), [&](int x) { return QRect(box.left() + x, box.bottom(), 1, 1); });
}

// A square, either solid with ink in all four corners or an empty frame with straight
// sides. Round glyphs ("O", "@", "®") leave their corners empty and bow at their sides;
// letters with corners ("H", "N") have ink inside. A frame's corners may be rounded off.
bool isCheckBox(const QImage& gray, const QRect& box, int threshold, double glyph) {
    const double aspect = static_cast<double>(box.width()) / box.height();
    if (aspect < 0.8 || aspect > 1.25 || box.height() < 0.8 * glyph || box.height() > 3.0 * glyph)
        return false;
    const int corner = std::max(1, static_cast<int>(std::lround(0.15 * box.width())));
    const QSize size(corner, corner);
    bool corners = true;
    for (const QPoint& at : {box.topLeft(), QPoint(box.right() - corner + 1, box.top()),
                             QPoint(box.left(), box.bottom() - corner + 1),
                             QPoint(box.right() - corner + 1, box.bottom() - corner + 1)})
        corners = corners && inkIn(gray, QRect(at, size), threshold);
    const QRect middle(box.left() + static_cast<int>(0.3 * box.width()), box.top() + static_cast<int>(0.3 * box.height()),
                       std::max(1, static_cast<int>(0.4 * box.width())), std::max(1, static_cast<int>(0.4 * box.height())));
    long ink = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = box.left(); x <= box.right(); ++x)
            ink += line[x] < threshold ? 1 : 0;
    }
    const bool solid = corners && ink >= 0.8 * box.width() * box.height();
    // Rounded corners leave the corners empty; the sides then run straight nearly to them,
    // which the bowed side of a small "D" does not.
    return solid || (!inkIn(gray, middle, threshold) && hasStraightSides(gray, box, threshold) &&
                     (corners || hasStraightSides(gray, box, threshold, 0.15, 0.8)));
}

// A chevron's lowest ink is its one tip, in the middle; two capitals ("VY", "VW"),
// kerned into one shape, stand on two or more points.
bool standsOnMiddleTip(const QImage& gray, const QRect& box, int threshold) {
    const QRect clipped = box & gray.rect();
    for (int y = clipped.bottom(); y >= clipped.top(); --y) {
        const uchar* line = gray.constScanLine(y);
        int left = -1, right = -1;
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (line[x] < threshold) {
                left = left < 0 ? x : left;
                right = x;
            }
        if (left >= 0)
            return left - clipped.left() >= 0.3 * clipped.width() && clipped.right() - right >= 0.3 * clipped.width();
    }
    return false;
}

// A chevron: a "v" wider than it is tall, no taller than small letters. A "w" is as
// wide as that, so a reading with one needs a flatter shape. A drop-down's chevron may
// stand as tall as capitals: no "V" is that wide either, and one shape read as two
// letters ("VW", "VY") is no word: two such capitals stand twice as wide.
bool isChevron(const QString& text, const QRect& box, double glyph, bool oneShape, const QImage& gray, int threshold) {
    if (box.isEmpty() || box.height() > 1.3 * glyph)
        return false;
    const bool readAsV = std::all_of(text.begin(), text.end(), [](QChar ch) { return QStringLiteral("vVy").contains(ch); });
    const bool readAsW = std::all_of(text.begin(), text.end(), [](QChar ch) { return QStringLiteral("vVwW").contains(ch); });
    const double aspect = static_cast<double>(box.width()) / box.height();
    if (box.height() > 0.9 * glyph) {
        if (text.size() == 1)
            return readAsV && aspect >= 1.3;
        const bool readAsVs = std::all_of(text.begin(), text.end(),
                                          [](QChar ch) { return QStringLiteral("vVwWyY").contains(ch); });
        return readAsVs && oneShape && aspect >= 1.3 && standsOnMiddleTip(gray, box, threshold);
    }
    return (readAsV && aspect >= 1.3) || (readAsW && aspect >= 1.8);
}

}  // namespace

void dropControlMarks(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                      const std::vector<InkShape>& shapes, double glyph) {
    if (glyph <= 0)
        return;
    for (LineWords& line : lines) {
        std::erase_if(line.words, [&](const WordBox& word) {
            const QString text = word.text.trimmed();
            if (text.isEmpty() || text.size() > longestMark)
                return false;
            // A chevron's two strokes may part at its tip.
            const std::optional<InkShape> shape = onlyShape(word, shapes);
            if (isChevron(text, inkBox(word, shapes), glyph, shape.has_value(), gray, threshold))
                return true;
            // A thin frame can break into pieces at the ink level: judged by their box.
            return isCheckBox(gray, shape ? shape->box : inkBox(word, shapes), threshold, glyph);
        });
    }
    std::erase_if(lines, [](const LineWords& line) { return line.words.empty(); });
}

}  // namespace Platform::Recognition
