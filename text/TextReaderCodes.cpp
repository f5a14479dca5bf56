#include "text/TextReader.h"

#include "text/VisionRunner.h"

namespace ZantrelText::TextReader {

using Platform::Recognition::BarcodeSymbology;
using Platform::Recognition::DetectBarcodesRequest;

QCoro::Task<BarcodeObservations> findCodes(QImage image, std::stop_token stop) {
    co_return co_await VisionRunner::shared().run(DetectBarcodesRequest{}, std::move(image), std::move(stop));
}

QList<FoundCode> foundCodes(const BarcodeObservations& observations, double width, double height) {
    QList<FoundCode> codes;
    for (const auto& observation : observations) {
        if (!observation.payloadString || observation.payloadString->isEmpty())
            continue;
        const bool isQR =
            observation.symbology == BarcodeSymbology::qr || observation.symbology == BarcodeSymbology::microQR;
        codes.append({*observation.payloadString, kindName(observation.symbology), isQR,
                      pixelBox(observation.boundingBox, width, height)});
    }
    return codes;
}

QString kindName(BarcodeSymbology symbology) {
    switch (symbology) {
    case BarcodeSymbology::aztec: return QStringLiteral("Aztec code");
    case BarcodeSymbology::code39:
    case BarcodeSymbology::code39Checksum:
    case BarcodeSymbology::code39FullASCII:
    case BarcodeSymbology::code39FullASCIIChecksum: return QStringLiteral("Code 39");
    case BarcodeSymbology::code93:
    case BarcodeSymbology::code93i: return QStringLiteral("Code 93");
    case BarcodeSymbology::code128: return QStringLiteral("Code 128");
    case BarcodeSymbology::dataMatrix: return QStringLiteral("Data Matrix");
    case BarcodeSymbology::ean8: return QStringLiteral("EAN-8");
    case BarcodeSymbology::ean13: return QStringLiteral("EAN-13");
    case BarcodeSymbology::i2of5:
    case BarcodeSymbology::i2of5Checksum:
    case BarcodeSymbology::itf14: return QStringLiteral("ITF");
    case BarcodeSymbology::pdf417:
    case BarcodeSymbology::microPDF417: return QStringLiteral("PDF417");
    case BarcodeSymbology::qr: return QStringLiteral("QR code");
    case BarcodeSymbology::microQR: return QStringLiteral("Micro QR code");
    case BarcodeSymbology::upce: return QStringLiteral("UPC-E");
    case BarcodeSymbology::codabar: return QStringLiteral("Codabar");
    default: return QStringLiteral("Barcode");
    }
}

QList<FoundCode> uniqueCodes(const QList<FoundCode>& codes) {
    QList<FoundCode> kept;
    for (const FoundCode& code : codes) {
        const bool seen =
            std::any_of(kept.begin(), kept.end(), [&](const FoundCode& earlier) { return earlier.payload == code.payload; });
        if (!seen)
            kept.append(code);
    }
    return kept;
}

}  // namespace ZantrelText::TextReader
