#include "text/DocumentPass.h"

#include "text/FigureCheck.h"
#include "text/TableSurroundings.h"
#include "text/TextPieceCharacters.h"
#include "text/TextReader.h"
#include "text/VisionRunner.h"

#include <cmath>

namespace ZantrelText {

namespace {

// The text pass's request reads the picture as the document request's first reading does;
// whether it guesses the language plays no part in the reading.
bool readsAlike(const ReadOptions& options) {
    Platform::Recognition::RecognizeTextRequest text = TextReader::textRequest(options);
    const Platform::Recognition::RecognizeTextRequest words =
        Platform::Recognition::RecognizeDocumentsRequest::wordRequest(options.languages);
    text.automaticallyDetectsLanguage = words.automaticallyDetectsLanguage;
    return text == words;
}

}  // namespace

DocumentPassRequests DocumentPassRequests::live(const ReadOptions& options,
                                                std::optional<Platform::Recognition::RecognizeTextRequest::Result> reading) {
    if (!readsAlike(options))
        reading.reset();
    return {
        [languages = options.languages, reading = std::move(reading)](
            QImage image, std::stop_token stop) -> QCoro::Task<DocumentObservations> {
            Platform::Recognition::RecognizeDocumentsRequest request;
            request.recognitionLanguages = languages;
            if (reading)
                request.pictureWords = Platform::Recognition::RecognizeDocumentsRequest::wordsOf(*reading, image.size());
            co_return co_await VisionRunner::shared().run(request, std::move(image), stop);
        },
        [](QImage image, ReadOptions options, std::stop_token stop)
            -> QCoro::Task<Platform::Recognition::RecognizeTextRequest::Result> {
            const auto request = TextReader::textRequest(options);
            co_return co_await VisionRunner::shared().run(request, std::move(image), stop);
        },
    };
}

namespace TextReader {

namespace {

// Halves away from zero.
int rounded(double value) { return static_cast<int>(std::lround(value)); }

// The smallest rectangle on whole pixel edges that holds the box.
QRect integral(const QRectF& box) {
    const int left = static_cast<int>(std::floor(box.left()));
    const int top = static_cast<int>(std::floor(box.top()));
    const int right = static_cast<int>(std::ceil(box.right()));
    const int bottom = static_cast<int>(std::ceil(box.bottom()));
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

}  // namespace

QCoro::Task<std::optional<TableText>> readTable(QImage image, double width, double height, ReadOptions options,
                                                QList<TextPiece> pieces, std::stop_token stop) {
    DocumentPassRequests requests = DocumentPassRequests::live(options);
    co_return co_await readTable(std::move(image), width, height, std::move(options), std::move(pieces),
                                 std::move(requests), stop);
}

QCoro::Task<std::optional<TableText>> readTable(QImage image, double width, double height, ReadOptions options,
                                                QList<TextPiece> pieces, DocumentPassRequests requests,
                                                std::stop_token stop) {
    const DocumentObservations observations = co_await requests.documents(image, stop);
    if (observations.empty() || observations.front().document.tables.size() != 1)
        co_return std::nullopt;
    const Platform::Recognition::DocumentTable found = observations.front().document.tables.front();

    QList<TableText::Cell> cells;
    QRectF tableBox;
    for (const auto& row : found.rows) {
        for (const auto& cell : row) {
            tableBox = tableBox.united(pixelBox(cell.content.boundingBox, width, height));
            const QString transcript = cell.content.transcript;
            QString text = transcript;
            if (FigureCheck::isAccentedFigure(transcript)) {
                const QRectF box = pixelBox(cell.content.boundingBox, width, height);
                QStringList candidates;
                try {
                    candidates = co_await rereadCell(image, box, options, requests, stop);
                } catch (...) {
                    // A failed re-read leaves the cell as the recognizer read it.
                    candidates.clear();
                }
                text = FigureCheck::repairedFigure(transcript, candidates);
            }
            cells.append(TableText::Cell{{cell.rowRange.lowerBound, cell.rowRange.upperBound},
                                         {cell.columnRange.lowerBound, cell.columnRange.upperBound}, text});
        }
    }
    const TableText table = TableText::fromCells(cells);

    qsizetype total = 0;
    for (const TextPiece& piece : pieces)
        total += Characters::count(piece.text);
    const double threshold = tableShare * static_cast<double>(total);
    if (table.isBlank() || table.rows.size() < fewestTableRows ||
        static_cast<double>(table.characterCount()) < threshold)
        co_return std::nullopt;
    co_return TableSurroundings::withTextAround(table, tableBox, pieces);
}

QCoro::Task<QStringList> rereadCell(QImage image, QRectF box, ReadOptions options, std::stop_token stop) {
    co_return co_await rereadCell(std::move(image), box, std::move(options), DocumentPassRequests::live(), stop);
}

QCoro::Task<QStringList> rereadCell(QImage image, QRectF box, ReadOptions options, DocumentPassRequests requests,
                                    std::stop_token stop) {
    const double side = 0.5 * box.height() + 4;
    const QRectF grown = box.adjusted(-side, -4, side, 4);
    const QRectF clipped = grown.intersected(QRectF(0, 0, image.width(), image.height()));
    if (clipped.isEmpty())
        co_return QStringList{};
    const QRect area = integral(clipped);
    if (area.isEmpty() || !image.rect().contains(area))
        co_return QStringList{};
    const QImage crop = image.copy(area);
    if (crop.isNull())
        co_return QStringList{};

    QStringList candidates;
    for (const double scale : rereadScales) {
        const int w = rounded(scale * crop.width());
        const int h = rounded(scale * crop.height());
        if (w <= 0 || h <= 0) {
            candidates.append(QString());
            continue;
        }
        const QImage scaled = crop.convertToFormat(QImage::Format_RGB32)
                                  .scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (scaled.isNull()) {
            candidates.append(QString());
            continue;
        }
        const auto observations = co_await requests.text(scaled, options, stop);
        const Platform::Recognition::RecognizedTextObservation* only = nullptr;
        int withCandidate = 0;
        for (const auto& observation : observations) {
            if (observation.candidates.empty())
                continue;
            ++withCandidate;
            only = &observation;
        }
        candidates.append(withCandidate == 1 ? only->candidates.front().string : QString());
    }
    co_return candidates;
}

}  // namespace TextReader
}  // namespace ZantrelText
