#include "text/TableText.h"

#include "text/TextPieceCharacters.h"


#include <algorithm>

namespace ZantrelText {

namespace {

bool isSpaceOrTab(QChar c) { return c == u' ' || c == u'\t'; }

QString trimmedOfSpacesAndTabs(const QString& text)
{
    qsizetype start = 0, end = text.size();
    while (start < end && isSpaceOrTab(text.at(start)))
        ++start;
    while (end > start && isSpaceOrTab(text.at(end - 1)))
        --end;
    return text.sliced(start, end - start);
}

// One line per cell: a tab or a line break inside a cell would split the pasted row.
QString singleLine(QString text)
{
    text.replace(u'\t', u' ');
    // "\r\n", a lone "\r" and the Unicode line and paragraph separators break lines in
    // spreadsheets as much as "\n" does.
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    for (const QChar lineBreak : {QChar(u'\n'), QChar(u'\r'), QChar(0x2028), QChar(0x2029)})
        text.replace(lineBreak, u' ');
    return trimmedOfSpacesAndTabs(text);
}

}  // namespace

TableText TableText::fromCells(const QList<Cell>& cells)
{
    QList<Cell> placed;
    for (const Cell& cell : cells) {
        if (cell.rows.first >= 0 && cell.columns.first >= 0)
            placed.append(cell);
    }
    if (placed.isEmpty())
        return {};

    // A range given backwards still places its text at its first index.
    int rowCount = 0, columnCount = 0;
    for (const Cell& cell : placed) {
        rowCount = std::max({rowCount, cell.rows.first + 1, cell.rows.last + 1});
        columnCount = std::max({columnCount, cell.columns.first + 1, cell.columns.last + 1});
    }

    QList<QStringList> grid(rowCount, QStringList(columnCount));
    for (const Cell& cell : placed) {
        QString& position = grid[cell.rows.first][cell.columns.first];
        position = position.isEmpty() ? cell.text : position + u' ' + cell.text;
    }
    return fromGrid(grid);
}

TableText TableText::fromGrid(const QList<QStringList>& grid)
{
    qsizetype width = 0;
    for (const QStringList& row : grid)
        width = std::max(width, row.size());

    QList<QStringList> cleaned;
    cleaned.reserve(grid.size());
    for (const QStringList& row : grid) {
        QStringList cells;
        cells.reserve(width);
        for (const QString& text : row)
            cells.append(singleLine(text));
        while (cells.size() < width)
            cells.append(QString());
        cleaned.append(cells);
    }

    QList<qsizetype> keptColumns;
    for (qsizetype column = 0; column < width; ++column) {
        const bool used = std::any_of(cleaned.begin(), cleaned.end(),
                                      [&](const QStringList& row) { return !row.at(column).isEmpty(); });
        if (used)
            keptColumns.append(column);
    }

    TableText table;
    if (keptColumns.isEmpty())
        return table;
    for (const QStringList& row : cleaned) {
        QStringList cells;
        cells.reserve(keptColumns.size());
        for (const qsizetype column : keptColumns)
            cells.append(row.at(column));
        table.rows.append(cells);
    }
    return table;
}

QString TableText::tabSeparated() const
{
    QStringList lines;
    lines.reserve(rows.size());
    for (const QStringList& row : rows)
        lines.append(row.join(u'\t'));
    return lines.join(u'\n');
}

bool TableText::isBlank() const
{
    return std::all_of(rows.begin(), rows.end(), [](const QStringList& row) {
        return std::all_of(row.begin(), row.end(), [](const QString& text) { return text.isEmpty(); });
    });
}

qsizetype TableText::characterCount() const
{
    qsizetype count = 0;
    for (const QStringList& row : rows) {
        for (const QString& text : row)
            count += Characters::count(text);
    }
    return count;
}

}  // namespace ZantrelText
