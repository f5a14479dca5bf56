#include "platform/recognition/ShortCapitals.h"

#include <algorithm>
#include <cstdlib>

namespace Platform::Recognition {

QChar smallLetterFor(QChar capital) {
    switch (capital.unicode()) {
    // Capitals whose small letters have their shape.
    case u'C': case u'O': case u'S': case u'U': case u'V': case u'W': case u'X': case u'Z':
        return capital.toLower();
    // A stem with a stroke to the right at its top, no taller than an "x", is an "r".
    case u'T': case u'F':
        return u'r';
    default:
        return capital;
    }
}

void lowerShortCapitals(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes) {
    for (LineWords& line : lines) {
        std::vector<const InkShape*> inLine;
        for (const InkShape& shape : shapes)
            if (line.box.contains(QRectF(shape.box).center()))
                inLine.push_back(&shape);
        if (inLine.size() < 4)
            continue;
        // The line's full height: its capitals, figures and tall letters on its baseline.
        // Brackets and descenders reach below it and are left out.
        std::vector<int> bottoms;
        for (const InkShape* shape : inLine)
            bottoms.push_back(shape->box.bottom());
        std::nth_element(bottoms.begin(), bottoms.begin() + static_cast<std::ptrdiff_t>(bottoms.size() / 2),
                         bottoms.end());
        const int baseline = bottoms[bottoms.size() / 2];
        const auto onBaseline = [&](const InkShape& shape) {
            return std::abs(shape.box.bottom() - baseline) <= std::max(1, shape.box.height() / 10);
        };
        std::vector<int> heights;
        for (const InkShape* shape : inLine)
            if (onBaseline(*shape))
                heights.push_back(shape->box.height());
        if (heights.size() < 4)
            continue;
        std::sort(heights.begin(), heights.end());
        const int tall = heights[heights.size() * 9 / 10];
        for (WordBox& word : line.words) {
            // A word of capitals, or one of dashes: a capital that starts a word ("On") is
            // as it was read.
            const bool lower = std::any_of(word.text.begin(), word.text.end(), [](QChar c) { return c.isLower(); });
            if (std::none_of(word.text.begin(), word.text.end(), [](QChar c) { return smallLetterFor(c) != c; }) ||
                (lower && !word.text.contains(u'-')))
                continue;
            int highest = 0;
            bool letters = false;
            for (const InkShape* shape : inLine) {
                if (!word.box.contains(QRectF(shape->box).center()))
                    continue;
                highest = std::max(highest, shape->box.height());
                // A letter, not a dash or a dot.
                letters = letters || shape->box.height() > shape->box.width() / 2;
            }
            // Small letters stand about two thirds as tall as capitals.
            if (!letters || highest > 0.8 * tall)
                continue;
            for (QChar& c : word.text)
                c = smallLetterFor(c);
        }
    }
}

}  // namespace Platform::Recognition
