#include "platform/recognition/SharpS.h"

#include <algorithm>

namespace Platform::Recognition {

QString dropDoubledSharpS(const QString& word) {
    QString text = word;
    return text.replace(QStringLiteral("\u00DFB"), QStringLiteral("\u00DF"));
}

void dropDoubledSharpS(std::vector<LineWords>& lines) {
    for (LineWords& line : lines)
        for (WordBox& word : line.words)
            word.text = dropDoubledSharpS(word.text);
}

QString readSharpS(const QString& word) {
    QString text = word;
    for (qsizetype i = 1; i < text.size(); ++i) {
        if ((text[i] != u'B' && text[i] != u'R') || !text[i - 1].isLower())
            continue;
        const bool ends = i + 1 == text.size() || !text[i + 1].isLetterOrNumber();
        if (ends || text[i + 1].isLower())
            text[i] = QChar(0x00DF);
    }
    return text;
}

void readSharpS(std::vector<LineWords>& lines, const QStringList& languages) {
    const bool german = std::any_of(languages.begin(), languages.end(), [](const QString& tag) {
        return tag.section(u'-', 0, 0).section(u'_', 0, 0).compare(QLatin1String("de"), Qt::CaseInsensitive) == 0;
    });
    if (!german)
        return;
    for (LineWords& line : lines)
        for (WordBox& word : line.words)
            word.text = readSharpS(word.text);
}

}  // namespace Platform::Recognition
