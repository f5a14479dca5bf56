#include "platform/recognition/ClosedEights.h"

#include "platform/recognition/GlyphHoles.h"
#include "platform/recognition/LookAlikes.h"

#include <algorithm>
#include <optional>

namespace Platform::Recognition {
namespace {

bool closesTwoBowls(const QImage& band, int threshold, const QRect& box) {
    const std::optional<GlyphCells> cells = glyphCells(band, threshold, box);
    // An "8" draws its top bowl smaller than its bottom one, not a speck beside it.
    return cells && closesStackedHoles(*cells, 4);
}

}  // namespace

void restoreClosedEights(std::vector<LineWords>& lines, const QImage& band, int threshold,
                         const std::vector<InkShape>& shapes) {
    for (LineWords& line : lines) {
        for (WordBox& word : line.words) {
            const auto halfEight = [](QChar c) { return c == u'3' || c == u'5'; };
            if (std::none_of(word.text.begin(), word.text.end(), halfEight))
                continue;
            // The recognizer's own glyph boxes can sit a glyph off; the ink's shapes, one
            // a character, place each digit.
            const std::optional<std::vector<QRect>> pieces = characterShapes(word, shapes);
            if (!pieces)
                continue;
            for (qsizetype i = 0; i < word.text.size(); ++i) {
                if (halfEight(word.text[i]) && closesTwoBowls(band, threshold, (*pieces)[static_cast<std::size_t>(i)]))
                    word.text[i] = u'8';
            }
        }
    }
}

}  // namespace Platform::Recognition
