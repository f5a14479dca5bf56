#pragma once

// Turns the clipboard's picture or PDF, and picture or PDF files, into inputs for the
// recognizer. Keeps no state: every call stands alone and may run on any thread.
// Nothing here throws; what cannot be read gives an empty result.

#include "text/Input.h"

#include <QImage>
#include <QList>
#include <QMimeType>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <cstdint>
#include <optional>

class QImageReader;
class QPdfDocument;

namespace Platform {
class Pasteboard;
}

namespace ZantrelText::ImageInput {

// A family of file types: one MIME type and those derived from it, or, for a name
// ending in "/*" such as "image/*", every type of that top-level kind.
struct ContentType {
    QString name;

    bool conforms(const QMimeType& type) const;
    // The file-name patterns of every known type of the family, for open dialogs.
    QStringList globPatterns() const;

    friend bool operator==(const ContentType&, const ContentType&) = default;
};

// What one file gave.
struct FileRead {
    QList<Input> inputs;  // in page order for a PDF
    // The PDF's whole page count, also the pages past the page limit; none for a
    // picture file or a file that gave nothing.
    std::optional<int> pdfPages;

    friend bool operator==(const FileRead&, const FileRead&) = default;
};

// Only the first pages of a long PDF are read.
inline constexpr int pageLimit = 30;
// Pixels per PDF point when a page without usable text is drawn.
inline constexpr double pageRenderScale = 2.0;
// A drawn page larger than this is skipped: 100 megapixels is a page of about 5000 × 5000
// points at the render scale; an A0 poster needs 32.
inline constexpr std::int64_t maxPagePixels = 100'000'000;
// A picture larger than this is not decoded: 16384 × 16384 is beyond every camera and
// screen, and still keeps a decompression bomb from taking gigabytes.
inline constexpr std::int64_t maxPicturePixels = std::int64_t{16384} * 16384;

// Pictures and PDFs: [image, pdf].
const QList<ContentType>& acceptedTypes();

// True when the file's name extension names a picture or PDF type. Only the name is
// looked at, never the contents.
bool canRead(const QUrl& file);

FileRead read(const QUrl& file);

// True when the pasteboard holds something that read(pasteboard) takes from it.
bool hasInput(const Platform::Pasteboard& pasteboard);

// The file URLs on the board when there are any, else its PDF, else its first picture.
QList<Input> read(const Platform::Pasteboard& pasteboard);

// The steps of a read.

// The text or drawn picture of each of the first pages of a loaded document.
QList<Input> pdfInputs(QPdfDocument& document);
// The page drawn on white at the scale, as an RGB32 picture; none when it is under one
// pixel, too large, or cannot be drawn.
std::optional<QImage> renderPage(QPdfDocument& document, int page, double scale);
// The source's first picture, turned upright by its orientation tag, at full size.
std::optional<QImage> uprightImage(QImageReader& source);

}  // namespace ZantrelText::ImageInput
