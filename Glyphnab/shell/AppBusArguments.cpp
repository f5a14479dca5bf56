#include "Glyphnab/shell/AppBusArguments.h"

#include <QDir>

namespace Glyphnab::AppBusArguments {

std::optional<QUrl> localFile(const QString& uri) {
    if (uri.startsWith(u'/')) {
        // "//name/..." is a UNC-style host to QUrl, and not always a valid one; on this
        // system it is the same path as "/name/...".
        const QUrl url = QUrl::fromLocalFile(QDir::cleanPath(uri));
        if (!url.isLocalFile())
            return std::nullopt;
        return url;
    }
    const QUrl url(uri);
    if (!url.isLocalFile() || url.toLocalFile().isEmpty())
        return std::nullopt;
    return url;
}

std::optional<QList<QUrl>> localFiles(const QStringList& uris) {
    QList<QUrl> urls;
    for (const QString& uri : uris) {
        const std::optional<QUrl> url = localFile(uri);
        if (!url)
            return std::nullopt;
        urls.append(*url);
    }
    return urls;
}

std::unique_ptr<Platform::MemoryPasteboard> copyTextBoard(const QStringList& uris, const QByteArray& bytes,
                                                          const QString& mimeType) {
    const std::optional<QList<QUrl>> urls = localFiles(uris);
    if (!urls)
        return nullptr;
    auto board = std::make_unique<Platform::MemoryPasteboard>();
    board->setUrls(*urls);
    // Decoded later, by the reading, away from the thread that answers the bus.
    if (!bytes.isEmpty() && !mimeType.isEmpty())
        board->setData(mimeType, bytes);
    return board;
}

}  // namespace Glyphnab::AppBusArguments
