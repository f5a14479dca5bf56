#pragma once

// A table as rows of cell texts, ready to paste into a spreadsheet as tab-separated rows.

#include <QList>
#include <QString>
#include <QStringList>

namespace ZantrelText {

struct TableText {
    // Both ends included.
    struct IndexRange {
        int first = 0;
        int last = 0;

        friend bool operator==(const IndexRange&, const IndexRange&) = default;
    };

    // One cell as the document recognizer reports it.
    struct Cell {
        IndexRange rows;
        IndexRange columns;
        QString text;

        friend bool operator==(const Cell&, const Cell&) = default;
    };

    // Each cell's text goes to its first row and column; texts landing on the same
    // position are joined with a space. Cells at negative positions are dropped.
    static TableText fromCells(const QList<Cell>& cells);
    // Cell texts made single-line and trimmed, rows padded to one length, empty
    // columns removed.
    static TableText fromGrid(const QList<QStringList>& grid);

    // Cells of a row joined with "\t", rows with "\n", no final line break.
    QString tabSeparated() const;
    // Every cell text is empty (also when there are no rows).
    bool isBlank() const;
    // User-perceived characters of all cell texts together.
    qsizetype characterCount() const;

    // Top to bottom, cells left to right; built tables have rows of equal length.
    QList<QStringList> rows;

    friend bool operator==(const TableText&, const TableText&) = default;
};

}  // namespace ZantrelText
