#pragma once

// Shared by the table tests: synthetic words laid out like rendered text, and the
// tab-separated text of a found table.

#include "platform/recognition/DocumentObservation.h"
#include "platform/recognition/TableFinder.h"
#include "text/TableText.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace TableTestSupport {

// 7 px per character, 4 px spaces, 11 px tall words: one text of 14 px type.
inline constexpr double charWidth = 7;
inline constexpr double wordHeight = 11;

// The words of a text starting at (x, top); `rightAligned` ends it at x instead.
inline void addText(std::vector<Platform::Recognition::TableWord>& words, const QString& text, double x, double top,
                    bool rightAligned = false) {
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    double width = -4;
    for (const QString& part : parts)
        width += part.size() * charWidth + 4;
    double left = rightAligned ? x - width : x;
    for (const QString& part : parts) {
        words.push_back({part, QRectF(left, top, part.size() * charWidth, wordHeight)});
        left += part.size() * charWidth + 4;
    }
}

// Rows of cells at the given column positions, rows 24 px apart; empty texts are empty
// cells.
inline std::vector<Platform::Recognition::TableWord> gridWords(const QList<QStringList>& rows,
                                                               const QList<double>& columns, double top = 20) {
    std::vector<Platform::Recognition::TableWord> words;
    for (qsizetype r = 0; r < rows.size(); ++r)
        for (qsizetype c = 0; c < rows[r].size(); ++c)
            addText(words, rows[r][c], columns[c], top + 24.0 * double(r));
    return words;
}

inline ZantrelText::TableText tableText(const Platform::Recognition::DocumentTable& table) {
    QList<ZantrelText::TableText::Cell> cells;
    for (const auto& row : table.rows)
        for (const auto& cell : row)
            cells.append({{cell.rowRange.lowerBound, cell.rowRange.upperBound},
                          {cell.columnRange.lowerBound, cell.columnRange.upperBound},
                          cell.content.transcript});
    return ZantrelText::TableText::fromCells(cells);
}

inline QString tabSeparated(const QList<QStringList>& rows) {
    QStringList lines;
    for (const QStringList& row : rows)
        lines.append(row.join(QLatin1Char('\t')));
    return lines.join(QLatin1Char('\n'));
}

}  // namespace TableTestSupport
