#include "Truth.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace Corpus {
namespace {

std::optional<Page> loadPage(const QDir& folder, const QString& truthName) {
    QFile file(folder.filePath(truthName));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    Page page;
    page.name = truthName.chopped(5);
    page.picture = folder.filePath(page.name + QStringLiteral(".png"));
    page.kind = object.value(QStringLiteral("kind")).toString();
    page.look = QStringLiteral("%1 %2px %3 x%4")
                    .arg(object.value(QStringLiteral("font")).toString())
                    .arg(object.value(QStringLiteral("size")).toInt())
                    .arg(object.value(QStringLiteral("dark")).toBool() ? QStringLiteral("dark") : QStringLiteral("light"))
                    .arg(object.value(QStringLiteral("scale")).toInt());
    for (const QJsonValue& value : object.value(QStringLiteral("lines")).toArray()) {
        const QJsonObject line = value.toObject();
        page.lines.append({line.value(QStringLiteral("text")).toString(), line.value(QStringLiteral("mono")).toBool(),
                           line.value(QStringLiteral("marker")).toString()});
    }
    for (const QJsonValue& value : object.value(QStringLiteral("languages")).toArray())
        page.languages.append(value.toString());
    for (const QJsonValue& value : object.value(QStringLiteral("optional")).toArray())
        page.optional.append(value.toString());
    for (const QJsonValue& table : object.value(QStringLiteral("cells")).toArray()) {
        QList<QStringList> rows;
        for (const QJsonValue& row : table.toArray()) {
            QStringList cells;
            for (const QJsonValue& cell : row.toArray())
                cells.append(cell.toString());
            rows.append(cells);
        }
        page.tables.append(rows);
    }
    if (page.kind.isEmpty() || !QFile::exists(page.picture))
        return std::nullopt;
    return page;
}

}  // namespace

QList<Page> loadPages(const QString& folder) {
    const QDir dir(folder);
    QList<Page> pages;
    for (const QString& name : dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
        if (auto page = loadPage(dir, name))
            pages.append(std::move(*page));
        else
            std::fprintf(stderr, "%s: no usable truth, skipped\n", qPrintable(dir.filePath(name)));
    }
    return pages;
}

}  // namespace Corpus
