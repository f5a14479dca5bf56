#include "platform/recognition/Periods.h"

#include "platform/recognition/GlyphInk.h"

#include <cmath>
#include <optional>

namespace Platform::Recognition {

void restorePeriods(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes) {
    for (LineWords& line : lines) {
        LazyLineHeights measured(line, shapes);
        for (WordBox& word : line.words) {
            if (!word.text.contains(u'-') || !glyphsSpell(word))
                continue;
            const std::optional<LineHeights>& heights = measured.get();
            if (!heights)
                break;
            qsizetype at = 0;
            for (GlyphBox& glyph : word.glyphs) {
                const std::optional<GlyphInk> ink =
                    glyph.text == u"-" ? inkOf(glyph, line.box, shapes) : std::nullopt;
                // A dot: about as wide as high, its foot on the baseline, no higher than
                // a third of the x-height.
                if (ink && ink->width <= 1.5 * (ink->bottom - ink->top) &&
                    std::abs(ink->bottom - heights->baseline) <= 0.15 * heights->xHeight &&
                    heights->baseline - ink->top <= 0.4 * heights->xHeight) {
                    glyph.text = QStringLiteral(".");
                    word.text[at] = u'.';
                }
                at += glyph.text.size();
            }
        }
    }
}

}  // namespace Platform::Recognition
