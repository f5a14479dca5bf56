#include "Glyphnab/shell/DropView.h"

#include "text/ImageInput.h"

#include <QMimeData>

namespace Glyphnab::DropView {

QList<QUrl> acceptedFiles(const QList<QUrl>& urls) {
    QList<QUrl> accepted;
    for (const QUrl& url : urls)
        if (url.isLocalFile() && ZantrelText::ImageInput::canRead(url))
            accepted.append(url);
    return accepted;
}

QList<QUrl> acceptedFiles(const QMimeData& data) {
    if (!data.hasUrls())
        return {};
    return acceptedFiles(data.urls());
}

}  // namespace Glyphnab::DropView
