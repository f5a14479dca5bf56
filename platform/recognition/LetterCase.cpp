#include "platform/recognition/LetterCase.h"

#include <QString>

#include <algorithm>

namespace Platform::Recognition {
namespace {

// A small letter is about 0.7 of a capital's height in screen fonts; one this close to
// the capitals' height is a capital.
constexpr double capitalShare = 0.88;

bool isLookAlike(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar ch) { return QStringLiteral("cosvwxz").contains(ch); });
}

// Words of capitals and figures without letters that reach below the line: their height
// is the capitals' height.
bool isCapitalHeight(const QString& text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar ch) {
        return (ch.isUpper() && ch != u'Q' && ch != u'J') || ch.isDigit();
    });
}

}  // namespace

void restoreCapitals(std::vector<LineWords>& lines) {
    for (LineWords& line : lines) {
        std::vector<double> heights;
        for (const WordBox& word : line.words)
            if (isCapitalHeight(word.text.trimmed()))
                heights.push_back(word.box.height());
        if (heights.empty())
            continue;
        std::sort(heights.begin(), heights.end());
        const double capital = heights[heights.size() / 2];
        for (WordBox& word : line.words) {
            const QString text = word.text.trimmed();
            if (word.box.height() < capitalShare * capital)
                continue;
            if (isLookAlike(text))
                word.text = text.toUpper();
            // One glyph read in both cases at once ("Cc"): a box no wider than tall holds
            // a single capital.
            else if (text.size() == 2 && text[0].isUpper() && text[1] == text[0].toLower() &&
                     isLookAlike(text.mid(1)) && word.box.width() <= word.box.height())
                word.text = text.left(1);
        }
    }
}

}  // namespace Platform::Recognition
