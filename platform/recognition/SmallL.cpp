#include "platform/recognition/SmallL.h"

namespace Platform::Recognition {
namespace {

bool opensQuote(QChar c) {
    return c == u'"' || c == u'(' || c == QChar(0x00AB) || c == QChar(0x201C) || c == QChar(0x201E) ||
           c == QChar(0x2018);
}

bool endsSentence(const QString& word) {
    if (word.isEmpty())
        return false;
    const QChar last = word.back();
    return last == u'.' || last == u'!' || last == u'?' || last == u':' || last == QChar(0x2026) || opensQuote(last);
}

}  // namespace

void restoreSmallL(std::vector<LineWords>& lines) {
    for (LineWords& line : lines) {
        for (std::size_t i = 0; i < line.words.size(); ++i) {
            QString& text = line.words[i].text;
            if (!text.startsWith(QLatin1String("II")))
                continue;
            if (text.size() > 2 && text[2].isLower()) {
                text[1] = u'l';
                continue;
            }
            if (text.size() != 2 || i + 1 >= line.words.size())
                continue;
            const QString& next = line.words[i + 1].text;
            const bool startsSentence = i == 0 || endsSentence(line.words[i - 1].text.trimmed());
            if (startsSentence && !next.isEmpty() && next.front().isLower())
                text[1] = u'l';
        }
    }
}

}  // namespace Platform::Recognition
