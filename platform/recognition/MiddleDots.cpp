#include "platform/recognition/MiddleDots.h"

#include <algorithm>

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

// The ink whose centre lies in the word's box, or the box itself where none does.
QRectF inkOf(const QRectF& box, const std::vector<InkShape>& shapes) {
    QRectF ink;
    for (const InkShape& shape : shapes)
        if (box.contains(QRectF(shape.box).center()))
            ink = ink.united(QRectF(shape.box));
    return ink.isEmpty() ? box : ink;
}

}  // namespace

void restoreMiddleDots(std::vector<LineWords>& lines, double glyph, const std::vector<InkShape>& shapes) {
    if (glyph <= 0)
        return;
    for (LineWords& line : lines) {
        for (std::size_t i = 1; i + 1 < line.words.size(); ++i) {
            WordBox& word = line.words[i];
            if (!isDotReading(word.text.trimmed()))
                continue;
            const QRectF box = inkOf(word.box, shapes);
            if (box.width() > 0.4 * glyph || box.height() > 0.4 * glyph ||
                box.width() > 2 * box.height() || box.height() > 2 * box.width())
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
