#include "platform/recognition/DoubledCapitals.h"

#include <algorithm>

namespace Platform::Recognition {

QString dropDoubledCapital(const QString& word) {
    // After an opening quote or bracket at most.
    const auto first = std::find_if(word.begin(), word.end(), [](QChar c) { return c.isLetter(); });
    const qsizetype at = first - word.begin();
    if (at > 1 || at + 2 >= word.size())
        return word;
    const QChar letter = word[at];
    const bool marked = letter.isUpper() && letter.decomposition().size() > 1;
    if (!marked || word[at + 1] != letter || !word[at + 2].isLower())
        return word;
    QString text = word;
    return text.remove(at, 1);
}

void dropDoubledCapitals(std::vector<LineWords>& lines) {
    for (LineWords& line : lines)
        for (WordBox& word : line.words)
            word.text = dropDoubledCapital(word.text);
}

}  // namespace Platform::Recognition
