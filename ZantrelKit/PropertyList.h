#pragma once

// Reads XML property lists (the app's Info.plist): dict, array, string, integer, real,
// true, false, date and data.

#include <QString>
#include <QVariantMap>

#include <optional>

namespace ZantrelKit::PropertyList {

// The top-level dictionary, or nothing when the file is missing or not a property list.
std::optional<QVariantMap> readFile(const QString& path);
std::optional<QVariantMap> read(const QByteArray& xml);

}  // namespace ZantrelKit::PropertyList
