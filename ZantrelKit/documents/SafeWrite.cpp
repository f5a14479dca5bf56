#include "ZantrelKit/documents/SafeWrite.h"

#include "ZantrelKit/ExclusiveRename.h"
#include "ZantrelKit/documents/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ZantrelKit {
namespace {

// The most names tried when others keep taking the chosen one first.
constexpr int mostMoveAttempts = 50;

using Namer = std::function<QUrl(const TakenTest&)>;

QString standardized(const QUrl& url) { return QDir::cleanPath(QFileInfo(url.toLocalFile()).absoluteFilePath()); }

QUrl numbered(const QString& folder, const QString& base, const QString& ext, const TakenTest& taken,
              const std::optional<QString>& skipped) {
    for (std::int64_t counter = 1;; ++counter) {
        const QString name = counter == 1 ? base : base + u' ' + QString::number(counter);
        const QUrl candidate = QUrl::fromLocalFile(folder + u'/' + FileNames::withExtension(name, ext));
        if (skipped && standardized(candidate).toLower() == *skipped)
            continue;
        if (!taken(candidate))
            return candidate;
    }
}

bool present(const QUrl& url) {
    struct stat info {};
    return ::lstat(QFile::encodeName(url.toLocalFile()).constData(), &info) == 0;
}

bool synced(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool done = ::fsync(fd) == 0;
    ::close(fd);
    return done;
}

// A private folder beside where the output goes, on the same file system so the final
// move is a rename: inside the nearest existing folder on the way to the target.
std::optional<QString> makeScratch(const QString& target) {
    QString near = target;
    while (!QFileInfo(near).isDir()) {
        const QString parent = QFileInfo(near).absolutePath();
        if (parent == near)
            break;
        near = parent;
    }
    QByteArray pattern = QFile::encodeName(near + QStringLiteral("/.saving-XXXXXX"));
    if (::mkdtemp(pattern.data()))
        return QFile::decodeName(pattern);
    const QString fallback = QDir::tempPath() + u'/' + QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (QDir().mkpath(fallback))
        return fallback;
    return std::nullopt;
}

class Scratch {
public:
    explicit Scratch(QString path) : path_(std::move(path)) {}
    ~Scratch() { QDir(path_).removeRecursively(); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const QString& path() const { return path_; }

private:
    QString path_;
};

QUrl writeThroughScratch(const QString& folder, const Namer& namer, const OutputWriter& writer) {
    const std::optional<QString> scratchPath = makeScratch(folder);
    if (!scratchPath)
        throw SafeWriteError::cantSave();
    const Scratch scratch(*scratchPath);

    const QString ext = QFileInfo(namer([](const QUrl&) { return false; }).toLocalFile()).suffix();
    const QUrl draft = QUrl::fromLocalFile(scratch.path() + u'/' + FileNames::withExtension(QStringLiteral("out"), ext));
    writer(draft);  // its errors are the caller's to see as they are
    if (!present(draft) || !synced(draft.toLocalFile()))
        throw SafeWriteError::cantSave();

    if (!QDir().mkpath(folder))
        throw SafeWriteError::cantSave();
    for (int attempt = 0; attempt < mostMoveAttempts; ++attempt) {
        const QUrl target = namer(present);
        const int error = renameWithoutReplacing(draft.toLocalFile(), target.toLocalFile());
        if (error == 0) {
            synced(folder);  // the new name survives a crash; the file already does
            return target;
        }
        if (error != EEXIST)
            throw SafeWriteError::cantSave();
    }
    throw SafeWriteError::cantSave();
}

}  // namespace

namespace OutputNaming {

QUrl url(const QUrl& source, const std::optional<QString>& suffix, const QString& ext,
         const std::optional<QUrl>& folder, const TakenTest& taken) {
    const QString sourcePath = standardized(source);
    const QString into = folder ? standardized(*folder) : QFileInfo(sourcePath).absolutePath();
    QString base = FileNames::split(QFileInfo(sourcePath).fileName()).stem;
    if (suffix)
        base += u' ' + *suffix;
    return numbered(into, base, ext, taken, sourcePath.toLower());
}

QUrl url(const QUrl& folder, const QString& name, const QString& ext, const TakenTest& taken) {
    return numbered(standardized(folder), name, ext, taken, std::nullopt);
}

}  // namespace OutputNaming

namespace SafeWrite {

QUrl write(const QUrl& source, const std::optional<QString>& suffix, const QString& ext,
           const std::optional<QUrl>& folder, const OutputWriter& writer) {
    const QString into = folder ? standardized(*folder) : QFileInfo(standardized(source)).absolutePath();
    return writeThroughScratch(
        into, [&](const TakenTest& taken) { return OutputNaming::url(source, suffix, ext, QUrl::fromLocalFile(into), taken); },
        writer);
}

QUrl write(const QUrl& folder, const QString& name, const QString& ext, const OutputWriter& writer) {
    const QString into = standardized(folder);
    return writeThroughScratch(
        into, [&](const TakenTest& taken) { return OutputNaming::url(folder, name, ext, taken); }, writer);
}

}  // namespace SafeWrite

}  // namespace ZantrelKit
