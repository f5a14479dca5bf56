#pragma once

// The document pass of a reading: the table that the document recognizer finds in the
// picture, with cells that read as numbers spoiled by accented letters read again at
// three scales, kept only when it holds most of the recognized text.

#include "platform/recognition/DocumentRequest.h"
#include "platform/recognition/RecognizeTextRequest.h"
#include "text/ReadOptions.h"
#include "text/TableText.h"
#include "text/TextPiece.h"

#include <QCoroTask>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QStringList>

#include <functional>
#include <optional>
#include <stop_token>

namespace ZantrelText {

using DocumentObservations = Platform::Recognition::RecognizeDocumentsRequest::Result;

// The requests the pass makes. The app uses the live ones; tests hand in their own.
struct DocumentPassRequests {
    std::function<QCoro::Task<DocumentObservations>(QImage, std::stop_token)> documents;
    // The text request of the reading's options (`TextReader::textRequest`).
    std::function<QCoro::Task<Platform::Recognition::RecognizeTextRequest::Result>(QImage, ReadOptions,
                                                                                    std::stop_token)>
        text;

    // Each request performed through the shared runner; the document request reads its
    // words in the reading's languages. `reading`: the text pass's reading of the same
    // picture, which the document request starts from when it was read alike.
    static DocumentPassRequests live(const ReadOptions& options = {},
                                     std::optional<Platform::Recognition::RecognizeTextRequest::Result> reading = {});
};

namespace TextReader {

// Share of the recognized characters that a table must hold, and its fewest rows.
inline constexpr double tableShare = 0.6;
inline constexpr int fewestTableRows = 2;
// The scales a doubtful cell is read again at, in order.
inline constexpr double rereadScales[] = {0.5, 0.75, 1.5};

// The one table of the picture, or nothing (no table, several, a blank one, one row, or
// less than the share of the text). `pieces` are the text pass's, untrimmed. Throws only
// when the document request fails. Await it on the GUI thread.
QCoro::Task<std::optional<TableText>> readTable(QImage image, double width, double height, ReadOptions options,
                                                QList<TextPiece> pieces, std::stop_token stop = {});
QCoro::Task<std::optional<TableText>> readTable(QImage image, double width, double height, ReadOptions options,
                                                QList<TextPiece> pieces, DocumentPassRequests requests,
                                                std::stop_token stop = {});

// The cell box (picture pixels) read again at each scale: one candidate per scale, empty
// where a scale gave no single reading; no candidates when the box lies off the
// picture. Throws the first failed request's error.
QCoro::Task<QStringList> rereadCell(QImage image, QRectF box, ReadOptions options, std::stop_token stop = {});
QCoro::Task<QStringList> rereadCell(QImage image, QRectF box, ReadOptions options, DocumentPassRequests requests,
                                    std::stop_token stop = {});

}  // namespace TextReader
}  // namespace ZantrelText
