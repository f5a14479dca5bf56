#include "ZantrelUI/context/FileFilters.h"

#include "ZantrelKit/Copy.h"

#include <QImageReader>
#include <QMimeDatabase>
#include <QSet>

#include <algorithm>

namespace ZantrelUI::FileFilters {
namespace {

// "image/*" is every picture type Qt has a reader for; other types stand for themselves.
QStringList expanded(const QString& type) {
    if (!type.endsWith(QLatin1String("/*")))
        return {type};
    const QString group = type.chopped(1);
    QStringList types;
    for (const QByteArray& readable : QImageReader::supportedMimeTypes()) {
        const QString name = QString::fromLatin1(readable);
        if (name.startsWith(group))
            types.append(name);
    }
    return types;
}

}  // namespace

QStringList patterns(const QStringList& mimeTypes) {
    const QMimeDatabase database;
    QSet<QString> seen;
    QStringList result;
    for (const QString& type : mimeTypes) {
        for (const QString& name : expanded(type)) {
            const QMimeType mime = database.mimeTypeForName(name);
            if (!mime.isValid())
                continue;
            for (const QString& pattern : mime.globPatterns()) {
                const QString lower = pattern.toLower();
                if (!seen.contains(lower)) {
                    seen.insert(lower);
                    result.append(lower);
                }
            }
        }
    }
    std::ranges::sort(result);
    // Names match case-sensitively on Linux, and cameras write "IMG_0001.JPG".
    QStringList withUpper;
    for (const QString& pattern : result) {
        withUpper.append(pattern);
        if (pattern.toUpper() != pattern)
            withUpper.append(pattern.toUpper());
    }
    return withUpper;
}

QStringList nameFilters(const QStringList& mimeTypes, const std::optional<QString>& name) {
    const QString all = ZantrelKit::Copy::Panels::allFiles() + QStringLiteral(" (*)");
    const QStringList found = name ? patterns(mimeTypes) : QStringList{};
    if (found.isEmpty())
        return {all};
    return {*name + QStringLiteral(" (") + found.join(u' ') + u')', all};
}

}  // namespace ZantrelUI::FileFilters
