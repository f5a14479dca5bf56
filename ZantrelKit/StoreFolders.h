#pragma once

// Where an app of the family keeps its state: its own folder, the folder the family's
// apps share, and the defaults suite to open. Decided once per process, at start-up.
//
// On Linux the folders follow the XDG base directories:
//   normal run   app    = $XDG_DATA_HOME/<bundle id>          (default ~/.local/share)
//                shared = $XDG_DATA_HOME/<groupIdentifier>    (the family's group folder)
//                no suite: the app's standard settings
//   test host    R = $XDG_CACHE_HOME/Zantrel/state-apptest-<bundle id> (default ~/.cache),
//                emptied first; app = R/<bundle id>, shared = R/shared, suite = R/defaults
//   scripted run with "--state-dir D": app = D/<bundle id>, shared = D/shared,
//                suite = D/defaults

#include "ZantrelKit/RunModes.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace ZantrelKit {

// The user's base folders as the desktop names them.
struct UserFolders {
    QString dataHome;                       // $XDG_DATA_HOME, else ~/.local/share
    QString cacheHome;                      // $XDG_CACHE_HOME, else ~/.cache
    std::optional<QString> groupContainer;  // the family's shared folder, when there is one

    // Relative values of the XDG variables are ignored, as the base-directory rules say.
    static UserFolders fromEnvironment(const Environment& environment);
};

struct StoreFolders {
    // The family's shared group: the team prefix, a point and the reverse-DNS group name.
    static constexpr char groupIdentifier[] = "Z7NTR3L4KQ.org.zantrel.box";

    QUrl app;                              // the app's own state folder
    std::optional<QUrl> shared;            // the family's shared folder
    std::optional<QString> defaultsSuite;  // the suite's file path; none = standard settings

    // Locations only: nothing is created. Under the test host the state root is emptied
    // first (and only it: a bundle identifier holding "/" or ".." is never wiped).
    static StoreFolders resolve(const QString& bundleId, const QStringList& arguments, bool scripted,
                                bool testHost);
    static StoreFolders resolve(const QString& bundleId, const QStringList& arguments, bool scripted,
                                bool testHost, const UserFolders& user);

    // The test host's state root for a bundle identifier.
    static QString testHostRoot(const QString& bundleId, const UserFolders& user);

    friend bool operator==(const StoreFolders&, const StoreFolders&) = default;
};

}  // namespace ZantrelKit
