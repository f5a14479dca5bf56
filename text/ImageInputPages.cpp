// The steps of a read: PDF pages to text or pictures, pictures decoded upright and
// within the pixel budget.

#include "text/ImageInput.h"

#include "text/PdfWorker.h"
#include "text/PictureChecks.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <QPdfDocument>
#include <QPdfDocumentRenderOptions>
#include <QPdfSelection>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace ZantrelText::ImageInput {

namespace {

bool holdsLetter(const QString& text) {
    const QList<uint> codePoints = text.toUcs4();
    return std::ranges::any_of(codePoints, [](uint c) { return QChar::isLetter(static_cast<char32_t>(c)); });
}

// Text layers end their lines the Windows way; text here ends them with "\n" alone.
QString withUnixLineEnds(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// The drawn page has a transparent background; the recognizer wants it on white.
// Done in place, pixel by pixel: this runs in the PDF worker, a forked child whose
// thread pool has no threads, where Qt's own conversions would wait on them forever.
QImage onWhite(QImage drawn) {
    const QImage::Format format = drawn.format();
    if (format != QImage::Format_ARGB32_Premultiplied && format != QImage::Format_ARGB32 &&
        format != QImage::Format_RGB32)
        drawn.convertTo(QImage::Format_ARGB32_Premultiplied);
    const bool premultiplied = drawn.format() == QImage::Format_ARGB32_Premultiplied;
    const bool opaque = drawn.format() == QImage::Format_RGB32;
    for (int y = 0; y < drawn.height() && !opaque; ++y) {
        auto* line = reinterpret_cast<QRgb*>(drawn.scanLine(y));
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb pixel = line[x];
            const int a = qAlpha(pixel);
            const auto over = [a, premultiplied](int c) {
                return premultiplied ? std::min(255, c + 255 - a) : (c * a + 255 * (255 - a)) / 255;
            };
            line[x] = qRgb(over(qRed(pixel)), over(qGreen(pixel)), over(qBlue(pixel)));
        }
    }
    drawn.reinterpretAsFormat(QImage::Format_RGB32);
    return drawn;
}

// Qt's own limit counts four bytes a pixel whatever the format, and would refuse a 1-bit
// scan that takes a few megabytes; the check by the real depth below is the gate, and
// Qt's limit only stops pictures whose size is not known before decoding.
void limitDecoding() {
    static std::once_flag once;
    std::call_once(once, [] { QImageReader::setAllocationLimit(static_cast<int>(maxPicturePixels * 4 >> 20)); });
}

// Formats that decode straight to a smaller size, without the full picture in memory.
bool scalesWhileDecoding(const QByteArray& format) {
    return format == "jpeg" || format == "jpg" || format == "svg" || format == "svgz";
}

// Drawing an SVG's text needs the font database, which only a GUI application has;
// without one Qt aborts the process.
bool needsFonts(const QByteArray& format) { return format == "svg" || format == "svgz"; }

bool fontsAvailable() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

QSize fitted(QSize size, std::int64_t budget) {
    const double pixels = static_cast<double>(size.width()) * size.height();
    if (pixels <= static_cast<double>(budget))
        return size;
    const double factor = std::sqrt(static_cast<double>(budget) / pixels);
    return QSize(std::max(1, static_cast<int>(size.width() * factor)),
                 std::max(1, static_cast<int>(size.height() * factor)));
}

int depthOf(QImage::Format format) {
    return format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
}

}  // namespace

std::optional<QImage> renderPage(QPdfDocument& document, int page, double scale, std::int64_t pixelCap) {
    if (page < 0 || page >= document.pageCount())
        return std::nullopt;
    const QSizeF bounds = document.pagePointSize(page);
    const double drawScale = PdfWorker::scaleFor(bounds.width(), bounds.height(), scale, pixelCap);
    const double width = std::trunc(drawScale * bounds.width());
    const double height = std::trunc(drawScale * bounds.height());
    if (!(width >= 1 && height >= 1))  // also refuses NaN
        return std::nullopt;
    const QSize size(static_cast<int>(width), static_cast<int>(height));
    QPdfDocumentRenderOptions options;
    options.setRenderFlags(QPdfDocumentRenderOptions::RenderFlag::Annotations);
    QImage drawn = document.render(page, size, options);
    if (drawn.isNull() || drawn.size() != size)
        return std::nullopt;
    return onWhite(std::move(drawn));
}

std::optional<Input> pageInput(QPdfDocument& document, int page, double scale, std::int64_t pixelCap) {
    // A text layer of only a page number or punctuation says nothing of the page:
    // such pages are drawn and recognized.
    QString text = withUnixLineEnds(document.getAllText(page).text()).trimmed();
    if (holdsLetter(text))
        return Input::text(std::move(text));
    if (std::optional<QImage> picture = renderPage(document, page, scale, pixelCap))
        return Input::picture(std::move(*picture));
    return std::nullopt;
}

QImage fitToBudget(const QImage& picture, std::int64_t budget) {
    const std::int64_t pixels = std::int64_t{picture.width()} * picture.height();
    if (picture.isNull() || pixels <= budget)
        return picture;
    // A whole number of source pixels per side averaged into one, a band of rows at a
    // time: no second full-size copy of the picture is ever made.
    const int step = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(pixels) / static_cast<double>(budget))));
    const int width = picture.width() / step;
    const int height = picture.height() / step;
    if (width < 1 || height < 1)
        return fitToBudget(picture.scaled(std::max(1, width), std::max(1, height)), budget);
    QImage result(width, height, QImage::Format_RGB32);
    if (result.isNull())
        return {};
    const bool alpha = picture.hasAlphaChannel();
    std::vector<std::uint32_t> sums(static_cast<std::size_t>(width) * 3);
    for (int row = 0; row < height; ++row) {
        const QImage band =
            picture.copy(0, row * step, width * step, step)
                .convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        std::ranges::fill(sums, 0u);
        for (int y = 0; y < step; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(band.constScanLine(y));
            for (int x = 0; x < width * step; ++x) {
                QRgb pixel = line[x];
                if (alpha) {
                    // Transparent parts count as white paper.
                    const int a = qAlpha(pixel);
                    const auto over = [a](int c) { return (c * a + 255 * (255 - a)) / 255; };
                    pixel = qRgb(over(qRed(pixel)), over(qGreen(pixel)), over(qBlue(pixel)));
                }
                std::uint32_t* sum = &sums[static_cast<std::size_t>(x / step) * 3];
                sum[0] += static_cast<std::uint32_t>(qRed(pixel));
                sum[1] += static_cast<std::uint32_t>(qGreen(pixel));
                sum[2] += static_cast<std::uint32_t>(qBlue(pixel));
            }
        }
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(row));
        const std::uint32_t area = static_cast<std::uint32_t>(step) * static_cast<std::uint32_t>(step);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t* sum = &sums[static_cast<std::size_t>(x) * 3];
            out[x] = qRgb(static_cast<int>(sum[0] / area), static_cast<int>(sum[1] / area),
                          static_cast<int>(sum[2] / area));
        }
    }
    return result;
}

PictureRead uprightImage(QImageReader& source) {
    limitDecoding();
    source.setAutoTransform(true);
    const QByteArray format = source.format();
    if (format.isEmpty())
        return {std::nullopt, Problem::notPictureOrPdf};
    if (needsFonts(format) && !fontsAvailable())
        return {std::nullopt, Problem::notPictureOrPdf};
    // The header tells the size before anything is decoded; a picture that lies about
    // it still meets Qt's allocation limit.
    if (const QSize size = source.size(); size.isValid()) {
        const std::int64_t pixels = std::int64_t{size.width()} * size.height();
        if (pixels > maxPicturePixels)
            return {std::nullopt, Problem::tooLarge};
        if (pixels > pixelBudget && scalesWhileDecoding(format)) {
            source.setScaledSize(fitted(size, pixelBudget));
        } else if (pixels * depthOf(source.imageFormat()) / 8 > maxDecodeBytes) {
            return {std::nullopt, Problem::tooLarge};
        }
    }
    QImage picture;
    if (!source.read(&picture) || picture.isNull())
        return {std::nullopt, Problem::damaged};
    return {fitToBudget(picture), Problem::none};
}

bool endsEarly(const QByteArray& bytes) {
    if (bytes.startsWith("\xff\xd8\xff")) {
        // The last scan must be followed by the end-of-image marker; a thumbnail's end
        // marker comes before the first scan and does not count.
        const qsizetype scan = bytes.lastIndexOf(QByteArrayView("\xff\xda", 2));
        return scan < 0 || bytes.indexOf(QByteArrayView("\xff\xd9", 2), scan) < 0;
    }
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return bytes.lastIndexOf("IEND") < 0;
    if (bytes.startsWith("GIF8")) {
        qsizetype end = bytes.size();
        while (end > 0 && bytes[end - 1] == '\0')
            --end;
        return end == 0 || bytes[end - 1] != '\x3b';
    }
    return false;
}

PictureRead decodePicture(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return {std::nullopt, Problem::notPictureOrPdf};
    if (PictureChecks::pngChunkOverruns(bytes) || PictureChecks::jpegScans(bytes) > PictureChecks::maxJpegScans)
        return {std::nullopt, Problem::damaged};
    QBuffer buffer;
    if (PictureChecks::isGzip(bytes)) {
        // An SVGZ: Qt would inflate it whole, however large it grows.
        auto svg = PictureChecks::inflated(bytes, PictureChecks::maxInflatedSvgBytes);
        if (!svg)
            return {std::nullopt, svg.error() == PictureChecks::InflateError::tooLarge ? Problem::tooLarge
                                                                                        : Problem::damaged};
        buffer.setData(*svg);
    } else {
        buffer.setData(bytes);
    }
    if (!buffer.open(QIODevice::ReadOnly))
        return {std::nullopt, Problem::damaged};
    QImageReader source(&buffer);
    PictureRead read = uprightImage(source);
    if (read.picture && endsEarly(bytes))
        read.problem = Problem::cutShort;
    return read;
}

}  // namespace ZantrelText::ImageInput
