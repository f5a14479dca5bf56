#pragma once

// The engine's entry point for one picture: text and codes read side by side, the text
// laid out in reading order, and a table when one is wanted and the layout looks like
// one.

#include "platform/recognition/DetectBarcodesRequest.h"
#include "platform/recognition/Observations.h"
#include "platform/recognition/RecognizeTextRequest.h"
#include "text/FoundCode.h"
#include "text/ReadOptions.h"
#include "text/Reading.h"
#include "text/TableText.h"
#include "text/TextLayout.h"
#include "text/TextPiece.h"

#include <QCoroTask>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QStringList>

#include <functional>
#include <optional>
#include <stop_token>
#include <vector>

namespace ZantrelText {

using TextObservations = Platform::Recognition::RecognizeTextRequest::Result;
using BarcodeObservations = Platform::Recognition::DetectBarcodesRequest::Result;

// The three requests of one reading. The app uses the live ones; tests hand in their own.
struct ReadPasses {
    std::function<QCoro::Task<TextObservations>(QImage, ReadOptions, std::stop_token)> text;
    std::function<QCoro::Task<BarcodeObservations>(QImage, std::stop_token)> barcodes;
    // The document pass: the picture, its pixel width and height, the options and the
    // pieces of the text pass; a table or nothing.
    std::function<QCoro::Task<std::optional<TableText>>(QImage, double, double, ReadOptions, QList<TextPiece>,
                                                        std::stop_token)>
        document;

    // Each request performed through the shared runner.
    static ReadPasses live();
};

namespace TextReader {

// Reads one picture. Throws the error of a failed text, barcode or document request
// (VisionRunner::Stalled, Platform::CancellationError when `stop` is requested, or the
// recognizer's error); there is no partial reading. Await it on the GUI thread.
QCoro::Task<Reading> read(QImage image, ReadOptions options, std::stop_token stop = {});
QCoro::Task<Reading> read(QImage image, ReadOptions options, ReadPasses passes, std::stop_token stop = {});

// Every recognized word with its own box, line by line, top to bottom.
QCoro::Task<QList<QList<TextPiece>>> readWords(QImage image, QStringList languages, std::stop_token stop = {});
// The words of text observations for a picture of W × H pixels.
QList<QList<TextPiece>> wordLines(const TextObservations& observations, double width, double height);

// The one text request that the reader, the cell re-read and the warm-up share; the
// `tables` option plays no part.
Platform::Recognition::RecognizeTextRequest textRequest(const ReadOptions& options);

// The top candidate of each observation as a piece in picture pixels, in the
// recognizer's order; observations without a candidate are skipped.
QList<TextPiece> textPieces(const TextObservations& observations, double width, double height);

// Three or more rows with a wide gap, over all blocks.
bool looksTabular(const TextLayout& layout);

// A normalized box (origin bottom left) in pixels of a W × H picture (origin top left);
// no rounding, no clipping.
QRectF pixelBox(const QRectF& normalized, double width, double height);

// The barcode pass through the shared runner.
QCoro::Task<BarcodeObservations> findCodes(QImage image, std::stop_token stop = {});
// Observations with a payload as found codes, in the recognizer's order.
QList<FoundCode> foundCodes(const BarcodeObservations& observations, double width, double height);
QString kindName(Platform::Recognition::BarcodeSymbology symbology);
// The first code of each payload, in order.
QList<FoundCode> uniqueCodes(const QList<FoundCode>& codes);

}  // namespace TextReader
}  // namespace ZantrelText
