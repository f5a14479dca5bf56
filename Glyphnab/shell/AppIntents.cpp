#include "Glyphnab/shell/AppIntents.h"

#include "GlyphnabCore/Words.h"
#include "ZantrelKit/OwnerConfig.h"
#include "platform/async/MainThread.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QPointer>
#include <QUuid>

#include <unistd.h>

#include <utility>
#include <vector>

namespace Glyphnab {

using GlyphnabCore::Outcome;
namespace Words = GlyphnabCore::Words;

namespace {

QPointer<GlyphnabModel>& modelReference() {
    static QPointer<GlyphnabModel> model;
    return model;
}

// The Info.plist's own name, not the display name: the one the not-ready text uses.
QString bundleName() { return ZantrelKit::OwnerConfig().info().value(QStringLiteral("CFBundleName")); }

GlyphnabModel& requireModel() {
    Platform::assertMain();
    GlyphnabModel* model = sharedModel();
    if (model == nullptr)
        throw notReadyFailure();
    return *model;
}

bool isCodes(const Outcome& outcome) {
    return outcome.kind.is<Outcome::Kind::Code>() || outcome.kind.is<Outcome::Kind::Codes>();
}

// The folders of the copies that exist now. GUI thread.
QStringList& liveFolders() {
    static QStringList folders;
    return folders;
}

constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// The shared folder under a temporary directory that other users may write to: it must be
// a real folder of ours, or a planted link could lead the copy elsewhere.
QString sharedFolder(const QString& temporaryRoot) {
    const QString folder = QDir(temporaryRoot).filePath(TemporaryCopy::folderName);
    if (!QFileInfo::exists(folder) && !QDir().mkpath(temporaryRoot))
        throw IntentFileError("cannot create the temporary folder " + temporaryRoot.toStdString());
    if (!QFileInfo::exists(folder))
        QDir().mkdir(folder, ownerOnly);
    const QFileInfo info(folder);
    if (info.isSymLink() || !info.isDir())
        throw IntentFileError("not a folder: " + folder.toStdString());
    if (info.ownerId() != static_cast<uint>(getuid()))
        throw IntentFileError("the temporary folder belongs to another user: " + folder.toStdString());
    return folder;
}

}  // namespace

void setSharedModel(GlyphnabModel* model) { modelReference() = model; }

GlyphnabModel* sharedModel() { return modelReference().data(); }

IntentFailure notReadyFailure() { return IntentFailure(Words::errorNotReady(bundleName())); }

QString TemporaryCopy::copyName(const QString& name, const QString& type) {
    const QStringList parts = name.split(u'/', Qt::SkipEmptyParts);
    QString last = parts.isEmpty() ? QString() : parts.last();
    if (last.isEmpty() || last == u"." || last == u"..")
        last = QStringLiteral("File");
    if (type.isEmpty())
        return last;
    const QMimeDatabase database;
    const QMimeType wanted = database.mimeTypeForName(type);
    if (!wanted.isValid() || wanted.preferredSuffix().isEmpty())
        return last;
    const QMimeType named = database.mimeTypeForFile(last, QMimeDatabase::MatchExtension);
    if (named.inherits(wanted.name()))
        return last;
    return last + u'.' + wanted.preferredSuffix();
}

TemporaryCopy::TemporaryCopy(const QByteArray& data, const QString& name, const QString& type,
                             const QString& temporaryRoot) {
    const QString shared = sharedFolder(temporaryRoot);
    const QString folder =
        QDir(shared).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
    if (!QDir().mkdir(folder, ownerOnly))
        throw IntentFileError("cannot create the temporary folder " + folder.toStdString());
    const QString path = QDir(folder).filePath(copyName(name, type));
    QFile file(path);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    written = written && file.write(data) == data.size();
    if (written)
        written = file.flush();
    const QString problem = file.errorString();
    file.close();
    if (!written) {
        QDir(folder).removeRecursively();
        throw IntentFileError("cannot write " + path.toStdString() + ": " + problem.toStdString());
    }
    folder_ = folder;
    path_ = path;
    liveFolders().append(folder_);
}

TemporaryCopy::TemporaryCopy(TemporaryCopy&& other) noexcept
    : folder_(std::exchange(other.folder_, QString())), path_(std::exchange(other.path_, QString())) {}

TemporaryCopy::~TemporaryCopy() {
    if (folder_.isEmpty())
        return;
    QDir(folder_).removeRecursively();
    liveFolders().removeOne(folder_);
}

void TemporaryCopy::removeAll() {
    for (const QString& folder : std::exchange(liveFolders(), QStringList()))
        QDir(folder).removeRecursively();
}

namespace {

// The files as the model reads them: those on disk where they lie, the others as
// temporary copies that `copies` keeps until the reading is over.
QList<QUrl> filesToRead(const QList<IntentFile>& files, std::vector<TemporaryCopy>& copies) {
    QList<QUrl> urls;
    for (const IntentFile& file : files) {
        if (file.url) {
            urls.append(*file.url);
            continue;
        }
        if (file.data.isEmpty())
            throw IntentFailure(Words::errorFileDetail());
        copies.emplace_back(file.data, file.name, file.type);
        urls.append(copies.back().url());
    }
    return urls;
}

QCoro::Task<Outcome> readFiles(GlyphnabModel& model, QList<IntentFile> files, std::stop_token stop) {
    std::vector<TemporaryCopy> copies;
    QList<QUrl> urls = filesToRead(files, copies);
    // The copies are removed when this frame ends, whether the read succeeded or threw.
    // Named: g++ 12 destroys temporaries inside co_await twice.
    auto reading = model.readForIntent(std::move(urls), std::move(stop));
    co_return co_await reading;
}

}  // namespace

QString GrabAreaIntent::title() { return QStringLiteral("Grab Text from an Area"); }

QCoro::Task<QString> GrabAreaIntent::perform(std::stop_token stop) const {
    GlyphnabModel& model = requireModel();
    const ZantrelText::LineMode preferred = model.prefs().lineMode;
    const ZantrelText::LineMode mode =
        !other ? preferred
               : (preferred == ZantrelText::LineMode::keep ? ZantrelText::LineMode::join : ZantrelText::LineMode::keep);
    auto grab = model.grabForIntent(mode, pickLimitSeconds, std::move(stop));
    const Outcome outcome = co_await grab;
    co_return outcome.copied;
}

QString ReadTextInFileIntent::title() { return QStringLiteral("Read the Text in a File"); }

QCoro::Task<QString> ReadTextInFileIntent::perform(std::stop_token stop) const {
    GlyphnabModel& model = requireModel();
    QList<IntentFile> files{file};
    auto reading = readFiles(model, std::move(files), std::move(stop));
    const Outcome outcome = co_await reading;
    const QString text = isCodes(outcome) ? outcome.alternate.value_or(QString()) : outcome.copied;
    if (text.isEmpty())
        throw IntentFailure(Words::noticeNothingFile());
    co_return text;
}

QString codesInsteadOfText(const Outcome& outcome) {
    if (const auto* code = outcome.kind.as<Outcome::Kind::Code>())
        return QStringLiteral("No text found; its %1 reads: %2").arg(code->name, outcome.copied);
    if (const auto* codes = outcome.kind.as<Outcome::Kind::Codes>())
        return QStringLiteral("No text found; it holds %1 codes, which `glyphnab code` reads").arg(codes->count);
    return Words::noticeNothingFile();
}

QCoro::Task<QString> readTextInFiles(QList<IntentFile> files, std::stop_token stop) {
    GlyphnabModel& model = requireModel();
    auto reading = readFiles(model, std::move(files), std::move(stop));
    const Outcome outcome = co_await reading;
    const QString text = isCodes(outcome) ? outcome.alternate.value_or(QString()) : outcome.copied;
    // A picture of a code alone: the command line says what the code holds rather than
    // only that there is no text.
    if (text.isEmpty())
        throw IntentFailure(codesInsteadOfText(outcome));
    co_return text;
}

QString ReadCodeInFileIntent::title() { return QStringLiteral("Read a QR Code or Barcode in a File"); }

QCoro::Task<QString> ReadCodeInFileIntent::perform(std::stop_token stop) const {
    GlyphnabModel& model = requireModel();
    QList<IntentFile> files{file};
    auto reading = readFiles(model, std::move(files), std::move(stop));
    const Outcome outcome = co_await reading;
    if (!isCodes(outcome))
        throw IntentFailure(Words::errorNoCode());
    co_return outcome.copied;
}

}  // namespace Glyphnab
