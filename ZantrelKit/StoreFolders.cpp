#include "ZantrelKit/StoreFolders.h"

#include "platform/log/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ZantrelKit {
namespace {

QString join(const QString& folder, const QString& name) { return QDir::cleanPath(folder + u'/' + name); }

QUrl folderUrl(const QString& path) { return QUrl::fromLocalFile(path); }

StoreFolders under(const QString& root, const QString& bundleId) {
    return StoreFolders{folderUrl(join(root, bundleId)), folderUrl(join(root, QStringLiteral("shared"))),
                        join(root, QStringLiteral("defaults"))};
}

// The folder after the first "--state-dir", made absolute against the current folder.
std::optional<QString> stateDirectory(const QStringList& arguments) {
    const qsizetype flag = arguments.indexOf(QStringLiteral("--state-dir"));
    if (flag < 0 || flag + 1 >= arguments.size())
        return std::nullopt;
    return QDir::current().absoluteFilePath(arguments.at(flag + 1));
}

QString absoluteOr(const QString& value, const QString& fallback) {
    return !value.isEmpty() && QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : fallback;
}

bool isSafeFolderName(const QString& bundleId) {
    return !bundleId.contains(u'/') && !bundleId.contains(QStringLiteral("..")) && !bundleId.contains(QChar(0));
}

// Empties the test host's state root. Every failure is ignored: the next test simply
// starts from what is left.
void wipeTestHostRoot(const QString& bundleId, const UserFolders& user) {
    const Platform::Logger log(QStringLiteral("store"));
    if (!isSafeFolderName(bundleId)) {
        log.error(u"test-host state for %{public}s not wiped: not a plain folder name", bundleId);
        return;
    }
    const QString cacheRoot = join(user.cacheHome, QStringLiteral("Zantrel"));
    const QString root = StoreFolders::testHostRoot(bundleId, user);
    if (QFileInfo(root).dir().absolutePath() != QDir(cacheRoot).absolutePath())
        return;
    const QFileInfo info(root);
    if (info.isSymLink()) {
        QFile::remove(root);  // the link only, never what it points at
        return;
    }
    if (info.isDir())
        QDir(root).removeRecursively();
}

}  // namespace

UserFolders UserFolders::fromEnvironment(const Environment& environment) {
    const QString home = absoluteOr(environment.value(QStringLiteral("HOME")), QDir::homePath());
    UserFolders folders;
    folders.dataHome = absoluteOr(environment.value(QStringLiteral("XDG_DATA_HOME")), join(home, QStringLiteral(".local/share")));
    folders.cacheHome = absoluteOr(environment.value(QStringLiteral("XDG_CACHE_HOME")), join(home, QStringLiteral(".cache")));
    folders.groupContainer = join(folders.dataHome, QString::fromLatin1(StoreFolders::groupIdentifier));
    return folders;
}

QString StoreFolders::testHostRoot(const QString& bundleId, const UserFolders& user) {
    return join(user.cacheHome, QStringLiteral("Zantrel/state-apptest-") + bundleId);
}

StoreFolders StoreFolders::resolve(const QString& bundleId, const QStringList& arguments, bool scripted,
                                   bool testHost) {
    return resolve(bundleId, arguments, scripted, testHost, UserFolders::fromEnvironment(processEnvironment()));
}

StoreFolders StoreFolders::resolve(const QString& bundleId, const QStringList& arguments, bool scripted,
                                   bool testHost, const UserFolders& user) {
    if (scripted) {
        if (const std::optional<QString> directory = stateDirectory(arguments))
            return under(*directory, bundleId);
    }
    if (testHost) {
        wipeTestHostRoot(bundleId, user);
        return under(testHostRoot(bundleId, user), bundleId);
    }
    StoreFolders folders;
    folders.app = folderUrl(join(user.dataHome, bundleId));
    if (user.groupContainer)
        folders.shared = folderUrl(*user.groupContainer);
    return folders;
}

}  // namespace ZantrelKit
