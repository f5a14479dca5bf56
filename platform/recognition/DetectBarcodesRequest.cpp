#include "platform/recognition/DetectBarcodesRequest.h"

#include "platform/async/Cancellation.h"
#include "platform/recognition/PagePreparation.h"

#include <ZXing/ReadBarcode.h>

#include <algorithm>

namespace Platform::Recognition {
namespace {

BarcodeSymbology symbologyOf(const ZXing::Result& result) {
    using ZXing::BarcodeFormat;
    const std::string id = result.symbologyIdentifier();  // "]cm": symbology code, modifier
    const char modifier = id.size() >= 3 ? id[2] : '0';
    switch (result.format()) {
    case BarcodeFormat::Aztec: return BarcodeSymbology::aztec;
    case BarcodeFormat::Codabar: return BarcodeSymbology::codabar;
    case BarcodeFormat::Code39: {
        const bool fullASCII = modifier >= '4';
        const bool checksum = modifier == '1' || modifier == '3' || modifier == '5' || modifier == '7';
        if (fullASCII)
            return checksum ? BarcodeSymbology::code39FullASCIIChecksum : BarcodeSymbology::code39FullASCII;
        return checksum ? BarcodeSymbology::code39Checksum : BarcodeSymbology::code39;
    }
    case BarcodeFormat::Code93: return BarcodeSymbology::code93;
    case BarcodeFormat::Code128: return BarcodeSymbology::code128;
    case BarcodeFormat::DataBar: return BarcodeSymbology::gs1DataBar;
    case BarcodeFormat::DataBarExpanded: return BarcodeSymbology::gs1DataBarExpanded;
    case BarcodeFormat::DataMatrix: return BarcodeSymbology::dataMatrix;
    case BarcodeFormat::EAN8: return BarcodeSymbology::ean8;
    case BarcodeFormat::EAN13: return BarcodeSymbology::ean13;
    case BarcodeFormat::UPCA: return BarcodeSymbology::ean13;  // a UPC-A is an EAN-13 led by 0
    case BarcodeFormat::ITF:
        return result.text().size() == 14 ? BarcodeSymbology::itf14 : BarcodeSymbology::i2of5;
    case BarcodeFormat::MaxiCode: return BarcodeSymbology::maxiCode;
    case BarcodeFormat::PDF417: return BarcodeSymbology::pdf417;
    case BarcodeFormat::QRCode: return BarcodeSymbology::qr;
    case BarcodeFormat::MicroQRCode: return BarcodeSymbology::microQR;
    case BarcodeFormat::UPCE: return BarcodeSymbology::upce;
    default: return BarcodeSymbology::qr;
    }
}

QRectF pixelBoxOf(const ZXing::Position& position) {
    int left = position[0].x, right = left, top = position[0].y, bottom = top;
    for (const auto& point : position) {
        left = std::min(left, point.x);
        right = std::max(right, point.x);
        top = std::min(top, point.y);
        bottom = std::max(bottom, point.y);
    }
    return {static_cast<double>(left), static_cast<double>(top), right - left + 1.0, bottom - top + 1.0};
}

void readInto(const QImage& gray, DetectBarcodesRequest::Result& found, const QSizeF& size) {
    const ZXing::ImageView view(gray.constBits(), gray.width(), gray.height(), ZXing::ImageFormat::Lum,
                                static_cast<int>(gray.bytesPerLine()));
    const auto hints = ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::Any).setTryHarder(true);
    for (const ZXing::Result& result : ZXing::ReadBarcodes(view, hints)) {
        if (!result.isValid())
            continue;
        BarcodeObservation observation;
        observation.symbology = symbologyOf(result);
        if (result.contentType() != ZXing::ContentType::Binary) {
            QString payload = QString::fromStdString(result.text());
            if (result.format() == ZXing::BarcodeFormat::UPCA)
                payload.prepend(u'0');
            observation.payloadString = payload;
        }
        observation.boundingBox = normalizedBox(pixelBoxOf(result.position()), size);
        // The same code seen in both polarities counts once.
        const bool seen = std::any_of(found.begin(), found.end(), [&](const BarcodeObservation& earlier) {
            return earlier.payloadString == observation.payloadString && earlier.symbology == observation.symbology &&
                   earlier.boundingBox.intersects(observation.boundingBox);
        });
        if (!seen)
            found.push_back(std::move(observation));
    }
}

}  // namespace

ComputeStageDevices DetectBarcodesRequest::supportedComputeStageDevices() const {
    return {{ComputeStage::main, {ComputeDevice::cpu}}};
}

void DetectBarcodesRequest::setComputeDevice(ComputeDevice /*device*/, ComputeStage /*stage*/) {}

DetectBarcodesRequest::Result DetectBarcodesRequest::perform(const QImage& picture, std::stop_token stop) const {
    checkCancellation(stop);
    Result found;
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0)
        return found;
    QImage gray = grayPicture(picture);
    const QSizeF size = picture.size();
    readInto(gray, found, size);
    checkCancellation(stop);
    // zxing reads dark modules only; light codes on a dark ground need the negative.
    gray.invertPixels();
    readInto(gray, found, size);
    checkCancellation(stop);
    return found;
}

}  // namespace Platform::Recognition
