#include "ZantrelKit/ExclusiveRename.h"

#include <QFile>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ZantrelKit {

int renameWithoutReplacing(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    const int error = errno;
    if (error != EINVAL && error != ENOSYS)
        return error;
    // A file system without the no-replace rename: a hard link refuses a taken name too.
    // Folders cannot be linked, and EINVAL is also the answer to moving a folder into
    // itself: that answer stands.
    struct stat info {};
    if (::lstat(source.constData(), &info) == 0 && S_ISDIR(info.st_mode))
        return error;
    if (::link(source.constData(), target.constData()) != 0)
        return errno;
    if (::unlink(source.constData()) != 0) {
        const int unlinkError = errno;
        ::unlink(target.constData());
        return unlinkError;
    }
    return 0;
}

}  // namespace ZantrelKit
