#include "ZantrelKit/FullDiskAccess.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace ZantrelKit::FullDiskAccess {

QStringList probePaths(const QString& homeFolder) {
    return {homeFolder + QStringLiteral("/.local/share"), homeFolder};
}

const QStringList& probePaths() {
    static const QStringList paths = probePaths(QDir::homePath());
    return paths;
}

Opened open(const QString& path) {
    const QByteArray encoded = QFile::encodeName(path);
    int descriptor = -1;
    do {
        descriptor = ::open(encoded.constData(), O_RDONLY | O_CLOEXEC);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor >= 0) {
        ::close(descriptor);
        return Opened::opened;
    }
    return errno == ENOENT ? Opened::missing : Opened::refused;
}

bool granted(const Probe& probe) {
    for (const QString& path : probePaths()) {
        switch (probe(path)) {
        case Opened::opened:
            return true;
        case Opened::refused:
            return false;
        case Opened::missing:
            break;
        }
    }
    return false;
}

}  // namespace ZantrelKit::FullDiskAccess
