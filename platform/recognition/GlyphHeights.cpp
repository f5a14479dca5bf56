#include "platform/recognition/GlyphHeights.h"

#include "platform/recognition/SingleGlyphs.h"

#include <algorithm>

namespace Platform::Recognition {
namespace {

// A reading this sure stands whatever its ink.
constexpr float unsureBelow = 0.6f;
// Read again alone, the glyph need not be sure, only surer, and of the ink's height.
constexpr float likelyGlyph = 0.5f;

}  // namespace

std::optional<GlyphHeight> heightOf(QChar c) {
    if (c.isDigit() || (c.isUpper() && c.unicode() < 0x80) || QStringView(u"bdfhkl").contains(c))
        return GlyphHeight::tall;
    if (QStringView(u"acemnorsuvwxz").contains(c))
        return GlyphHeight::small;
    return std::nullopt;
}

std::optional<GlyphHeight> contradictedHeight(const WordBox& word, const LineWords& line,
                                              const std::vector<InkShape>& shapes, int pictureHeight) {
    const QString text = word.text.trimmed();
    if (text.size() != 1 || word.confidence >= unsureBelow)
        return std::nullopt;
    const std::optional<GlyphHeight> read = heightOf(text.front());
    if (!read)
        return std::nullopt;
    std::vector<double> small;
    for (const WordBox& other : line.words) {
        if (&other == &word)
            continue;
        for (const GlyphBox& glyph : other.glyphs) {
            if (glyph.text.size() != 1 || heightOf(glyph.text.front()) != GlyphHeight::small)
                continue;
            // The recognizer's boxes are loose; the letter's own ink is measured.
            const QRectF around = glyph.box.adjusted(-1, -1, 1, 1);
            const auto inside = [&](const InkShape& shape) { return around.contains(QRectF(shape.box)); };
            if (std::count_if(shapes.begin(), shapes.end(), inside) == 1)
                small.push_back(std::find_if(shapes.begin(), shapes.end(), inside)->box.height());
        }
    }
    // Too few small letters to know the line's x-height.
    if (small.size() < 2)
        return std::nullopt;
    const auto middle = small.begin() + static_cast<std::ptrdiff_t>(small.size() / 2);
    std::nth_element(small.begin(), middle, small.end());
    const double xHeight = *middle;
    const InkShape* only = onlyShapeUnder(word, shapes, pictureHeight);
    if (only == nullptr)
        return std::nullopt;
    // Between the two the ink is left to the reading.
    const double height = only->box.height();
    const std::optional<GlyphHeight> ink = height >= 1.15 * xHeight  ? std::optional(GlyphHeight::tall)
                                           : height <= 1.05 * xHeight ? std::optional(GlyphHeight::small)
                                                                     : std::nullopt;
    if (!ink || ink == read)
        return std::nullopt;
    return ink;
}

bool fitsInkHeight(const WordBox& word, const WordBox& reading, GlyphHeight ink) {
    const QString text = reading.text.trimmed();
    return text.size() == 1 && text.front().isLetterOrNumber() && heightOf(text.front()) == ink &&
           reading.confidence >= likelyGlyph && reading.confidence > word.confidence;
}

}  // namespace Platform::Recognition
