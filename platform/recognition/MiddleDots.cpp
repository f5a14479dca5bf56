#include "platform/recognition/MiddleDots.h"

#include "platform/recognition/GlyphInk.h"

#include <algorithm>
#include <optional>

namespace Platform::Recognition {
namespace {

// What the recognizer makes of a middle dot.
bool isDotReading(const QString& text) {
    static const QString readings = QStringLiteral(":.\u00ab\u00bb*'`\u00b0,~-\u2022\u00b7");
    return text.size() == 1 && readings.contains(text.front());
}

// The baseline of the line: where most of its words end, descenders aside.
double baselineOf(const LineWords& line, std::size_t skipped) {
    std::vector<double> bottoms;
    for (std::size_t i = 0; i < line.words.size(); ++i)
        if (i != skipped)
            bottoms.push_back(line.words[i].box.bottom());
    std::sort(bottoms.begin(), bottoms.end());
    return bottoms[(bottoms.size() - 1) / 2];
}

// The ink whose centre lies in the word's box. Where no shape does, the dot is fainter
// than the page's ink everywhere: it is sought in the box itself against its own ground,
// not around it, where the neighbouring letters stand. The box is left where none shows.
QRectF inkOf(const QRectF& box, const std::vector<InkShape>& shapes, const QImage& gray) {
    QRectF ink;
    for (const InkShape& shape : shapes)
        if (box.contains(QRectF(shape.box).center()))
            ink = ink.united(QRectF(shape.box));
    if (!ink.isEmpty())
        return ink;
    if (!gray.isNull())
        if (const std::optional<QRect> faint = localInk(gray, box.toAlignedRect() & gray.rect(), 64))
            return QRectF(*faint);
    return box;
}

bool dotSized(const QRectF& box, double glyph) {
    return box.width() <= 0.4 * glyph && box.height() <= 0.4 * glyph && box.width() <= 2 * box.height() &&
           box.height() <= 2 * box.width();
}

// A faint dot's threshold cuts off its antialiased rim unevenly, leaving a flat bar of a
// pixel's height; cut halfway between its darkest pixel and the ground around it, a dot
// is round again and a hyphen's stroke stays flat.
QRectF evenInk(const QImage& gray, const QRectF& ink) {
    const std::optional<QRect> even = localInk(gray, ink.toAlignedRect().adjusted(-2, -2, 2, 2), 0);
    return even && !even->isEmpty() ? QRectF(*even) : ink;
}

}  // namespace

void restoreMiddleDots(std::vector<LineWords>& lines, double glyph, const std::vector<InkShape>& shapes,
                       const QImage& gray) {
    if (glyph <= 0)
        return;
    for (LineWords& line : lines) {
        for (std::size_t i = 1; i + 1 < line.words.size(); ++i) {
            WordBox& word = line.words[i];
            if (!isDotReading(word.text.trimmed()))
                continue;
            QRectF box = inkOf(word.box, shapes, gray);
            if (!dotSized(box, glyph) && !gray.isNull() && box.width() <= 0.4 * glyph &&
                box.height() <= 0.4 * glyph)
                box = evenInk(gray, box);
            if (!dotSized(box, glyph))
                continue;
            // The glyph height is about the x-height: a middle dot's centre lies around
            // half of it above the baseline, a period's on it.
            const double rise = baselineOf(line, i) - box.center().y();
            if (rise >= 0.25 * glyph && rise <= 0.8 * glyph)
                word.text = QStringLiteral("\u00b7");
        }
    }
}

}  // namespace Platform::Recognition
