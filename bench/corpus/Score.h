#pragma once

// How one reading of a page compares with what the page draws.

#include "Truth.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace Corpus {

struct Score {
    int pages = 0;
    int lines = 0;
    int exactLines = 0;
    qsizetype characterErrors = 0;
    qsizetype characters = 0;
    int cells = 0;
    int exactCells = 0;
    int markers = 0;
    int exactMarkers = 0;
    int numbers = 0;
    int exactNumbers = 0;
    double milliseconds = 0;

    Score& operator+=(const Score& other);
    double characterErrorRate() const;
};

struct Scored {
    Score score;
    // The true lines that were not read exactly, for looking at.
    QStringList missed;
};

// Scores a reading's text against the page. `table` is the reading's table when it has
// one; without it the text's tab-separated lines stand in. With `cells` false no cell
// is counted (a plain text reader has none).
Scored score(const Page& page, const QString& text, const std::optional<QList<QStringList>>& table, bool cells);

}  // namespace Corpus
