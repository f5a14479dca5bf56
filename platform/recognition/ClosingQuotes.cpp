#include "platform/recognition/ClosingQuotes.h"

#include "platform/recognition/TesseractLanguages.h"

#include <algorithm>

namespace Platform::Recognition {
namespace {

constexpr char16_t lowQuote = 0x201E;

bool isDoubleQuote(QChar c) { return c == u'"' || c == QChar(0x201C) || c == QChar(0x201D); }

}  // namespace

QChar closingPartnerOfLowQuote(const QStringList& languages) {
    static const QStringList rightQuoted{"pl", "hu", "ro", "nl"};
    const bool right = !languages.isEmpty() && std::all_of(languages.begin(), languages.end(), [](const QString& tag) {
        return rightQuoted.contains(languageSubtag(tag));
    });
    return right ? QChar(0x201D) : QChar(0x201C);
}

void restoreClosingQuotes(std::vector<LineWords>& lines, const QStringList& languages) {
    const QChar partner = closingPartnerOfLowQuote(languages);
    for (LineWords& line : lines) {
        bool open = false;
        for (WordBox& word : line.words) {
            QString& text = word.text;
            for (qsizetype i = 0; i < text.size(); ++i) {
                if (text[i] == QChar(lowQuote)) {
                    open = true;
                } else if (open && isDoubleQuote(text[i]) && i > 0 && !isDoubleQuote(text[i - 1]) &&
                           text[i - 1] != QChar(lowQuote)) {
                    // Closes the word: nothing but punctuation after it.
                    const bool closing = std::none_of(text.begin() + i + 1, text.end(),
                                                      [](QChar c) { return c.isLetterOrNumber(); });
                    if (closing) {
                        text[i] = partner;
                        open = false;
                    }
                }
            }
        }
    }
}

}  // namespace Platform::Recognition
