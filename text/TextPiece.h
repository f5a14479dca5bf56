#pragma once

// One recognized line fragment: its string and where it sits in the picture.

#include <QRectF>
#include <QString>

namespace ZantrelText {

struct TextPiece {
    QString text;
    // In picture pixels, origin at the top left, y growing downward.
    QRectF box;

    friend bool operator==(const TextPiece&, const TextPiece&) = default;
};

}  // namespace ZantrelText
