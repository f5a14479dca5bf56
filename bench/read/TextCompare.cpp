#include "TextCompare.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace Bench {
namespace {

QString squeezed(const QString& text) { return text.simplified(); }

}  // namespace

qsizetype editDistance(const QString& a, const QString& b) {
    std::vector<qsizetype> previous(static_cast<std::size_t>(b.size()) + 1);
    std::vector<qsizetype> current(previous.size());
    for (qsizetype j = 0; j <= b.size(); ++j)
        previous[static_cast<std::size_t>(j)] = j;
    for (qsizetype i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const auto sj = static_cast<std::size_t>(j);
            const qsizetype substitute = previous[sj - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[sj] = std::min({previous[sj] + 1, current[sj - 1] + 1, substitute});
        }
        std::swap(previous, current);
    }
    return previous[static_cast<std::size_t>(b.size())];
}


TextScore compare(const QString& read, const QString& truth) {
    TextScore score;
    const QString a = squeezed(read);
    const QString b = squeezed(truth);
    score.characterErrors = editDistance(a, b);
    score.truthCharacters = b.size();
    QHash<QString, int> readWords;
    for (const QString& word : a.split(u' ', Qt::SkipEmptyParts))
        ++readWords[word];
    const QStringList truthWords = b.split(u' ', Qt::SkipEmptyParts);
    qsizetype matched = 0;
    for (const QString& word : truthWords) {
        auto found = readWords.find(word);
        if (found != readWords.end() && *found > 0) {
            --*found;
            ++matched;
        }
    }
    score.wordRecall = truthWords.isEmpty() ? 1.0 : static_cast<double>(matched) / truthWords.size();
    return score;
}

}  // namespace Bench
