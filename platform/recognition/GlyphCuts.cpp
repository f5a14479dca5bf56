#include "platform/recognition/GlyphCuts.h"

#include <algorithm>

namespace Platform::Recognition {

namespace {

// A word this short and this unsure may be a scrap; longer or surer words are text.
constexpr qsizetype longestCut = 2;
constexpr float surestCut = 0.5F;
// Small letters stand about half a glyph high; a scrap of tops far less.
constexpr double flattestLetter = 0.3;

bool isCut(const WordBox& word, double glyph) {
    const QString text = word.text.trimmed();
    return !text.isEmpty() && text.size() <= longestCut && word.confidence < surestCut &&
           std::all_of(text.begin(), text.end(), [](QChar ch) { return ch.isLetterOrNumber(); }) &&
           word.box.height() < flattestLetter * glyph;
}

}  // namespace

void dropGlyphCuts(std::vector<LineWords>& lines, double glyph) {
    if (glyph <= 0)
        return;
    for (LineWords& line : lines)
        std::erase_if(line.words, [&](const WordBox& word) { return isCut(word, glyph); });
    std::erase_if(lines, [](const LineWords& line) { return line.words.empty(); });
}

}  // namespace Platform::Recognition
