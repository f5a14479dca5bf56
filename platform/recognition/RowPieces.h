#pragma once

// Tesseract can return one row as two lines and leave the word between them unread: small
// print "source customer" came back as "source" and "tomer", the gap holding the ink of
// "cus". The last word of the first piece, the ink and the first word of the second are
// read again together; a reading that keeps the first word, ends as the second did,
// holds more characters and spaces its words as one line does joins the two pieces into
// one line. A blank wider than a word space in the gap parts columns, not words.

#include "platform/recognition/LineFragments.h"

#include <QImage>

#include <vector>

namespace tesseract {
class ETEXT_DESC;
class TessBaseAPI;
}

namespace Platform::Recognition {

// `api` holds `band` as its picture, dark text on a light ground, darker than
// `threshold` is ink; the lines' boxes are in its pixels. Leaves the engine reading
// whole pages again.
void joinRowPieces(tesseract::TessBaseAPI& api, const QImage& band, int threshold, std::vector<LineWords>& lines,
                   tesseract::ETEXT_DESC& monitor);

}  // namespace Platform::Recognition
