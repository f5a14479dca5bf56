#include "platform/recognition/FigurePoints.h"

#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace Platform::Recognition {
namespace {

bool isSeparator(QChar ch) { return ch == u'.' || ch == u','; }

// The shapes inside the word's box, left to right.
std::vector<QRect> shapesIn(const WordBox& word, const std::vector<InkShape>& shapes) {
    std::vector<QRect> inside;
    for (const InkShape& shape : shapes)
        if (word.box.contains(QRectF(shape.box).center()))
            inside.push_back(shape.box);
    std::sort(inside.begin(), inside.end(), [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
    return inside;
}

// A point or a comma: far smaller than a digit, and not a dash.
bool isDot(const QRect& box, double glyph) {
    return box.width() <= 0.35 * glyph && box.height() <= 0.6 * glyph && box.width() <= 2 * box.height();
}

struct Ink {
    int digits = 0;
    int points = 0;
};

// Digit-sized shapes, and the points and commas on their baseline between two of them.
Ink inkOf(const WordBox& word, const std::vector<InkShape>& shapes, double glyph) {
    const std::vector<QRect> inside = shapesIn(word, shapes);
    std::vector<int> bottoms;
    int first = -1, last = -1;
    for (std::size_t i = 0; i < inside.size(); ++i) {
        if (isDot(inside[i], glyph))
            continue;
        bottoms.push_back(inside[i].bottom());
        first = first < 0 ? inside[i].center().x() : first;
        last = inside[i].center().x();
    }
    Ink ink;
    ink.digits = static_cast<int>(bottoms.size());
    if (bottoms.size() < 2)
        return ink;
    std::sort(bottoms.begin(), bottoms.end());
    const int baseline = bottoms[bottoms.size() / 2];
    for (const QRect& box : inside) {
        const int x = box.center().x();
        // On the baseline: a point sits on it, a comma hangs from it.
        const bool onBaseline = box.top() >= baseline - 0.4 * glyph && box.bottom() <= baseline + 0.4 * glyph + 1;
        if (isDot(box, glyph) && onBaseline && x > first && x < last)
            ++ink.points;
    }
    return ink;
}

qsizetype digitCount(const QString& text) {
    return std::count_if(text.begin(), text.end(), [](QChar ch) { return ch.isDigit(); });
}

QString digitsOf(const QString& text) {
    QString digits;
    for (const QChar ch : text)
        if (ch.isDigit())
            digits.append(ch);
    return digits;
}

// Points and commas inside a reading, between two of its characters.
qsizetype innerSeparators(const QString& text) {
    const QString trimmed = text.trimmed();
    qsizetype count = 0;
    for (qsizetype i = 1; i + 1 < trimmed.size(); ++i)
        count += isSeparator(trimmed[i]) && !trimmed[i - 1].isSpace() && !trimmed[i + 1].isSpace() ? 1 : 0;
    return count;
}

}  // namespace

QString figureReadingCharacters() { return QStringLiteral("0123456789.,"); }

bool missesPoint(const WordBox& word, const std::vector<InkShape>& shapes, double glyph) {
    static const QRegularExpression digitsOnly(QStringLiteral("^\\d{2,}$"));
    if (glyph <= 0 || !digitsOnly.match(word.text.trimmed()).hasMatch())
        return false;
    return inkOf(word, shapes, glyph).points > 0;
}

bool isPointedReading(const QString& reading, const WordBox& word, const std::vector<InkShape>& shapes,
                      double glyph) {
    static const QRegularExpression figure(QStringLiteral("^\\d+(?:[.,]\\d+)+$"));
    const QString text = reading.trimmed();
    if (!figure.match(text).hasMatch())
        return false;
    const Ink ink = inkOf(word, shapes, glyph);
    const auto separators = std::count_if(text.begin(), text.end(), isSeparator);
    // Touching digits ("44") make one shape: the same digits as the first reading will do.
    const bool sameDigits = digitCount(text) == ink.digits || digitsOf(text) == digitsOf(word.text);
    return sameDigits && separators == ink.points;
}

std::optional<QString> pointedFromInk(const WordBox& word, const std::vector<InkShape>& shapes, double glyph) {
    if (!missesPoint(word, shapes, glyph))
        return std::nullopt;
    const QString text = word.text.trimmed();
    const std::vector<QRect> inside = shapesIn(word, shapes);
    std::vector<QRect> dots;
    std::vector<int> bottoms;
    for (const QRect& box : inside) {
        if (isDot(box, glyph))
            dots.push_back(box);
        else
            bottoms.push_back(box.bottom());
    }
    // Every digit its own shape and one dot only: a colon's upper dot or a second point
    // leaves the place of the point in doubt.
    if (dots.size() != 1 || static_cast<qsizetype>(bottoms.size()) != text.size())
        return std::nullopt;
    std::sort(bottoms.begin(), bottoms.end());
    const int baseline = bottoms[bottoms.size() / 2];
    const QRect& dot = dots.front();
    qsizetype before = 0;
    for (const QRect& box : inside)
        before += !isDot(box, glyph) && box.center().x() < dot.center().x() ? 1 : 0;
    // A comma hangs below the digits' feet.
    const QChar mark = dot.bottom() > baseline + std::max(1.0, 0.12 * glyph) ? u',' : u'.';
    return text.left(before) + mark + text.mid(before);
}

bool keepsPoints(const QString& first, const QString& second) {
    return innerSeparators(second) >= innerSeparators(first);
}

}  // namespace Platform::Recognition
