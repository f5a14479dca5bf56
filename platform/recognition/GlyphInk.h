#pragma once

// Where a recognized glyph's ink lies, and the baseline and x-height of a line measured
// on its letters' ink: what rules that tell glyphs apart by height and place go by.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <optional>
#include <vector>

namespace Platform::Recognition {

struct GlyphInk {
    double top = 0;
    // One past the last row.
    double bottom = 0;
    double width = 0;
    double left = 0;
};

// The ink of a glyph that is one shape: the one shape whose middle lies within the
// glyph's columns and the line's rows, and that lies within them. Nothing for a box the
// recognizer placed over two shapes or none, or for glyphs that touch.
std::optional<GlyphInk> inkOf(const GlyphBox& glyph, const QRectF& line, const std::vector<InkShape>& shapes);

struct LineHeights {
    double baseline = 0;
    double xHeight = 0;
    // Of capitals and ascenders; nothing when the line has none to measure.
    std::optional<double> capHeight;
};

// Measured on the line's letters that are only ever small ("a", "e", "m", "n", "r", "u")
// and only ever tall without a descender; nothing without a small letter.
std::optional<LineHeights> lineHeights(const LineWords& line, const std::vector<InkShape>& shapes);

// A line's heights measured the first time a rule asks for them: most lines hold no
// glyph in doubt.
class LazyLineHeights {
public:
    LazyLineHeights(const LineWords& line, const std::vector<InkShape>& shapes) : line_(line), shapes_(shapes) {}
    const std::optional<LineHeights>& get() {
        if (!measured_)
            heights_ = lineHeights(line_, shapes_);
        measured_ = true;
        return heights_;
    }

private:
    const LineWords& line_;
    const std::vector<InkShape>& shapes_;
    std::optional<LineHeights> heights_;
    bool measured_ = false;
};

// The baseline and capital height measured on the line's capitals and figures alone;
// the x-height is left at nothing. Nothing without such a glyph.
std::optional<LineHeights> tallHeights(const LineWords& line, const std::vector<InkShape>& shapes);

// The word's glyphs spell its text.
bool glyphsSpell(const WordBox& word);

// The box of the ink in `area` of `gray` darker than halfway between the area's lightest
// and darkest pixels: a small mark fainter than the page's ink threshold (a light dot on
// a coloured ground) measured against its own ground. Nothing where the area's pixels
// differ by less than `contrast` levels.
std::optional<QRect> localInk(const QImage& gray, const QRect& area, int contrast);

}  // namespace Platform::Recognition
