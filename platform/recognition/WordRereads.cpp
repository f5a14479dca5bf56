#include "platform/recognition/WordRereads.h"

namespace Platform::Recognition {
namespace {

constexpr float unsureConfidence = 0.05f;
constexpr float surerBy = 0.15f;

// Whether `longer` is `word` with letters put in between its characters, nothing of it
// changed or dropped. A letter more at an end is as likely a stray mark read as one.
bool onlyAddsLettersWithin(const QString& word, const QString& longer) {
    if (word.isEmpty() || longer.front() != word.front() || longer.back() != word.back())
        return false;
    qsizetype at = 0;
    for (const QChar c : longer) {
        if (at < word.size() && c == word[at])
            ++at;
        else if (!c.isLetter())
            return false;
    }
    return at == word.size();
}

}  // namespace

bool standsForDoubtfulWord(const WordBox& first, const WordBox& second) {
    if (second.confidence < first.confidence || second.text.size() <= first.text.size())
        return false;
    // The line's reading gave up where the word began.
    if (first.confidence < unsureConfidence && second.text.endsWith(first.text))
        return true;
    return second.confidence >= first.confidence + surerBy && onlyAddsLettersWithin(first.text, second.text);
}

}  // namespace Platform::Recognition
