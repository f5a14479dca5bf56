#pragma once

// The app's data folder (Info.plist and the kit's resource bundle): the installed
// share/glyphnab beside the program, then the install prefix, then the build tree.

#include <QString>
#include <QStringList>

#include <optional>

namespace ZantrelKit {

inline constexpr char16_t kitBundleName[] = u"ZantrelKit_ZantrelKit.bundle";

// The folders tried for the data folder, in order.
QStringList dataFolderCandidates();

// The first candidate that holds an Info.plist, located once per process.
std::optional<QString> dataFolder();
std::optional<QString> infoPlistPath();

// The first candidate folder that holds the kit bundle, or nothing.
std::optional<QString> locateKitBundle(const QStringList& candidates);

// The kit's resource bundle folder, located once; a missing bundle stops the process
// ("unable to find bundle named ZantrelKit_ZantrelKit"): the installation is damaged.
const QString& kitResourceBundle();

}  // namespace ZantrelKit
