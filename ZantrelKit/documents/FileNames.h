#pragma once

// A file name's stem and extension, as the document tools number their outputs:
// "report.pdf" → "report" + "pdf"; ".hidden", "notes" and "notes." have no extension.

#include <QString>

namespace ZantrelKit::FileNames {

struct Parts {
    QString stem;
    QString extension;
};

inline Parts split(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0 || dot == name.size() - 1)
        return {name, QString()};
    return {name.left(dot), name.mid(dot + 1)};
}

// The name with ".ext" unless the extension is empty.
inline QString withExtension(const QString& name, const QString& extension) {
    return extension.isEmpty() ? name : name + u'.' + extension;
}

}  // namespace ZantrelKit::FileNames
