#include "text/ImageInput.h"

#include "platform/log/Log.h"
#include "platform/pasteboard/Pasteboard.h"
#include "text/BoundedChild.h"
#include "text/PdfWorker.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeDatabase>

#include <algorithm>
#include <array>
#include <functional>

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

// A picture type Qt decodes other than those above (BMP, GIF, SVG…).
bool isOtherPictureType(const QString& type) {
    return type.startsWith(QLatin1String("image/")) && std::ranges::find(pictureTypes(), type) == pictureTypes().end() &&
           QImageReader::supportedMimeTypes().contains(type.toLatin1());
}

bool readsBoardType(const QString& type) {
    return type == Platform::PasteboardType::pdf || type == qtImageType ||
           std::ranges::find(pictureTypes(), type) != pictureTypes().end() || isOtherPictureType(type);
}

Problem problemOf(PdfWorker::Ending ending) {
    switch (ending) {
    case PdfWorker::Ending::read: return Problem::none;
    case PdfWorker::Ending::damaged: return Problem::damaged;
    case PdfWorker::Ending::password: return Problem::password;
    case PdfWorker::Ending::tooLong: return Problem::tooLong;
    case PdfWorker::Ending::failed: return Problem::failed;
    }
    return Problem::failed;
}

PdfWorker::Limits pdfLimits() {
    PdfWorker::Limits limits;
    limits.pageLimit = pageLimit;
    limits.renderScale = pageRenderScale;
    limits.pagePixels = pixelBudget;
    return limits;
}

FileRead readPdf(const PdfWorker::Source& source) {
    PdfWorker::Result result = PdfWorker::read(source, pdfLimits());
    const Problem problem = problemOf(result.ending);
    if (problem != Problem::none) {
        inputLog().notice(u"PDF not read: %{public}s", describe(problem));
        return FileRead{{}, std::nullopt, problem};
    }
    return FileRead{std::move(result.inputs), result.pageCount, Problem::none};
}

FileRead readPicture(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileRead{{}, std::nullopt, Problem::unreadable};
    if (file.size() > maxFileBytes)
        return FileRead{{}, std::nullopt, Problem::tooLarge};
    file.close();
    PictureRead read = decodeFileApart(path);
    if (read.problem != Problem::none)
        inputLog().notice(u"picture %{public}s", describe(read.problem));
    if (!read.picture)
        return FileRead{{}, std::nullopt, read.problem};
    return FileRead{{Input::picture(std::move(*read.picture))}, std::nullopt, read.problem};
}

// decodePicture in a child, of the bytes `load` gives there.
PictureRead decodeInChild(const std::function<QByteArray()>& load, std::chrono::milliseconds time) {
    PictureRead read;
    const auto receive = [&read](BoundedChild::Receiver& in) {
        std::int32_t problem = 0;
        std::int32_t hasPicture = 0;
        if (!in.number(problem) || problem < 0 || problem > static_cast<std::int32_t>(Problem::failed) ||
            !in.number(hasPicture))
            return false;
        read.problem = static_cast<Problem>(problem);
        if (hasPicture != 0 && !(read.picture = in.picture(pixelBudget)))
            return false;
        return true;
    };
    const auto decode = [&load](const BoundedChild::Sender& out) {
        const PictureRead decoded = decodePicture(load());
        out.number(static_cast<std::int32_t>(decoded.problem));
        out.number(decoded.picture ? 1 : 0);
        if (decoded.picture)
            out.picture(*decoded.picture);
    };
    switch (BoundedChild::run({time, pictureMemory}, decode, receive)) {
    case BoundedChild::Ending::answered: return read;
    case BoundedChild::Ending::tooLong: return {std::nullopt, Problem::tooLong};
    case BoundedChild::Ending::failed: break;
    }
    return {std::nullopt, Problem::failed};
}

}  // namespace

PictureRead decodeApart(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return {std::nullopt, Problem::notPictureOrPdf};
    return decodeInChild([&bytes] { return bytes; }, pictureTime);
}

PictureRead decodeFileApart(const QString& path, std::chrono::milliseconds time) {
    return decodeInChild([&path] {
        // Read by its size: a buffer of the largest size allowed would take from the cap.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || file.size() > maxFileBytes)
            return QByteArray();
        return file.readAll();
    }, time);
}

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

QString describe(Problem problem) {
    switch (problem) {
    case Problem::none: return {};
    case Problem::missing: return QStringLiteral("no such file");
    case Problem::notAFile: return QStringLiteral("not a file");
    case Problem::unreadable: return QStringLiteral("permission denied");
    case Problem::notPictureOrPdf: return QStringLiteral("not a picture or a PDF");
    case Problem::password: return QStringLiteral("is protected by a password");
    case Problem::damaged: return QStringLiteral("is damaged and could not be read");
    case Problem::cutShort: return QStringLiteral("is cut short; read what was there");
    case Problem::tooLarge: return QStringLiteral("is too large to read");
    case Problem::tooLong: return QStringLiteral("took too long to read");
    case Problem::failed: return QStringLiteral("could not be read: it is damaged or needs too much memory");
    }
    return {};
}

FileRead read(const QUrl& file) {
    const QString path = file.toLocalFile();
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return FileRead{{}, std::nullopt, Problem::missing};
    const std::optional<QMimeType> type = fileType(file);
    if (!type || !isAccepted(*type))
        return FileRead{{}, std::nullopt, Problem::notPictureOrPdf};
    // Folders, pipes and devices are no files to read, and opening a pipe would wait
    // for a writer that may never come.
    if (!info.isFile()) {
        inputLog().notice(u"not a readable file: %{public}s", type->name());
        return FileRead{{}, std::nullopt, Problem::notAFile};
    }
    if (!info.isReadable())
        return FileRead{{}, std::nullopt, Problem::unreadable};
    if (pdfType().conforms(*type))
        return readPdf(PdfWorker::Source{path, {}});
    return readPicture(path);
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
        FileRead document = readPdf(PdfWorker::Source{{}, pasteboard.data(Platform::PasteboardType::pdf)});
        if (document.pdfPages)
            return document.inputs;
    }

    for (const QString& type : pictureTypes()) {
        if (!types.contains(type))
            continue;
        if (std::optional<QImage> picture = decodeApart(pasteboard.data(type)).picture)
            return {Input::picture(std::move(*picture))};
    }
    // Pictures in other encodings, decoded the same bounded way rather than by the board.
    for (const QString& type : types) {
        if (!isOtherPictureType(type))
            continue;
        if (std::optional<QImage> picture = decodeApart(pasteboard.data(type)).picture)
            return {Input::picture(std::move(*picture))};
    }

    if (std::optional<QImage> picture = pasteboard.image(); picture && !picture->isNull())
        return {Input::picture(fitToBudget(*picture))};
    return {};
}

}  // namespace ZantrelText::ImageInput
