#include "text/PdfWorker.h"

#include "text/BoundedChild.h"
#include "text/ImageInput.h"

#include <QBuffer>
#include <QPdfDocument>

#include <algorithm>
#include <cmath>

namespace ZantrelText::PdfWorker {

namespace {

using BoundedChild::Receiver;
using BoundedChild::Sender;

// What the child sends: a header, then one record per page, then the end.
enum Header : std::int32_t { opened = 0, notOpened = 1, needsPassword = 2 };
enum Record : std::int32_t { textPage = 0, picturePage = 1, skippedPage = 2, finished = 3 };

void child(const Sender& out, const Source& source, const Limits& limits, bool countOnly) {
    QBuffer buffer;
    QPdfDocument document;
    QPdfDocument::Error error = QPdfDocument::Error::None;
    if (source.path.isEmpty()) {
        buffer.setData(source.bytes);
        buffer.open(QIODevice::ReadOnly);
        document.load(&buffer);
        error = document.error();
        if (error == QPdfDocument::Error::None && document.status() != QPdfDocument::Status::Ready)
            error = QPdfDocument::Error::InvalidFileFormat;
    } else {
        error = document.load(source.path);
    }
    if (error == QPdfDocument::Error::IncorrectPassword) {
        out.number(needsPassword);
        return;
    }
    if (error != QPdfDocument::Error::None) {
        out.number(notOpened);
        return;
    }
    const int count = document.pageCount();
    out.number(opened);
    out.number(count);
    if (countOnly)
        return;

    const int pages = std::clamp(count, 0, limits.pageLimit);
    const std::int64_t cap = pages > 0 ? std::min(limits.pagePixels, limits.documentPixels / pages) : 0;
    for (int page = 0; page < pages; ++page) {
        const std::optional<Input> input = ImageInput::pageInput(document, page, limits.renderScale, cap);
        if (!input) {
            out.number(skippedPage);
        } else if (const QString* text = input->string()) {
            const QByteArray utf8 = text->toUtf8();
            out.number(textPage);
            out.number(static_cast<std::int32_t>(utf8.size()));
            out.bytes(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        } else {
            out.number(picturePage);
            out.picture(*input->image());
        }
    }
    out.number(finished);
}

// True when the child said all it had to say.
bool receive(Receiver& in, const Limits& limits, bool countOnly, Result& result) {
    std::int32_t header = 0;
    if (!in.number(header))
        return false;
    if (header == needsPassword) {
        result.ending = Ending::password;
        return true;
    }
    if (header == notOpened)
        return true;
    std::int32_t count = 0;
    if (header != opened || !in.number(count) || count < 0)
        return false;
    result.pageCount = count;
    if (countOnly) {
        result.ending = Ending::read;
        return true;
    }
    const int pages = std::min<int>(count, limits.pageLimit);
    for (int page = 0; page <= pages; ++page) {
        std::int32_t record = 0;
        if (!in.number(record))
            return false;
        if (record == finished) {
            result.ending = Ending::read;
            return true;
        }
        if (record == textPage) {
            std::int32_t size = 0;
            if (!in.number(size) || size < 0 || size > (64 << 20))
                return false;
            QByteArray utf8(size, Qt::Uninitialized);
            if (!in.bytes(utf8.data(), static_cast<std::size_t>(size)))
                return false;
            result.inputs.append(Input::text(QString::fromUtf8(utf8)));
        } else if (record == picturePage) {
            std::optional<QImage> picture = in.picture(limits.pagePixels);
            if (!picture)
                return false;
            result.inputs.append(Input::picture(std::move(*picture)));
        } else if (record != skippedPage) {
            return false;
        }
    }
    return false;
}

}  // namespace

double scaleFor(double width, double height, double renderScale, std::int64_t pixelCap) {
    const double pixels = renderScale * width * renderScale * height;
    if (!(pixels > static_cast<double>(pixelCap)))
        return renderScale;
    return renderScale * std::sqrt(static_cast<double>(pixelCap) / pixels);
}

Result read(const Source& source, const Limits& limits, bool countOnly) {
    Result result;
    const BoundedChild::Ending ending = BoundedChild::run(
        {limits.time, limits.memoryBytes}, [&](const Sender& out) { child(out, source, limits, countOnly); },
        [&](Receiver& in) { return receive(in, limits, countOnly, result); });
    if (ending == BoundedChild::Ending::tooLong)
        result.ending = Ending::tooLong;
    else if (ending == BoundedChild::Ending::failed)
        result.ending = Ending::failed;
    return result;
}

}  // namespace ZantrelText::PdfWorker
