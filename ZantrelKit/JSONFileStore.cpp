#include "ZantrelKit/JSONFileStore.h"

#include "ZantrelKit/ExclusiveRename.h"

#include "platform/log/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ZantrelKit::JSONFileStoreDetail {
namespace {

// The most set-aside names tried for one file before giving up.
constexpr int maximumSetAsideAttempts = 1000;

QString describe(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

Platform::Logger storeLog(const QString& subsystem) {
    return Platform::Logger(subsystem, QStringLiteral("store"));
}

// An open descriptor, closed with its holder.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};

struct ReadOutcome {
    enum class Kind { read, missing, failed } kind;
    QByteArray bytes;
    int error = 0;
};

// State files hold a few kilobytes of JSON.
constexpr qint64 maxStateBytes = qint64{16} << 20;

// Reads a regular file whole. Not blocking on a pipe put in the file's place, and telling
// "there is no such file" apart from every other failure.
ReadOutcome readWhole(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    const FileDescriptor fd(::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            return {ReadOutcome::Kind::missing, {}, error};
        return {ReadOutcome::Kind::failed, {}, error};
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return {ReadOutcome::Kind::failed, {}, errno};
    if (S_ISDIR(info.st_mode))
        return {ReadOutcome::Kind::failed, {}, EISDIR};
    if (!S_ISREG(info.st_mode))
        return {ReadOutcome::Kind::failed, {}, EINVAL};
    if (info.st_size > maxStateBytes)
        return {ReadOutcome::Kind::failed, {}, EFBIG};
    QByteArray bytes;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return {ReadOutcome::Kind::failed, {}, errno};
        }
        if (count == 0)
            break;
        // A file that grows while it is read is no state of ours either.
        if (bytes.size() + count > maxStateBytes)
            return {ReadOutcome::Kind::failed, {}, EFBIG};
        bytes.append(buffer, count);
    }
    return {ReadOutcome::Kind::read, bytes, 0};
}

// "state.json" → "state", "state" → "state", ".hidden" → ".hidden".
QString withoutExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? name.left(dot) : name;
}

QString setAsideName(const QString& fileName, const QDateTime& now, int attempt) {
    QString name = withoutExtension(fileName) + QStringLiteral(".unreadable-") +
                   now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (attempt > 1)
        name += u'-' + QString::number(attempt);
    return name + QStringLiteral(".json");
}

}  // namespace

std::optional<QByteArray> read(const QString& path, const QString& subsystem) {
    ReadOutcome outcome = readWhole(path);
    switch (outcome.kind) {
    case ReadOutcome::Kind::read:
        return std::move(outcome.bytes);
    case ReadOutcome::Kind::missing:
        return std::nullopt;
    case ReadOutcome::Kind::failed:
        storeLog(subsystem).error(u"%{public}s cannot be read, left in place: %{public}s",
                                  QFileInfo(path).fileName(), describe(outcome.error));
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<QString> moveAside(const QString& path, const QString& decodingError,
                                 const QString& subsystem, const QDateTime& now) {
    const QFileInfo file(path);
    const QDir folder = file.dir();
    int error = EEXIST;
    for (int attempt = 1; attempt <= maximumSetAsideAttempts && error == EEXIST; ++attempt) {
        const QString target = setAsideName(file.fileName(), now, attempt);
        error = renameWithoutReplacing(path, folder.filePath(target));
        if (error == 0) {
            storeLog(subsystem).error(u"%{public}s unreadable, moved to %{public}s: %{public}s",
                                      file.fileName(), target, decodingError);
            return target;
        }
    }
    storeLog(subsystem).error(u"%{public}s unreadable (%{public}s) and not moved: %{public}s",
                              file.fileName(), decodingError, describe(error));
    return std::nullopt;
}

void createParentFolder(const QString& path) {
    const std::filesystem::path parent = std::filesystem::path(QFile::encodeName(path).toStdString()).parent_path();
    if (parent.empty())
        return;
    std::error_code error;
    std::filesystem::create_directories(parent, error);
    if (error)
        throw JSONFileStoreError(JSONFileStoreError::Step::createFolder,
                                 QStringLiteral("The folder %1 could not be made: %2")
                                     .arg(QFile::decodeName(parent.c_str()), QString::fromLocal8Bit(error.message())));
}

void write(const QString& path, const QByteArray& bytes) {
    // A file that is there but cannot be read may still hold the user's state: keep it.
    const ReadOutcome existing = readWhole(path);
    if (existing.kind == ReadOutcome::Kind::failed)
        throw JSONFileStoreError(JSONFileStoreError::Step::unreadableInPlace,
                                 QStringLiteral("%1 exists but cannot be read (%2); it was not replaced")
                                     .arg(QFileInfo(path).fileName(), describe(existing.error)));
    QSaveFile file(path);
    const auto failed = [&file] {
        const QString reason = file.errorString();
        file.cancelWriting();
        return JSONFileStoreError(JSONFileStoreError::Step::write, reason);
    };
    if (!file.open(QIODevice::WriteOnly))
        throw failed();
    if (file.write(bytes) != bytes.size())
        throw failed();
    if (!file.commit())
        throw JSONFileStoreError(JSONFileStoreError::Step::write, file.errorString());
}

void remove(const QString& path) noexcept {
    const QByteArray native = QFile::encodeName(path);
    ::unlink(native.constData());
}

}  // namespace ZantrelKit::JSONFileStoreDetail
