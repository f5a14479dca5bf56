#include "platform/recognition/ApostropheStyle.h"

#include <QString>

namespace Platform::Recognition {
namespace {

bool betweenLetters(const QString& text, qsizetype at) {
    return at > 0 && at + 1 < text.size() && text[at - 1].isLetter() && text[at + 1].isLetter();
}

bool typographic(const std::vector<LineWords>& lines) {
    for (const LineWords& line : lines) {
        for (const WordBox& word : line.words) {
            for (qsizetype at = 0; at < word.text.size(); ++at) {
                const char16_t c = word.text[at].unicode();
                if (c == u'\u00ab' || c == u'\u00bb' || c == u'\u201c' || c == u'\u201d')
                    return true;
                if (c == u'\u2019' && betweenLetters(word.text, at))
                    return true;
            }
        }
    }
    return false;
}

}  // namespace

void followApostropheStyle(std::vector<LineWords>& lines) {
    if (!typographic(lines))
        return;
    for (LineWords& line : lines)
        for (WordBox& word : line.words)
            for (qsizetype at = 0; at < word.text.size(); ++at)
                if (word.text[at] == u'\'' && betweenLetters(word.text, at))
                    word.text[at] = QChar(0x2019);
}

}  // namespace Platform::Recognition
