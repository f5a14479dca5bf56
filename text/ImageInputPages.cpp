// The steps of a read: PDF pages to text or pictures, and pictures turned upright.

#include "text/ImageInput.h"

#include "platform/log/Log.h"

#include <QImageReader>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfDocumentRenderOptions>
#include <QPdfSelection>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace ZantrelText::ImageInput {

namespace {

const Platform::Logger& inputLog() {
    static const Platform::Logger logger(QStringLiteral("input"));
    return logger;
}

bool holdsLetter(const QString& text) {
    const QList<uint> codePoints = text.toUcs4();
    return std::ranges::any_of(codePoints, [](uint c) { return QChar::isLetter(static_cast<char32_t>(c)); });
}

// The drawn page has a transparent background; the recognizer wants it on white.
// Done in place, since a page can be a few hundred megabytes.
QImage onWhite(QImage drawn) {
    drawn.convertTo(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&drawn);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOver);
        painter.fillRect(drawn.rect(), Qt::white);
    }
    drawn.convertTo(QImage::Format_RGB32);
    return drawn;
}

// Qt's own decoding limit would refuse ordinary 40-megapixel photos; the pixel check
// below is the real gate, so the limit is raised to match it, once.
void allowPicturesUpToTheCap() {
    static std::once_flag once;
    std::call_once(once, [] {
        constexpr int megabytes = static_cast<int>(maxPicturePixels * 4 / (1024 * 1024));
        const int current = QImageReader::allocationLimit();
        if (current != 0 && current < megabytes)
            QImageReader::setAllocationLimit(megabytes);
    });
}

}  // namespace

QList<Input> pdfInputs(QPdfDocument& document) {
    QList<Input> inputs;
    const int pages = std::min(document.pageCount(), pageLimit);
    for (int page = 0; page < pages; ++page) {
        // A text layer of only a page number or punctuation says nothing of the page:
        // such pages are drawn and recognized.
        QString text = document.getAllText(page).text().trimmed();
        if (holdsLetter(text)) {
            inputs.append(Input::text(std::move(text)));
            continue;
        }
        if (std::optional<QImage> picture = renderPage(document, page, pageRenderScale))
            inputs.append(Input::picture(std::move(*picture)));
    }
    return inputs;
}

std::optional<QImage> renderPage(QPdfDocument& document, int page, double scale) {
    if (page < 0 || page >= document.pageCount())
        return std::nullopt;
    const QSizeF bounds = document.pagePointSize(page);
    const double width = std::trunc(scale * bounds.width());
    const double height = std::trunc(scale * bounds.height());
    if (!(width >= 1 && height >= 1))  // also refuses NaN
        return std::nullopt;
    if (width * height > static_cast<double>(maxPagePixels)) {
        inputLog().error(u"page %d skipped: %g × %g pixels is more than %lld", page + 1, width,
                    height, static_cast<long long>(maxPagePixels));
        return std::nullopt;
    }
    const QSize size(static_cast<int>(width), static_cast<int>(height));
    QPdfDocumentRenderOptions options;
    options.setRenderFlags(QPdfDocumentRenderOptions::RenderFlag::Annotations);
    QImage drawn = document.render(page, size, options);
    if (drawn.isNull() || drawn.size() != size) {
        inputLog().error(u"page %d skipped: it could not be drawn", page + 1);
        return std::nullopt;
    }
    return onWhite(std::move(drawn));
}

std::optional<QImage> uprightImage(QImageReader& source) {
    allowPicturesUpToTheCap();
    source.setAutoTransform(true);
    // The header tells the size before anything is decoded; a picture that lies about
    // it still meets Qt's allocation limit.
    if (const QSize size = source.size(); size.isValid()) {
        const std::int64_t pixels = std::int64_t{size.width()} * size.height();
        if (pixels > maxPicturePixels) {
            inputLog().error(u"picture refused: %d × %d pixels is more than %lld", size.width(),
                        size.height(), static_cast<long long>(maxPicturePixels));
            return std::nullopt;
        }
    }
    QImage picture;
    if (!source.read(&picture) || picture.isNull()) {
        inputLog().notice(u"picture not decoded: %{public}s", source.errorString());
        return std::nullopt;
    }
    return picture;
}

}  // namespace ZantrelText::ImageInput
