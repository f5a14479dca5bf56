#include "ZantrelKit/DataFolder.h"

#include "platform/log/Log.h"

#include <QDir>
#include <QFileInfo>

namespace ZantrelKit {
namespace {

QString executableFolder() {
    const QFileInfo exe(QStringLiteral("/proc/self/exe"));
    const QString target = exe.symLinkTarget();
    return target.isEmpty() ? QString() : QFileInfo(target).absolutePath();
}

}  // namespace

QStringList dataFolderCandidates() {
    QStringList candidates;
    const QString exeFolder = executableFolder();
    if (!exeFolder.isEmpty())
        candidates.append(QDir::cleanPath(exeFolder + QStringLiteral("/" GLYPHNAB_DATA_FROM_BINDIR)));
    candidates.append(QStringLiteral(GLYPHNAB_INSTALL_DATA_DIR));
    candidates.append(QStringLiteral(GLYPHNAB_BUILD_DATA_DIR));
    candidates.removeDuplicates();
    return candidates;
}

std::optional<QString> dataFolder() {
    static const std::optional<QString> folder = []() -> std::optional<QString> {
        for (const QString& candidate : dataFolderCandidates())
            if (QFileInfo::exists(candidate + QStringLiteral("/Info.plist")))
                return candidate;
        return std::nullopt;
    }();
    return folder;
}

std::optional<QString> infoPlistPath() {
    const std::optional<QString> folder = dataFolder();
    if (!folder)
        return std::nullopt;
    return *folder + QStringLiteral("/Info.plist");
}

std::optional<QString> locateKitBundle(const QStringList& candidates) {
    for (const QString& candidate : candidates) {
        if (candidate.isEmpty())
            continue;
        const QString path = candidate + u'/' + QString::fromUtf16(kitBundleName);
        if (QFileInfo(path).isDir())
            return path;
    }
    return std::nullopt;
}

const QString& kitResourceBundle() {
    static const QString bundle = [] {
        QStringList candidates;
        if (const std::optional<QString> folder = dataFolder())
            candidates.append(*folder);
        candidates.append(dataFolderCandidates());
        const std::optional<QString> found = locateKitBundle(candidates);
        if (!found)
            Platform::fatal(QStringLiteral("unable to find bundle named ZantrelKit_ZantrelKit"));
        return *found;
    }();
    return bundle;
}

}  // namespace ZantrelKit
