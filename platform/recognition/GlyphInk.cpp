#include "platform/recognition/GlyphInk.h"

#include <QString>

#include <algorithm>

namespace Platform::Recognition {
namespace {

bool isSmallLetter(const QString& text) { return text.size() == 1 && QStringLiteral("aemnru").contains(text.front()); }
bool isTallGlyph(const QString& text) {
    return text.size() == 1 && QStringLiteral("ABDEFHKLMNPRTUbdhkl0123456789").contains(text.front());
}

double median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

}  // namespace

std::optional<GlyphInk> inkOf(const GlyphBox& glyph, const QRectF& line, const std::vector<InkShape>& shapes) {
    std::optional<GlyphInk> ink;
    for (const InkShape& shape : shapes) {
        const QPointF middle = QRectF(shape.box).center();
        if (middle.x() < glyph.box.left() || middle.x() > glyph.box.right() || middle.y() < line.top() ||
            middle.y() > line.bottom())
            continue;
        // Glyphs that touch make one shape: not this glyph's ink alone.
        const double within = std::min(glyph.box.right(), shape.box.right() + 1.0) -
                              std::max(glyph.box.left(), static_cast<double>(shape.box.left()));
        if (ink || within < 0.75 * std::max<double>(shape.box.width(), glyph.box.width()))
            return std::nullopt;
        ink = GlyphInk{static_cast<double>(shape.box.top()), static_cast<double>(shape.box.bottom() + 1),
                       static_cast<double>(shape.box.width()), static_cast<double>(shape.box.left())};
    }
    return ink;
}

std::optional<LineHeights> lineHeights(const LineWords& line, const std::vector<InkShape>& shapes) {
    std::vector<double> small, tall, baselines;
    for (const WordBox& word : line.words) {
        for (const GlyphBox& glyph : word.glyphs) {
            const bool isSmall = isSmallLetter(glyph.text);
            if (!isSmall && !isTallGlyph(glyph.text))
                continue;
            if (const std::optional<GlyphInk> ink = inkOf(glyph, line.box, shapes)) {
                (isSmall ? small : tall).push_back(ink->top);
                baselines.push_back(ink->bottom);
            }
        }
    }
    if (small.empty())
        return std::nullopt;
    LineHeights heights;
    heights.baseline = median(baselines);
    heights.xHeight = heights.baseline - median(small);
    if (!tall.empty())
        heights.capHeight = heights.baseline - median(tall);
    if (!(heights.xHeight > 0))
        return std::nullopt;
    return heights;
}

std::optional<LineHeights> tallHeights(const LineWords& line, const std::vector<InkShape>& shapes) {
    std::vector<double> tops, baselines;
    for (const WordBox& word : line.words) {
        for (const GlyphBox& glyph : word.glyphs) {
            if (!isTallGlyph(glyph.text))
                continue;
            if (const std::optional<GlyphInk> ink = inkOf(glyph, line.box, shapes)) {
                tops.push_back(ink->top);
                baselines.push_back(ink->bottom);
                continue;
            }
            // A letter read alone may come back boxed on a part of its ink.
            const auto holder = std::find_if(shapes.begin(), shapes.end(), [&](const InkShape& shape) {
                return word.glyphs.size() == 1 && QRectF(shape.box).contains(glyph.box.center());
            });
            if (holder != shapes.end()) {
                tops.push_back(holder->box.top());
                baselines.push_back(holder->box.bottom() + 1);
            }
        }
    }
    if (tops.empty())
        return std::nullopt;
    LineHeights heights;
    heights.baseline = median(baselines);
    heights.capHeight = heights.baseline - median(tops);
    if (!(*heights.capHeight > 0))
        return std::nullopt;
    return heights;
}

bool glyphsSpell(const WordBox& word) {
    QString spelled;
    for (const GlyphBox& glyph : word.glyphs)
        spelled += glyph.text;
    return !word.glyphs.empty() && spelled == word.text;
}

std::optional<QRect> localInk(const QImage& gray, const QRect& area, int contrast) {
    const QRect inside = area.intersected(gray.rect());
    if (inside.isEmpty())
        return std::nullopt;
    int darkest = 255;
    int lightest = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const uchar* row = gray.constScanLine(y);
        for (int x = inside.left(); x <= inside.right(); ++x) {
            darkest = std::min<int>(darkest, row[x]);
            lightest = std::max<int>(lightest, row[x]);
        }
    }
    if (lightest - darkest < contrast)
        return std::nullopt;
    QRect ink;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const uchar* row = gray.constScanLine(y);
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (2 * row[x] < darkest + lightest)
                ink = ink.united(QRect(x, y, 1, 1));
    }
    return ink;
}

}  // namespace Platform::Recognition
