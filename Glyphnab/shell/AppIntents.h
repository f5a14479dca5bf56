#pragma once

// The three actions that other programs run on the app (the command line and the D-Bus
// interface): grab the text of a screen area, read the text in a picture or PDF file, read
// the QR code or barcode in one. They do no recognition of their own: they find the
// running app's model, hand it the work and turn its outcome into a text, or fail with an
// IntentFailure whose message is what the caller shows. GUI thread only.

#include "Glyphnab/model/GlyphnabModel.h"

#include <QByteArray>
#include <QCoroTask>
#include <QDir>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>
#include <stdexcept>
#include <stop_token>

namespace Glyphnab {

// The model the actions work on, held weakly: empty until launching has finished and
// after the model is gone.
void setSharedModel(GlyphnabModel* model);
GlyphnabModel* sharedModel();
// What an action reports when there is no model: the app is still launching.
IntentFailure notReadyFailure();

// A file handed to an action: one that lies on disk, or its bytes with the name (and,
// when known, the MIME type) it came with.
struct IntentFile {
    std::optional<QUrl> url;
    QByteArray data;
    QString name;
    QString type;

    static IntentFile at(const QUrl& url) { return IntentFile{url, {}, {}, {}}; }
    static IntentFile bytes(QByteArray data, QString name, QString type = {}) {
        return IntentFile{std::nullopt, std::move(data), std::move(name), std::move(type)};
    }
};

// The temporary folder or the copy could not be written; passed on as it is.
struct IntentFileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A file's bytes written to a fresh folder "Glyphnab from Shortcuts/<UUID>/" under the
// temporary directory, so that the model can read them as a file. The folder and all in
// it go with this object.
class TemporaryCopy {
public:
    static inline const QString folderName = QStringLiteral("Glyphnab from Shortcuts");

    // Throws IntentFileError; nothing is left behind then.
    TemporaryCopy(const QByteArray& data, const QString& name, const QString& type = {},
                  const QString& temporaryRoot = QDir::tempPath());
    ~TemporaryCopy();
    TemporaryCopy(TemporaryCopy&& other) noexcept;
    TemporaryCopy& operator=(TemporaryCopy&&) = delete;
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;

    // The UUID folder and the copy in it.
    const QString& folder() const { return folder_; }
    const QString& path() const { return path_; }
    QUrl url() const { return QUrl::fromLocalFile(path_); }

    // The name the copy gets: the last path component of `name`, "File" when there is
    // none (or it is "." or ".."). A known `type` whose extension the name lacks adds it,
    // since files here are told apart by their extension.
    static QString copyName(const QString& name, const QString& type = {});

    // Removes every copy that still exists, for a process that is interrupted.
    static void removeAll();

private:
    QString folder_;
    QString path_;
};

// "Grab Text from an Area": the user picks an area within the time limit; its text with
// the preferred line handling, or with the other one when `other` is set.
struct GrabAreaIntent {
    static constexpr double pickLimitSeconds = 60.0;
    bool other = false;
    static QString title();

    // A stop ends the pick or the grab like the notice's Stop does.
    QCoro::Task<QString> perform(std::stop_token stop = {}) const;
};

// "Read the Text in a File": the text beside any codes; fails when there is none.
struct ReadTextInFileIntent {
    IntentFile file;
    static QString title();

    QCoro::Task<QString> perform(std::stop_token stop = {}) const;
};

// "Read a QR Code or Barcode in a File": the distinct payloads, one a line.
struct ReadCodeInFileIntent {
    IntentFile file;
    static QString title();

    QCoro::Task<QString> perform(std::stop_token stop = {}) const;
};

// The text action over several files read in one pass, in order (the command line
// takes several). A stop ends the reading. Where there is no text but a code, the failure
// says what it reads.
QString codesInsteadOfText(const GlyphnabCore::Outcome& outcome);
QCoro::Task<QString> readTextInFiles(QList<IntentFile> files, std::stop_token stop = {});

}  // namespace Glyphnab
