#include "text/TableSurroundings.h"

#include "text/TextLayout.h"

namespace ZantrelText::TableSurroundings {

namespace {

QList<QStringList> rowsOf(const QList<TextPiece>& pieces, qsizetype width) {
    QList<QStringList> rows;
    if (pieces.isEmpty())
        return rows;
    const QStringList lines = TextLayout(pieces).text(LineMode::keep).split(u'\n');
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        QStringList row(std::max<qsizetype>(width, 1));
        row[0] = line;
        rows.append(row);
    }
    return rows;
}

}  // namespace

TableText withTextAround(const TableText& table, const QRectF& tableBox, const QList<TextPiece>& pieces) {
    QList<TextPiece> above, below;
    for (const TextPiece& piece : pieces) {
        const QPointF centre = piece.box.center();
        if (tableBox.contains(centre))
            continue;
        (centre.y() < tableBox.top() ? above : below).append(piece);
    }
    if (above.isEmpty() && below.isEmpty())
        return table;
    const qsizetype width = table.rows.isEmpty() ? 1 : table.rows.front().size();
    QList<QStringList> grid = rowsOf(above, width);
    grid.append(table.rows);
    grid.append(rowsOf(below, width));
    return TableText::fromGrid(grid);
}

}  // namespace ZantrelText::TableSurroundings
