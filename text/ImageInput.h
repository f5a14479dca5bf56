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

#include <chrono>
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

// Why a file gave nothing, or less than it holds.
enum class Problem {
    none,
    missing,          // no such file
    notAFile,         // a folder, a pipe, a device
    unreadable,       // no permission to open it
    notPictureOrPdf,  // by its name, or by what it holds
    password,         // a PDF locked by a password
    damaged,          // its contents could not be decoded
    cutShort,         // a picture that ends early: what was there was read
    tooLarge,         // over the size the reader takes on
    tooLong,          // the time limit ran out
    failed,           // the PDF engine gave up: out of memory or a fault
};

// Says what went wrong in words that follow the file's name ("scan.png: no such file").
QString describe(Problem problem);

// What one file gave.
struct FileRead {
    QList<Input> inputs;  // in page order for a PDF
    // The PDF's whole page count, also the pages past the page limit; none for a
    // picture file or a file that gave nothing.
    std::optional<int> pdfPages;
    Problem problem = Problem::none;

    friend bool operator==(const FileRead&, const FileRead&) = default;
};

// A decoded picture, or why there is none; a picture cut short comes with its problem.
struct PictureRead {
    std::optional<QImage> picture;
    Problem problem = Problem::none;
};

// Only the first pages of a long PDF are read.
inline constexpr int pageLimit = 30;
// Pixels per PDF point when a page without usable text is drawn.
inline constexpr double pageRenderScale = 2.0;
// What recognition is given at most: a 5K screen fits, and text on a larger picture or
// page is still several pixels high once scaled down to it. Larger pictures and pages
// are scaled down, not refused.
inline constexpr std::int64_t pixelBudget = std::int64_t{4096} * 4096;
// A picture whose header claims more than this is not decoded at all: beyond every
// camera and screen, and the mark of a decompression bomb.
inline constexpr std::int64_t maxPicturePixels = std::int64_t{16384} * 16384;
// The most a picture may take while it is decoded at full size, before it is scaled
// down to the budget.
inline constexpr std::int64_t maxDecodeBytes = std::int64_t{512} << 20;
// What decoding one picture may take, in time and in memory beyond the caller's.
inline constexpr std::chrono::milliseconds pictureTime{10'000};
inline constexpr std::int64_t pictureMemory = maxDecodeBytes + (std::int64_t{128} << 20);
// Files larger than this are not read into memory.
inline constexpr std::int64_t maxFileBytes = std::int64_t{256} << 20;

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

// The page's text when its text layer holds a letter, else the page drawn; none when it
// cannot be drawn. Called in the PDF worker.
std::optional<Input> pageInput(QPdfDocument& document, int page, double scale, std::int64_t pixelCap);
// The page drawn on white at the scale, or at less when it would pass `pixelCap`, as an
// RGB32 picture; none when it is under one pixel or cannot be drawn.
std::optional<QImage> renderPage(QPdfDocument& document, int page, double scale,
                                 std::int64_t pixelCap = pixelBudget);
// The source's first picture, turned upright by its orientation tag, scaled down to the
// pixel budget when larger.
PictureRead uprightImage(QImageReader& source);
// The same from a picture's bytes, which also tell whether the picture ends early.
PictureRead decodePicture(const QByteArray& bytes);
// decodePicture in a child process under the picture limits below: what cannot be
// decoded within them ends as tooLong or failed. Blocks the calling thread.
PictureRead decodeApart(const QByteArray& bytes);
// The same for a file, which is read in the child: the caller never holds its bytes.
PictureRead decodeFileApart(const QString& path, std::chrono::milliseconds time = pictureTime);
// A picture scaled down, keeping its shape, to at most `budget` pixels.
QImage fitToBudget(const QImage& picture, std::int64_t budget = pixelBudget);
// True when the bytes are a JPEG, PNG or GIF that stops before its end marker.
bool endsEarly(const QByteArray& bytes);

}  // namespace ZantrelText::ImageInput
