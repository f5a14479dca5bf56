#pragma once

// What the recognizers hand back, shaped the way the reader consumes it: one observation
// per visually separate run of text, boxes normalized to the unit square with the origin
// at the bottom left of the picture.

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace Platform::Recognition {

// A range of UTF-16 code units in a candidate string.
struct TextRange {
    qsizetype start = 0;
    qsizetype length = 0;

    qsizetype end() const { return start + length; }
    friend bool operator==(const TextRange&, const TextRange&) = default;
};

// One reading of a run of text.
struct RecognizedText {
    QString string;
    // 0 to 1.
    float confidence = 0;
    // The normalized box of each word, by its range in `string`.
    struct Word {
        TextRange range;
        QRectF box;
        friend bool operator==(const Word&, const Word&) = default;
    };
    std::vector<Word> words;

    // The normalized box covering the words that the range touches; nothing when it
    // touches none.
    std::optional<QRectF> boundingBox(TextRange range) const;

    friend bool operator==(const RecognizedText&, const RecognizedText&) = default;
};

struct RecognizedTextObservation {
    // Normalized, origin at the bottom left.
    QRectF boundingBox;
    // Best first.
    std::vector<RecognizedText> candidates;

    std::vector<RecognizedText> topCandidates(std::size_t count) const;

    friend bool operator==(const RecognizedTextObservation&, const RecognizedTextObservation&) = default;
};

enum class BarcodeSymbology {
    aztec,
    codabar,
    code39,
    code39Checksum,
    code39FullASCII,
    code39FullASCIIChecksum,
    code93,
    code93i,
    code128,
    dataMatrix,
    ean8,
    ean13,
    gs1DataBar,
    gs1DataBarExpanded,
    gs1DataBarLimited,
    i2of5,
    i2of5Checksum,
    itf14,
    maxiCode,
    microPDF417,
    microQR,
    msiPlessey,
    pdf417,
    qr,
    upce,
};

struct BarcodeObservation {
    // Absent when the content is not text.
    std::optional<QString> payloadString;
    BarcodeSymbology symbology = BarcodeSymbology::qr;
    // Normalized, origin at the bottom left.
    QRectF boundingBox;

    friend bool operator==(const BarcodeObservation&, const BarcodeObservation&) = default;
};

// Where a request's work runs. The shared engines are kept loaded between requests; the
// CPU device is a fresh engine made for the one request, so a retry cannot inherit
// whatever state made the first attempt fail.
enum class ComputeStage { main };
enum class ComputeDevice { sharedEngine, cpu };
using ComputeStageDevices = std::map<ComputeStage, std::vector<ComputeDevice>>;

// A box in picture pixels (origin top left) as the recognizers report boxes.
QRectF normalizedBox(const QRectF& pixelBox, const QSizeF& pictureSize);

}  // namespace Platform::Recognition
