#include "Glyphnab/model/ClipboardReading.h"

#include "text/ImageInput.h"
#include "text/PdfWorker.h"

#include <QImageReader>
#include <QMimeDatabase>

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

// Counted in the PDF worker: a document whose page tree loops must not hang the count.
std::optional<int> pdfPageCount(const ZantrelText::PdfWorker::Source& source) {
    const auto counted = ZantrelText::PdfWorker::read(source, {}, true);
    if (counted.ending != ZantrelText::PdfWorker::Ending::read)
        return std::nullopt;
    return counted.pageCount;
}

}  // namespace

std::shared_ptr<Platform::MemoryPasteboard> snapshot(const Platform::Pasteboard& board) {
    auto copy = std::make_shared<Platform::MemoryPasteboard>();
    copy->setUrls(board.urls());
    const QStringList types = board.types();
    bool pictureData = false;
    for (const QString& type : types) {
        // Pictures in other encodings are copied as bytes too: the reading decodes them
        // in its bounded worker, where the board would decode them here, on the GUI thread.
        const bool otherPicture = type.startsWith(QLatin1String("image/")) &&
                                  QImageReader::supportedMimeTypes().contains(type.toLatin1());
        if (!dataTypes().contains(type) && !otherPicture)
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
        if (const std::optional<int> pages = pdfPageCount({{}, board.data(pdf)}))
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
        if (read.problem != ImageInput::Problem::none && result.problem == ImageInput::Problem::none) {
            result.problem = read.problem;
            result.problemFile = url;
        }
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
        if (const std::optional<int> pages = pdfPageCount({url.toLocalFile(), {}}))
            counts.append(*pages);
    }
    return GlyphnabCore::PageCut::make(counts, pageLimit);
}

}  // namespace Glyphnab::ClipboardReading
