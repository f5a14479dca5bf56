#include "ZantrelKit/CSV.h"

namespace ZantrelKit::CSV {

QString text(const Table& table) {
    QString result;
    for (const QStringList& row : table) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                result.append(u',');
            result.append(field(row[i]));
        }
        result.append(QStringLiteral("\r\n"));
    }
    return result;
}

QString field(const QString& value) {
    const bool needsQuotes = value.contains(u',') || value.contains(u'"') || value.contains(u'\n') ||
                             value.contains(u'\r');
    if (!needsQuotes)
        return value;
    QString quoted = value;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

Table rows(const QString& text) {
    Table table;
    QStringList row;
    QString current;
    bool inQuotes = false;
    const qsizetype count = text.size();
    for (qsizetype i = 0; i < count; ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c != u'"') {
                current.append(c);
            } else if (i + 1 < count && text[i + 1] == u'"') {
                current.append(u'"');
                ++i;
            } else {
                inQuotes = false;
            }
            continue;
        }
        if (c == u'"') {
            inQuotes = true;
        } else if (c == u',') {
            row.append(current);
            current.clear();
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < count && text[i + 1] == u'\n')
                ++i;  // CR LF is one line break
            row.append(current);
            table.append(row);
            current.clear();
            row.clear();
        } else {
            current.append(c);
        }
    }
    if (!current.isEmpty() || !row.isEmpty()) {
        row.append(current);
        table.append(row);
    }
    return table;
}

}  // namespace ZantrelKit::CSV
