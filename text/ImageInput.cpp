#include "text/ImageInput.h"

#include "platform/log/Log.h"
#include "platform/pasteboard/Pasteboard.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeDatabase>
#include <QPdfDocument>

#include <algorithm>
#include <array>

namespace ZantrelText::ImageInput {

namespace {

const Platform::Logger& inputLog() {
    static const Platform::Logger logger(QStringLiteral("input"));
    return logger;
}

const ContentType& pdfType() {
    static const ContentType type{Platform::PasteboardType::pdf};
    return type;
}

// The type that the last extension of the file's name gives; the contents are never
// looked at, so a misnamed file is judged by its name.
std::optional<QMimeType> fileType(const QUrl& file) {
    const QString path = file.isLocalFile() ? file.toLocalFile() : file.path(QUrl::FullyDecoded);
    const QString name = path.section(QLatin1Char('/'), -1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    // A leading dot marks a hidden file, not an extension.
    if (dot <= 0 || dot == name.size() - 1)
        return std::nullopt;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(
        QStringLiteral("file.") + name.mid(dot + 1), QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault())
        return std::nullopt;
    return type;
}

bool isAccepted(const QMimeType& type) {
    const QList<ContentType>& accepted = acceptedTypes();
    return std::ranges::any_of(accepted, [&](const ContentType& c) { return c.conforms(type); });
}

// The picture types read() asks the board for, in that order.
const std::array<QString, 4>& pictureTypes() {
    static const std::array<QString, 4> types{
        Platform::PasteboardType::png, Platform::PasteboardType::tiff,
        Platform::PasteboardType::jpeg, Platform::PasteboardType::heic};
    return types;
}

// Boards that hand over a picture in another encoding still give one through the
// board's own decoding, which Qt offers under this name.
const QString qtImageType = QStringLiteral("application/x-qt-image");

bool readsBoardType(const QString& type) {
    if (type == Platform::PasteboardType::pdf || type == qtImageType ||
        std::ranges::find(pictureTypes(), type) != pictureTypes().end())
        return true;
    return type.startsWith(QLatin1String("image/")) &&
           QImageReader::supportedMimeTypes().contains(type.toLatin1());
}

std::optional<QImage> pictureFrom(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return std::nullopt;
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return std::nullopt;
    QImageReader source(&buffer);
    return uprightImage(source);
}

}  // namespace

bool ContentType::conforms(const QMimeType& type) const {
    if (!type.isValid())
        return false;
    if (name.endsWith(QLatin1String("/*"))) {
        const QStringView kind = QStringView(name).chopped(1);
        if (type.name().startsWith(kind))
            return true;
        const QStringList ancestors = type.allAncestors();
        return std::ranges::any_of(ancestors, [&](const QString& a) { return a.startsWith(kind); });
    }
    return type.inherits(name);
}

QStringList ContentType::globPatterns() const {
    QStringList patterns;
    const QList<QMimeType> known = QMimeDatabase().allMimeTypes();
    for (const QMimeType& type : known)
        if (conforms(type))
            patterns.append(type.globPatterns());
    patterns.sort();
    patterns.removeDuplicates();
    return patterns;
}

const QList<ContentType>& acceptedTypes() {
    static const QList<ContentType> types{ContentType{QStringLiteral("image/*")}, pdfType()};
    return types;
}

bool canRead(const QUrl& file) {
    const std::optional<QMimeType> type = fileType(file);
    return type && isAccepted(*type);
}

FileRead read(const QUrl& file) {
    const std::optional<QMimeType> type = fileType(file);
    if (!type || !isAccepted(*type))
        return {};
    const QString path = file.toLocalFile();
    // Folders, pipes and devices are no files to read, and opening a pipe would wait
    // for a writer that may never come.
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        inputLog().notice(u"not a readable file: %{public}s", type->name());
        return {};
    }
    if (pdfType().conforms(*type)) {
        QPdfDocument document;
        if (const QPdfDocument::Error error = document.load(path);
            error != QPdfDocument::Error::None) {
            inputLog().notice(u"PDF not opened (error %d)", static_cast<int>(error));
            return {};
        }
        return FileRead{pdfInputs(document), document.pageCount()};
    }
    QImageReader source(path);
    if (std::optional<QImage> picture = uprightImage(source))
        return FileRead{{Input::picture(std::move(*picture))}, std::nullopt};
    return {};
}

bool hasInput(const Platform::Pasteboard& pasteboard) {
    const QList<QUrl> files = pasteboard.fileUrls();
    if (!files.isEmpty())
        return std::ranges::any_of(files, [](const QUrl& file) { return canRead(file); });
    const QStringList types = pasteboard.types();
    return std::ranges::any_of(types, readsBoardType);
}

QList<Input> read(const Platform::Pasteboard& pasteboard) {
    // File URLs win even when none of them can be read: the user copied files, and
    // reading some other picture on the board would surprise.
    const QList<QUrl> files = pasteboard.fileUrls();
    if (!files.isEmpty()) {
        QList<Input> inputs;
        for (const QUrl& file : files)
            inputs.append(read(file).inputs);
        return inputs;
    }

    const QStringList types = pasteboard.types();
    if (types.contains(Platform::PasteboardType::pdf)) {
        QBuffer buffer;
        buffer.setData(pasteboard.data(Platform::PasteboardType::pdf));
        if (buffer.open(QIODevice::ReadOnly)) {
            QPdfDocument document;  // after the buffer it reads, so it is gone first
            document.load(&buffer);
            if (document.status() == QPdfDocument::Status::Ready)
                return pdfInputs(document);
        }
    }

    for (const QString& type : pictureTypes()) {
        if (!types.contains(type))
            continue;
        if (std::optional<QImage> picture = pictureFrom(pasteboard.data(type)))
            return {Input::picture(std::move(*picture))};
    }

    if (std::optional<QImage> picture = pasteboard.image(); picture && !picture->isNull())
        return {Input::picture(std::move(*picture))};
    return {};
}

}  // namespace ZantrelText::ImageInput
