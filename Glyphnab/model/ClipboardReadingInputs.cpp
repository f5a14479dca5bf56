#include "Glyphnab/model/ClipboardReading.h"

#include "text/ImageInput.h"

#include <QBuffer>
#include <QFile>
#include <QMimeDatabase>
#include <QPdfDocument>

namespace Glyphnab::ClipboardReading {
namespace {

namespace ImageInput = ZantrelText::ImageInput;
using Platform::PasteboardType::pdf;

const QList<QString>& dataTypes() {
    static const QList<QString> types{pdf, Platform::PasteboardType::png, Platform::PasteboardType::tiff,
                                      Platform::PasteboardType::jpeg, Platform::PasteboardType::heic};
    return types;
}

bool namesPdf(const QUrl& url) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(url.toLocalFile(), QMimeDatabase::MatchExtension);
    return type.inherits(pdf);
}

std::optional<int> pdfPageCount(QIODevice& device) {
    QPdfDocument document;
    document.load(&device);
    if (document.status() != QPdfDocument::Status::Ready)
        return std::nullopt;
    return document.pageCount();
}

}  // namespace

std::shared_ptr<Platform::MemoryPasteboard> snapshot(const Platform::Pasteboard& board) {
    auto copy = std::make_shared<Platform::MemoryPasteboard>();
    copy->setUrls(board.urls());
    const QStringList types = board.types();
    bool pictureData = false;
    for (const QString& type : dataTypes()) {
        if (!types.contains(type))
            continue;
        copy->setData(type, board.data(type));
        pictureData = pictureData || type != pdf;
    }
    if (!pictureData)
        if (std::optional<QImage> picture = board.image())
            copy->setImage(*picture);
    return copy;
}

BoardRead readBoard(const Platform::Pasteboard& board) {
    BoardRead result;
    result.inputs = ImageInput::read(board);
    result.files = board.fileUrls();
    if (!result.files.isEmpty()) {
        result.pageCut = pageCutForFiles(result.files);
    } else if (board.types().contains(pdf)) {
        QBuffer buffer;
        buffer.setData(board.data(pdf));
        if (buffer.open(QIODevice::ReadOnly))
            if (const std::optional<int> pages = pdfPageCount(buffer))
                result.pageCut = GlyphnabCore::PageCut::make({*pages}, pageLimit);
    }
    return result;
}

BoardRead readFiles(const QList<QUrl>& urls) {
    BoardRead result;
    result.files = urls;
    QList<int> counts;
    for (const QUrl& url : urls) {
        ImageInput::FileRead read = ImageInput::read(url);
        result.inputs.append(read.inputs);
        if (read.pdfPages)
            counts.append(*read.pdfPages);
    }
    result.pageCut = GlyphnabCore::PageCut::make(counts, pageLimit);
    return result;
}

std::optional<GlyphnabCore::PageCut> pageCutForFiles(const QList<QUrl>& urls) {
    QList<int> counts;
    for (const QUrl& url : urls) {
        if (!ImageInput::canRead(url) || !namesPdf(url))
            continue;
        QFile file(url.toLocalFile());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        if (const std::optional<int> pages = pdfPageCount(file))
            counts.append(*pages);
    }
    return GlyphnabCore::PageCut::make(counts, pageLimit);
}

}  // namespace Glyphnab::ClipboardReading
