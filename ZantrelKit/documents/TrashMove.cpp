#include "ZantrelKit/documents/TrashMove.h"

#include "ZantrelKit/ExclusiveRename.h"
#include "ZantrelKit/documents/FileNames.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace ZantrelKit::TrashMove {
namespace {

QByteArray native(const QString& path) { return QFile::encodeName(path); }

std::optional<struct stat> linkStatus(const QString& path) {
    struct stat info {};
    if (::lstat(native(path).constData(), &info) != 0)
        return std::nullopt;
    return info;
}

std::optional<struct stat> status(const QString& path) {
    struct stat info {};
    if (::stat(native(path).constData(), &info) != 0)
        return std::nullopt;
    return info;
}

QString absolute(const QUrl& url) { return QDir::cleanPath(QFileInfo(url.toLocalFile()).absoluteFilePath()); }

QString parentOf(const QString& path) { return QFileInfo(path).absolutePath(); }

// A folder we own that is really a folder (not a link to one), made when missing.
bool ownFolder(const QString& path) {
    if (::mkdir(native(path).constData(), 0700) != 0 && errno != EEXIST)
        return false;
    const std::optional<struct stat> info = linkStatus(path);
    return info && S_ISDIR(info->st_mode) && info->st_uid == ::getuid();
}

struct TrashFolder {
    QString path;
    QString topFolder;  // empty for the home Trash, whose records hold absolute paths
};

QString dataHome() {
    const QString configured = qEnvironmentVariable("XDG_DATA_HOME");
    if (QDir::isAbsolutePath(configured))
        return QDir::cleanPath(configured);
    return QDir::homePath() + QStringLiteral("/.local/share");
}

// The device of the path, or of its nearest existing folder.
std::optional<dev_t> deviceNear(QString path) {
    for (;;) {
        if (const std::optional<struct stat> info = status(path))
            return info->st_dev;
        const QString parent = parentOf(path);
        if (parent == path)
            return std::nullopt;
        path = parent;
    }
}

// The mount point the folder belongs to: its highest ancestor on the same device.
QString topFolderOf(const QString& folder, dev_t device) {
    QString top = QFileInfo(folder).canonicalFilePath();
    if (top.isEmpty())
        return {};
    for (;;) {
        const QString parent = parentOf(top);
        if (parent == top)
            return top;
        const std::optional<struct stat> info = status(parent);
        if (!info || info->st_dev != device)
            return top;
        top = parent;
    }
}

bool withSubfolders(const QString& trash) {
    return ownFolder(trash) && ownFolder(trash + QStringLiteral("/files")) && ownFolder(trash + QStringLiteral("/info"));
}

std::optional<TrashFolder> trashFolderFor(const QString& item) {
    const QString folder = parentOf(item);
    std::optional<struct stat> itemInfo = linkStatus(item);
    if (!itemInfo)
        itemInfo = status(folder);
    if (!itemInfo)
        return std::nullopt;
    const dev_t device = itemInfo->st_dev;

    const QString home = dataHome();
    if (deviceNear(home) == device) {
        if (!QDir().mkpath(home))
            return std::nullopt;
        const QString trash = home + QStringLiteral("/Trash");
        if (!withSubfolders(trash))
            return std::nullopt;
        return TrashFolder{trash, QString()};
    }

    const QString top = topFolderOf(folder, device);
    if (top.isEmpty())
        return std::nullopt;
    const QString uid = QString::number(::getuid());
    // An administrator's shared ".Trash" counts only as a real, sticky folder.
    const QString shared = top + QStringLiteral("/.Trash");
    const std::optional<struct stat> sharedInfo = linkStatus(shared);
    if (sharedInfo && S_ISDIR(sharedInfo->st_mode) && (sharedInfo->st_mode & S_ISVTX) != 0 &&
        withSubfolders(shared + u'/' + uid))
        return TrashFolder{shared + u'/' + uid, top};
    const QString own = top + QStringLiteral("/.Trash-") + uid;
    if (withSubfolders(own))
        return TrashFolder{own, top};
    return std::nullopt;
}

[[noreturn]] void throwSystemError(int error) { throw std::system_error(error, std::generic_category()); }

void renameExclusively(const QString& from, const QString& to) {
    switch (const int error = renameWithoutReplacing(from, to)) {
    case 0: return;
    case EEXIST: throw Failure::occupied();
    case EXDEV: throw Failure::otherVolume();
    default: throw Failure::failed(error);
    }
}

// Claims the record's name with an exclusive create, so two moves never share one.
bool writeRecord(const QString& path, const QByteArray& text) {
    const int fd = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    qsizetype written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(fd, text.constData() + written, std::size_t(text.size() - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            const int error = errno;
            ::close(fd);
            ::unlink(native(path).constData());
            errno = error;
            return false;
        }
        written += count;
    }
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!synced) {
        ::unlink(native(path).constData());
        errno = error;
    }
    return synced;
}

QByteArray record(const QString& item, const TrashFolder& trash) {
    // On other file systems the record holds the path from the mount point, so that the
    // item can be put back wherever the volume is mounted next.
    QString path = item;
    if (!trash.topFolder.isEmpty()) {
        const QString canonical = QFileInfo(parentOf(item)).canonicalFilePath() + u'/' + QFileInfo(item).fileName();
        path = QDir(trash.topFolder).relativeFilePath(canonical);
    }
    return "[Trash Info]\nPath=" + QUrl::toPercentEncoding(path, "/") + "\nDeletionDate=" +
           QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() + "\n";
}

}  // namespace

const char* Failure::what() const noexcept {
    switch (kind_) {
    case Kind::failed: return "The item could not be moved.";
    case Kind::noTrash: return "The item's volume has no usable Trash.";
    case Kind::otherVolume: return "The item and the destination are on different volumes.";
    case Kind::occupied: return "Something is at the destination already.";
    }
    return "";
}

bool exists(const QUrl& url) { return linkStatus(url.toLocalFile()).has_value(); }

bool sameVolume(const QUrl& item, const QUrl& folder) {
    const std::optional<struct stat> itemInfo = linkStatus(item.toLocalFile());
    const std::optional<struct stat> folderInfo = status(folder.toLocalFile());
    return itemInfo && folderInfo && itemInfo->st_dev == folderInfo->st_dev;
}

bool hasTrash(const QUrl& item) {
    const QString path = absolute(item);
    struct statvfs volume {};
    if (::statvfs(native(parentOf(path)).constData(), &volume) != 0 || (volume.f_flag & ST_RDONLY) != 0)
        return false;
    return trashFolderFor(path).has_value();
}

QUrl trash(const QUrl& item) {
    const QString path = absolute(item);
    if (!hasTrash(item))
        throw Failure::noTrash();
    const std::optional<TrashFolder> trash = trashFolderFor(path);
    if (!trash)
        throw Failure::noTrash();
    if (!linkStatus(path))
        throwSystemError(errno);

    const QByteArray text = record(path, *trash);
    const QUrl files = QUrl::fromLocalFile(trash->path + QStringLiteral("/files"));
    const QString info = trash->path + QStringLiteral("/info/");
    const QString name = QFileInfo(path).fileName();
    for (;;) {
        // Free in both folders: the record is claimed first, then the file's own name.
        const QUrl target = freeURL(files, name, [&](const QUrl& candidate) {
            return exists(candidate) || exists(QUrl::fromLocalFile(info + candidate.fileName() + QStringLiteral(".trashinfo")));
        });
        const QString recordPath = info + target.fileName() + QStringLiteral(".trashinfo");
        if (!writeRecord(recordPath, text)) {
            if (errno == EEXIST)
                continue;  // claimed meanwhile
            throwSystemError(errno);
        }
        const int error = renameWithoutReplacing(path, target.toLocalFile());
        if (error == 0)
            return target;
        ::unlink(native(recordPath).constData());
        if (error != EEXIST)
            throwSystemError(error);
    }
}

QUrl freeURL(const QUrl& folder, const QString& name, const std::function<bool(const QUrl&)>& taken) {
    const QString base = QDir::cleanPath(folder.toLocalFile()) + u'/';
    QUrl candidate = QUrl::fromLocalFile(base + name);
    const FileNames::Parts parts = FileNames::split(name);
    for (std::int64_t counter = 2; taken(candidate); ++counter)
        candidate = QUrl::fromLocalFile(
            base + FileNames::withExtension(parts.stem + u' ' + QString::number(counter), parts.extension));
    return candidate;
}

QUrl move(const QUrl& item, const QUrl& folder) {
    if (!sameVolume(item, folder))
        throw Failure::otherVolume();
    const QUrl destination = freeURL(folder, QFileInfo(absolute(item)).fileName(), exists);
    renameExclusively(absolute(item), destination.toLocalFile());
    return destination;
}

void putBack(const QUrl& item, const QUrl& destination) {
    if (exists(destination))
        throw Failure::occupied();
    const QString target = absolute(destination);
    std::error_code error;
    std::filesystem::create_directories(native(parentOf(target)).toStdString(), error);
    if (error)
        throw std::system_error(error);
    renameExclusively(absolute(item), target);
}

}  // namespace ZantrelKit::TrashMove
