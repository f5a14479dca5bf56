#include "platform/recognition/MonospaceHyphens.h"

#include "platform/recognition/MonospaceSpacing.h"

#include <algorithm>

namespace Platform::Recognition {
namespace {

const QString enDashText(QChar(0x2013));

bool lengthenedHyphen(const WordBox& word) {
    return word.text == enDashText && word.glyphs.size() == 1 && word.glyphs.front().text == QLatin1String("-");
}

}  // namespace

void restoreMonospaceHyphens(std::vector<LineWords>& lines, const std::vector<InkShape>& shapes) {
    for (LineWords& line : lines) {
        if (std::none_of(line.words.begin(), line.words.end(), lengthenedHyphen))
            continue;
        // The grid is judged on the line as the recognizer spelled it.
        LineWords asRead = line;
        for (WordBox& word : asRead.words)
            if (lengthenedHyphen(word))
                word.text = word.glyphs.front().text;
        const std::optional<double> cell = fixedCellWidth(asRead, shapes);
        if (!cell)
            continue;
        for (WordBox& word : line.words)
            if (lengthenedHyphen(word) && word.box.width() < longestMonospaceHyphen * *cell)
                word.text = QStringLiteral("-");
    }
}

}  // namespace Platform::Recognition
