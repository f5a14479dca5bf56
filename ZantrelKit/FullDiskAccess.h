#pragma once

// Full Disk Access has no query of its own: it is tested by opening what only it unlocks.
// Linux puts no gate of its own in front of a user's files: a program opens whatever its
// user may, unless a sandbox (Flatpak, Snap) hides the home folder. So the probe opens
// the user's private data folder and the home folder: granted when they open.

#include <QString>
#include <QStringList>

#include <functional>

namespace ZantrelKit::FullDiskAccess {

enum class Opened { opened, refused, missing };

using Probe = std::function<Opened(const QString& path)>;

// What is probed, in order; built once.
const QStringList& probePaths();
QStringList probePaths(const QString& homeFolder);

// Opens the file read-only and closes it at once; a file that does not exist is missing,
// any other failure refused.
Opened open(const QString& path);

// The first probe result that is not missing decides; all missing is not granted.
bool granted(const Probe& probe = open);

}  // namespace ZantrelKit::FullDiskAccess
