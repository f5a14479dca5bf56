#include "platform/recognition/SharpS.h"

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

}  // namespace Platform::Recognition
