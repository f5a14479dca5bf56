#include "platform/recognition/SharpS.h"

#include "platform/recognition/TesseractLanguages.h"

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
    auto lookalike = [](QChar c) { return c == u'B' || c == u'R'; };
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (!lookalike(text[i]) || !text[i - 1].isLower())
            continue;
        // The one glyph read twice, once for each look-alike ("ÄuRBerst").
        const qsizetype glyphs = i + 1 < text.size() && lookalike(text[i + 1]) ? 2 : 1;
        const qsizetype next = i + glyphs;
        const bool ends = next == text.size() || !text[next].isLetterOrNumber();
        if (ends || text[next].isLower())
            text.replace(i, glyphs, QChar(0x00DF));
    }
    return text;
}

void readSharpS(std::vector<LineWords>& lines, const QStringList& languages) {
    const bool german = std::any_of(languages.begin(), languages.end(), [](const QString& tag) {
        return languageSubtag(tag) == u"de";
    });
    if (!german)
        return;
    for (LineWords& line : lines)
        for (WordBox& word : line.words)
            word.text = readSharpS(word.text);
}

}  // namespace Platform::Recognition
