#include "platform/recognition/ShortFigures.h"

#include "platform/recognition/GlyphInk.h"

#include <algorithm>
#include <cmath>

namespace Platform::Recognition {
namespace {

// A small letter stands about 0.7 of a figure's height, an ascender a little over a
// figure's; old-style figures, as short as small letters, are read the same alone.
constexpr double smallShare = 0.85;

bool isXHeightLetter(QChar c) { return QStringLiteral("acemnorsuvwxz").contains(c); }

}  // namespace

std::vector<qsizetype> shortFigures(const WordBox& word, const LineWords& line, const std::vector<InkShape>& shapes) {
    if (std::none_of(word.text.begin(), word.text.end(), [](QChar c) { return c.isDigit(); }) || !glyphsSpell(word))
        return {};
    std::vector<int> bottoms;
    std::vector<const InkShape*> inLine;
    for (const InkShape& shape : shapes)
        if (line.box.contains(QRectF(shape.box).center())) {
            inLine.push_back(&shape);
            bottoms.push_back(shape.box.bottom());
        }
    if (inLine.size() < 4)
        return {};
    std::nth_element(bottoms.begin(), bottoms.begin() + static_cast<std::ptrdiff_t>(bottoms.size() / 2), bottoms.end());
    const int baseline = bottoms[bottoms.size() / 2];
    const auto onBaseline = [&](int bottom, int height) {
        return std::abs(bottom - baseline) <= std::max(1, height / 10);
    };
    // The line's tallest ink on its baseline: figures, capitals, ascenders.
    std::vector<int> heights;
    for (const InkShape* shape : inLine)
        if (onBaseline(shape->box.bottom(), shape->box.height()))
            heights.push_back(shape->box.height());
    if (heights.size() < 4)
        return {};
    std::sort(heights.begin(), heights.end());
    const int tall = heights[heights.size() * 9 / 10];
    std::vector<qsizetype> found;
    qsizetype at = 0;
    for (const GlyphBox& glyph : word.glyphs) {
        if (glyph.text.size() == 1 && glyph.text.front().isDigit()) {
            const std::optional<GlyphInk> ink = inkOf(glyph, line.box, shapes);
            const int height = ink ? static_cast<int>(ink->bottom - ink->top) : 0;
            if (ink && onBaseline(static_cast<int>(ink->bottom) - 1, height) && height < smallShare * tall)
                found.push_back(at);
        }
        at += glyph.text.size();
    }
    return found;
}

std::optional<QString> withShortFiguresRead(const QString& text, const std::vector<qsizetype>& at,
                                            const QString& alone) {
    if (at.empty() || alone.size() != text.size())
        return std::nullopt;
    QString read = text;
    for (const qsizetype p : at) {
        if (!isXHeightLetter(alone[p]))
            return std::nullopt;
        read[p] = alone[p];
    }
    return read;
}

}  // namespace Platform::Recognition
