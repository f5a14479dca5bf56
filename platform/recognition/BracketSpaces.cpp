#include "platform/recognition/BracketSpaces.h"

#include "platform/recognition/LookAlikes.h"

#include <algorithm>

namespace Platform::Recognition {
namespace {

// A fixed-width font centres a bracket in its cell, a little under half a glyph from the
// letter before it; a space sets it further apart, and well apart from the word's letters.
constexpr double spaceOfGlyph = 0.6;
constexpr double spaceOfLetterGap = 1.8;

bool opens(QChar c) { return c == u'(' || c == u'['; }

// The usual gap between the word's neighbouring characters, brackets left out.
std::optional<int> usualGap(const QString& text, const std::vector<QRect>& ink) {
    std::vector<int> gaps;
    for (std::size_t i = 1; i < ink.size(); ++i)
        if (!opens(text[static_cast<qsizetype>(i)]))
            gaps.push_back(std::max(1, ink[i].left() - ink[i - 1].right()));
    if (gaps.size() < 2)
        return std::nullopt;
    const auto middle = gaps.begin() + static_cast<std::ptrdiff_t>(gaps.size() / 2);
    std::nth_element(gaps.begin(), middle, gaps.end());
    return *middle;
}

}  // namespace

void restoreSpacesBeforeBrackets(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes, double glyph) {
    for (LineWords& line : lines) {
        std::vector<WordBox> split;
        for (const WordBox& word : line.words) {
            const QString& text = word.text;
            const auto bracket = std::find_if(text.begin() + std::min<qsizetype>(1, text.size()), text.end(), opens);
            const std::optional<std::vector<QRect>> ink =
                bracket != text.end() ? characterShapes(word, shapes) : std::nullopt;
            const std::optional<int> usual = ink ? usualGap(text, *ink) : std::nullopt;
            const auto at = static_cast<std::size_t>(bracket - text.begin());
            if (!usual || !text[static_cast<qsizetype>(at) - 1].isLetterOrNumber()) {
                split.push_back(word);
                continue;
            }
            const int gap = (*ink)[at].left() - (*ink)[at - 1].right();
            if (gap < spaceOfGlyph * glyph || gap < spaceOfLetterGap * *usual) {
                split.push_back(word);
                continue;
            }
            const qsizetype cut = static_cast<qsizetype>(at);
            const bool glyphsSpell = word.glyphs.size() == static_cast<std::size_t>(text.size());
            WordBox head{text.left(cut), word.box, word.confidence};
            WordBox tail{text.mid(cut), word.box, word.confidence};
            head.box.setRight((*ink)[at - 1].right() + 1);
            tail.box.setLeft((*ink)[at].left());
            if (glyphsSpell) {
                head.glyphs.assign(word.glyphs.begin(), word.glyphs.begin() + cut);
                tail.glyphs.assign(word.glyphs.begin() + cut, word.glyphs.end());
            }
            split.push_back(head);
            split.push_back(tail);
        }
        line.words = std::move(split);
    }
}

}  // namespace Platform::Recognition
