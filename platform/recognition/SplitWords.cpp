#include "platform/recognition/SplitWords.h"

#include "platform/recognition/LookAlikes.h"

#include <algorithm>
#include <optional>

namespace Platform::Recognition {
namespace {

// Word spaces are a third of a glyph or more even in tight text; letter gaps a few pixels.
constexpr double joinOfGlyph = 0.3;
// An "@" stands further off its letters than they do from each other in some fonts;
// a space beside it is still two thirds of a glyph or more.
constexpr double joinAtSignOfGlyph = 0.45;
// The gap may be this much wider than the letters' usual one: kerning and rounding.
constexpr double joinOfLetterGap = 1.5;
// Letter gaps it takes to know the usual one.
constexpr std::size_t gapsNeeded = 3;

void addGaps(const std::vector<QRect>& ink, std::vector<int>& gaps) {
    for (std::size_t i = 1; i < ink.size(); ++i)
        gaps.push_back(std::max(1, ink[i].left() - ink[i - 1].right()));
}

std::optional<int> middleOf(std::vector<int> gaps) {
    if (gaps.size() < gapsNeeded)
        return std::nullopt;
    const auto middle = gaps.begin() + static_cast<std::ptrdiff_t>(gaps.size() / 2);
    std::nth_element(gaps.begin(), middle, gaps.end());
    return *middle;
}

WordBox joined(const WordBox& left, const WordBox& right) {
    WordBox word{left.text + right.text, left.box.united(right.box), std::min(left.confidence, right.confidence)};
    const auto spells = [](const WordBox& w) { return w.glyphs.size() == static_cast<std::size_t>(w.text.size()); };
    if (spells(left) && spells(right)) {
        word.glyphs = left.glyphs;
        word.glyphs.insert(word.glyphs.end(), right.glyphs.begin(), right.glyphs.end());
    }
    return word;
}

}  // namespace

void joinSplitWords(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes, double glyph) {
    for (LineWords& line : lines) {
        if (line.words.size() < 2)
            continue;
        std::vector<WordBox> words{line.words.front()};
        std::optional<std::vector<QRect>> previous = characterShapes(line.words.front(), shapes);
        for (std::size_t i = 1; i < line.words.size(); ++i) {
            const WordBox& word = line.words[i];
            std::optional<std::vector<QRect>> ink = characterShapes(word, shapes);
            // An address is one word however its letters touch ("image@target.org"): where
            // its characters cannot be told apart, the ends of its words still can.
            const bool atSign = words.back().text.endsWith(u'@') || word.text.startsWith(u'@');
            if (atSign && !previous)
                previous = wordShapes(words.back(), shapes);
            if (atSign && !ink)
                ink = wordShapes(word, shapes);
            bool join = false;
            if (previous && ink && !previous->empty() && !ink->empty()) {
                const int gap = ink->front().left() - previous->back().right();
                std::vector<int> gaps;
                addGaps(*previous, gaps);
                addGaps(*ink, gaps);
                const std::optional<int> usual = middleOf(std::move(gaps));
                const double widest = (atSign ? joinAtSignOfGlyph : joinOfGlyph) * glyph;
                join = usual && gap >= 0 && gap < widest && gap <= joinOfLetterGap * *usual;
            }
            if (join) {
                words.back() = joined(words.back(), word);
                previous->insert(previous->end(), ink->begin(), ink->end());
            } else {
                words.push_back(word);
                previous = std::move(ink);
            }
        }
        line.words = std::move(words);
    }
}

}  // namespace Platform::Recognition
