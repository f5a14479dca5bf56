#pragma once

// One QR code or barcode found in a picture.

#include <QRectF>
#include <QString>

namespace ZantrelText {

struct FoundCode {
    // The decoded content, never empty.
    QString payload;
    // The symbology's display name, such as "QR code" or "EAN-13".
    QString kind;
    // QR and Micro QR codes.
    bool isQR = false;
    // In picture pixels, origin at the top left.
    QRectF box;

    friend bool operator==(const FoundCode&, const FoundCode&) = default;
};

}  // namespace ZantrelText
