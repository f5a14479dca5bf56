#include "Score.h"

#include "TextCompare.h"

#include <QRegularExpression>

#include <algorithm>
#include <limits>
#include <vector>

namespace Corpus {
namespace {

QString collapsed(const QString& text) { return text.simplified(); }

QString rightTrimmed(QString text) {
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    return text;
}

bool sameLine(const TruthLine& truth, const QString& read) {
    // Monospace lines count their spaces (a tab is not two spaces); other lines compare
    // word for word.
    return truth.mono ? rightTrimmed(read) == truth.text : collapsed(read) == truth.text;
}

// Every run of digits with the separators inside it: "7.8", "2026-11-02", "1,240.50".
QStringList numbersIn(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("\\d+(?:[.,:/\\-]\\d+)*"));
    QStringList found;
    for (auto it = pattern.globalMatch(text); it.hasNext();)
        found.append(it.next().captured());
    return found;
}

int exactNumbers(const QStringList& truth, const QString& text) {
    QStringList read = numbersIn(text);
    int exact = 0;
    for (const QString& number : truth) {
        const qsizetype at = read.indexOf(number);
        if (at >= 0) {
            read.removeAt(at);
            ++exact;
        }
    }
    return exact;
}

QList<QStringList> rowsOfText(const QStringList& lines) {
    QList<QStringList> rows;
    for (const QString& line : lines) {
        QStringList cells = line.split(u'\t');
        for (QString& cell : cells)
            cell = collapsed(cell);
        rows.append(cells);
    }
    return rows;
}

int exactCellsOf(const QList<QStringList>& truth, const QList<QStringList>& read) {
    int exact = 0;
    for (const QStringList& row : truth) {
        int best = 0;
        for (const QStringList& candidate : read) {
            int same = 0;
            for (qsizetype c = 0; c < row.size() && c < candidate.size(); ++c)
                same += row[c] == candidate[c] ? 1 : 0;
            best = std::max(best, same);
        }
        exact += best;
    }
    return exact;
}

}  // namespace

Score& Score::operator+=(const Score& other) {
    pages += other.pages;
    lines += other.lines;
    exactLines += other.exactLines;
    characterErrors += other.characterErrors;
    characters += other.characters;
    cells += other.cells;
    exactCells += other.exactCells;
    markers += other.markers;
    exactMarkers += other.exactMarkers;
    numbers += other.numbers;
    exactNumbers += other.exactNumbers;
    milliseconds += other.milliseconds;
    return *this;
}

double Score::characterErrorRate() const {
    return characters == 0 ? 0.0 : static_cast<double>(characterErrors) / static_cast<double>(characters);
}

Scored score(const Page& page, const QString& text, const std::optional<QList<QStringList>>& table, bool cells) {
    Scored result;
    Score& s = result.score;
    s.pages = 1;
    QStringList read = text.split(u'\n');
    read.removeIf([&](const QString& line) {
        return line.trimmed().isEmpty() || page.optional.contains(collapsed(line));
    });

    std::vector<bool> used(static_cast<std::size_t>(read.size()), false);
    QStringList truthText;
    for (const TruthLine& line : page.lines) {
        ++s.lines;
        truthText.append(line.text);
        bool found = false;
        for (qsizetype i = 0; i < read.size() && !found; ++i) {
            if (!used[static_cast<std::size_t>(i)] && sameLine(line, read[i])) {
                used[static_cast<std::size_t>(i)] = true;
                found = true;
            }
        }
        if (found)
            ++s.exactLines;
        else
            result.missed.append(line.text);
    }

    const QString readAll = collapsed(read.join(u'\n'));
    const QString truthAll = collapsed(truthText.join(u'\n'));
    s.characterErrors = Bench::editDistance(readAll, truthAll);
    s.characters = truthAll.size();

    const QStringList truthNumbers = numbersIn(truthAll);
    s.numbers = static_cast<int>(truthNumbers.size());
    s.exactNumbers = exactNumbers(truthNumbers, readAll);

    // A marker counts when the line read closest to the item starts with it.
    for (const TruthLine& line : page.lines) {
        if (line.marker.isEmpty())
            continue;
        ++s.markers;
        qsizetype best = std::numeric_limits<qsizetype>::max();
        QString closest;
        for (const QString& candidate : read) {
            const qsizetype distance = Bench::editDistance(collapsed(candidate), line.text);
            if (distance < best) {
                best = distance;
                closest = collapsed(candidate);
            }
        }
        if (closest.startsWith(line.marker + u' '))
            ++s.exactMarkers;
    }

    if (cells) {
        const QList<QStringList> grid = table ? *table : rowsOfText(read);
        for (const QList<QStringList>& truthTable : page.tables) {
            for (const QStringList& row : truthTable)
                s.cells += static_cast<int>(row.size());
            s.exactCells += exactCellsOf(truthTable, grid);
        }
    }
    return result;
}

}  // namespace Corpus
