#pragma once

// Full Disk Access has no query of its own: it is tested by opening files that only it
// unlocks. This system has no such files, so the live answer is "not granted".

#include <QString>
#include <QStringList>

#include <functional>

namespace ZantrelKit::FullDiskAccess {

enum class Opened { opened, refused, missing };

using Probe = std::function<Opened(const QString& path)>;

// The protected files, in probing order; built once.
const QStringList& probePaths();
QStringList probePaths(const QString& homeFolder);

// Opens the file read-only and closes it at once; a file that does not exist is missing,
// any other failure refused.
Opened open(const QString& path);

// The first probe result that is not missing decides; all missing is not granted.
bool granted(const Probe& probe = open);

}  // namespace ZantrelKit::FullDiskAccess
