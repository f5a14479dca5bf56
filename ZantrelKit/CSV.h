#pragma once

// Comma-separated text: rows of fields written with CR LF after every row, and read back
// by the usual quoting rules. Reading never fails.

#include <QList>
#include <QString>
#include <QStringList>

namespace ZantrelKit::CSV {

using Table = QList<QStringList>;

// The rows joined with CR LF, CR LF after the last too; an empty table is the empty text.
QString text(const Table& table);

// The field quoted, with its quotes doubled, when it holds a comma, a quote or a line break.
QString field(const QString& value);

// LF, CR and CR LF each end a row; an unterminated quoted field takes the rest of the text.
Table rows(const QString& text);

}  // namespace ZantrelKit::CSV
