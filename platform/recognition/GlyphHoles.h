#pragma once

// The ground a glyph's ink closes in: what tells a "0" with a mark, an "8" or a "3" apart
// when their outlines alike fool the recognizer.

#include <QImage>
#include <QRect>

#include <optional>
#include <vector>

namespace Platform::Recognition {

// A glyph's box as ground (true) and ink, with a ground frame around it so that every
// way out of the glyph meets the frame.
struct GlyphCells {
    int width = 0;
    int height = 0;
    std::vector<char> ground;
    bool at(int x, int y) const { return ground[static_cast<std::size_t>(y * width + x)] != 0; }
};

// `band` is dark text on a light ground; pixels at `threshold` or above are ground.
// Nothing for a box off the band or too small to tell holes in.
std::optional<GlyphCells> glyphCells(const QImage& band, int threshold, const QRect& box);

// An area of ground the ink closes in, in the frame's rows.
struct Hole {
    int top = 0;
    int bottom = 0;
    int cells = 0;
};

// Ground runs on through sides, not corners: ink touching at a corner closes.
std::vector<Hole> holesOf(const GlyphCells& cells);

// Whether the ink closes two holes, one over the other across its middle, the larger at
// most `ratio` times the smaller: the two bowls of an "8", or a ring split by its mark.
bool closesStackedHoles(const GlyphCells& cells, int ratio);

}  // namespace Platform::Recognition
