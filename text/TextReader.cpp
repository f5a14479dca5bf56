#include "text/TextReader.h"

#include "text/DocumentPass.h"
#include "text/VisionRunner.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>

namespace ZantrelText {

using Platform::Recognition::RecognitionLevel;
using Platform::Recognition::RecognizeTextRequest;
using Platform::Recognition::TextRange;

namespace {

// The text pass's reading of one picture, kept for the document pass of the same reading.
struct TextPassReading {
    qint64 picture = 0;
    ReadOptions options;
    TextObservations observations;
};

QCoro::Task<TextObservations> readKeeping(std::shared_ptr<std::optional<TextPassReading>> kept, QImage image,
                                          ReadOptions options, std::stop_token stop) {
    const qint64 picture = image.cacheKey();
    TextObservations observations =
        co_await VisionRunner::shared().run(TextReader::textRequest(options), std::move(image), std::move(stop));
    *kept = TextPassReading{picture, std::move(options), observations};
    co_return observations;
}

}  // namespace

ReadPasses ReadPasses::live() {
    // The document request's first reading of the whole picture is the text pass's own.
    auto kept = std::make_shared<std::optional<TextPassReading>>();
    ReadPasses passes;
    passes.text = [kept](QImage image, ReadOptions options, std::stop_token stop) {
        return readKeeping(kept, std::move(image), std::move(options), std::move(stop));
    };
    passes.barcodes = [](QImage image, std::stop_token stop) {
        return TextReader::findCodes(std::move(image), std::move(stop));
    };
    passes.document = [kept](QImage image, double width, double height, ReadOptions options, QList<TextPiece> pieces,
                             std::stop_token stop) {
        std::optional<TextObservations> reading;
        if (*kept && (*kept)->picture == image.cacheKey() && (*kept)->options == options)
            reading = (*kept)->observations;
        DocumentPassRequests requests = DocumentPassRequests::live(options, std::move(reading));
        return TextReader::readTable(std::move(image), width, height, std::move(options), std::move(pieces),
                                     std::move(requests), std::move(stop));
    };
    return passes;
}

namespace TextReader {

QCoro::Task<Reading> read(QImage image, ReadOptions options, std::stop_token stop) {
    co_return co_await read(std::move(image), std::move(options), ReadPasses::live(), std::move(stop));
}

QCoro::Task<Reading> read(QImage image, ReadOptions options, ReadPasses passes, std::stop_token stop) {
    const double width = image.width();
    const double height = image.height();
    // The barcode pass has a stop of its own: a failed text pass ends it.
    std::stop_source barcodeStop;
    const std::stop_callback forwardStop(stop, [&barcodeStop] { barcodeStop.request_stop(); });

    QCoro::Task<TextObservations> textPass = passes.text(image, options, stop);
    QCoro::Task<BarcodeObservations> barcodePass = passes.barcodes(image, barcodeStop.get_token());

    TextObservations textObservations;
    std::exception_ptr textError;
    try {
        textObservations = co_await textPass;
    } catch (...) {
        textError = std::current_exception();
    }
    if (textError) {
        barcodeStop.request_stop();
        try {
            co_await barcodePass;
        } catch (...) {
            // The text pass's error is the one reported.
        }
        std::rethrow_exception(textError);
    }
    const QList<TextPiece> pieces = textPieces(textObservations, width, height);

    const BarcodeObservations barcodeObservations = co_await barcodePass;
    QList<FoundCode> codes = foundCodes(barcodeObservations, width, height);

    TextLayout layout(pieces);
    std::optional<TableText> table;
    if (options.tables && looksTabular(layout))
        table = co_await passes.document(image, width, height, options, pieces, stop);

    codes = uniqueCodes(codes);
    co_return Reading{std::move(layout), std::move(table), std::move(codes)};
}

QCoro::Task<QList<QList<TextPiece>>> readWords(QImage image, QStringList languages, std::stop_token stop) {
    RecognizeTextRequest request;
    request.recognitionLevel = RecognitionLevel::accurate;
    request.usesLanguageCorrection = true;
    request.automaticallyDetectsLanguage = languages.isEmpty();
    request.minimumTextHeightFraction = 0.0;
    request.recognitionLanguages = languages;
    const double width = image.width();
    const double height = image.height();
    const TextObservations observations = co_await VisionRunner::shared().run(request, std::move(image), stop);
    co_return wordLines(observations, width, height);
}

QList<QList<TextPiece>> wordLines(const TextObservations& observations, double width, double height) {
    QList<QList<TextPiece>> lines;
    for (const auto& observation : observations) {
        const auto top = observation.topCandidates(1);
        if (top.empty() || top.front().string.isEmpty())
            continue;
        const auto& candidate = top.front();
        const QString& string = candidate.string;
        QList<TextPiece> words;
        qsizetype i = 0;
        while (i < string.size()) {
            if (string[i].isSpace()) {
                ++i;
                continue;
            }
            const qsizetype start = i;
            while (i < string.size() && !string[i].isSpace())
                ++i;
            const TextRange range{start, i - start};
            const QRectF normalized = candidate.boundingBox(range).value_or(observation.boundingBox);
            words.append({string.mid(start, i - start), pixelBox(normalized, width, height)});
        }
        if (!words.isEmpty())
            lines.append(words);
    }
    std::stable_sort(lines.begin(), lines.end(), [](const QList<TextPiece>& a, const QList<TextPiece>& b) {
        return a.front().box.top() < b.front().box.top();
    });
    return lines;
}

RecognizeTextRequest textRequest(const ReadOptions& options) {
    RecognizeTextRequest request;
    request.recognitionLevel = RecognitionLevel::accurate;
    request.usesLanguageCorrection = options.correction;
    request.automaticallyDetectsLanguage = options.detectLanguage;
    request.minimumTextHeightFraction = 0.0;
    if (!options.languages.isEmpty())
        request.recognitionLanguages = options.languages;
    return request;
}

QList<TextPiece> textPieces(const TextObservations& observations, double width, double height) {
    QList<TextPiece> pieces;
    for (const auto& observation : observations) {
        const auto top = observation.topCandidates(1);
        if (top.empty())
            continue;
        pieces.append({top.front().string, pixelBox(observation.boundingBox, width, height)});
    }
    return pieces;
}

bool looksTabular(const TextLayout& layout) {
    int tabbed = 0;
    for (const auto& block : layout.blocks)
        for (const auto& row : block.rows)
            tabbed += row.tabbed ? 1 : 0;
    return tabbed > 2;
}

QRectF pixelBox(const QRectF& normalized, double width, double height) {
    return {normalized.left() * width, (1.0 - normalized.bottom()) * height, normalized.width() * width,
            normalized.height() * height};
}

}  // namespace TextReader
}  // namespace ZantrelText
