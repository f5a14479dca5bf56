#include "Glyphnab/shell/AppIcon.h"

#include "ZantrelKit/DataFolder.h"

#include <QDir>
#include <QFileInfo>

namespace Glyphnab {

std::optional<QString> appIconFile(const QString& bundleId, const std::optional<QString>& dataFolder) {
    if (!dataFolder)
        return std::nullopt;
    const QString file = QDir(*dataFolder).filePath(QStringLiteral("icons/") + bundleId + QStringLiteral(".svg"));
    if (!QFileInfo(file).isFile())
        return std::nullopt;
    return file;
}

QIcon appIcon(const QString& bundleId) {
    const std::optional<QString> file = appIconFile(bundleId, ZantrelKit::dataFolder());
    return QIcon::fromTheme(bundleId, file ? QIcon(*file) : QIcon());
}

}  // namespace Glyphnab
