#pragma once

// A link's underline runs just under the baseline, broken where descenders pass. The
// recognizer takes the pieces for parts of the glyphs above them: the stretch under an
// "l" becomes the point of a "!", the one under "//" the foot of a "J". Thin horizontal
// lines longer than any glyph's stroke are no part of the text and go before reading.

#include <QImage>

#include <optional>

namespace Platform::Recognition {

// Erases, in a gray picture of dark text on a light ground, the thin horizontal lines
// under text: a piece at least two glyph heights long and the pieces in its row that
// follow it after short gaps. A long piece may touch glyphs (a "/" reaching down to it);
// strokes that cross it stay. Returns the number of lines erased. `glyph` is the text's
// median glyph height; without it nothing is erased.
int eraseUnderlines(QImage& gray, std::optional<double> glyph);

}  // namespace Platform::Recognition
