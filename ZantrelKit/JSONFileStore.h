#pragma once

// One value kept as one JSON file. Loading never fails: a missing file gives nothing, an
// undecodable one is set aside beside itself and logged. Saving is atomic and throws
// JSONFileStoreError; it never replaces a file that exists but cannot be read.

#include "ZantrelKit/JSONCoding.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QUrl>

#include <optional>
#include <stdexcept>
#include <utility>

namespace ZantrelKit {

class JSONFileStoreError : public std::runtime_error {
public:
    enum class Step {
        createFolder,      // the parent folder could not be made
        encode,            // the value did not encode
        write,             // the atomic write failed; the earlier file is whole
        unreadableInPlace  // a file is there that cannot be read: it is left alone
    };

    JSONFileStoreError(Step step, const QString& description)
        : std::runtime_error(description.toStdString()), step_(step) {}

    Step step() const { return step_; }

private:
    Step step_;
};

namespace JSONFileStoreDetail {

// The file's bytes; nothing when there is no such file, or when it cannot be read (that
// case is logged, and the file is not touched).
std::optional<QByteArray> read(const QString& path, const QString& subsystem);

// Moves an undecodable file to "<stem>.unreadable-<yyyyMMdd-HHmmss>.json" beside it (with
// "-2", "-3"… before ".json" when that name is taken) and logs the move or its failure.
// The set-aside file's name, or nothing when it could not be moved.
std::optional<QString> moveAside(const QString& path, const QString& decodingError,
                                 const QString& subsystem, const QDateTime& now);

// Makes the file's parent folder with every missing folder above it.
void createParentFolder(const QString& path);
void write(const QString& path, const QByteArray& bytes);
void remove(const QString& path) noexcept;

}  // namespace JSONFileStoreDetail

template <JSONCodable T>
class JSONFileStore {
public:
    // `url` is a local file; its owner chooses folder and name. Log lines go out under
    // `subsystem`, category "store".
    JSONFileStore(QUrl url, QString subsystem) : url_(std::move(url)), subsystem_(std::move(subsystem)) {}

    const QUrl& url() const { return url_; }
    const QString& subsystem() const { return subsystem_; }

    std::optional<T> load() const {
        const QString path = url_.toLocalFile();
        const std::optional<QByteArray> bytes = JSONFileStoreDetail::read(path, subsystem_);
        if (!bytes)
            return std::nullopt;
        try {
            return T::fromJson(JSONCoding::decode(*bytes));
        } catch (const std::exception& error) {
            JSONFileStoreDetail::moveAside(path, QString::fromUtf8(error.what()), subsystem_,
                                           QDateTime::currentDateTime());
            return std::nullopt;
        }
    }

    // Creates the missing folders, encodes, and puts the new file in place in one step.
    void save(const T& value) const {
        const QString path = url_.toLocalFile();
        JSONFileStoreDetail::createParentFolder(path);
        JSONFileStoreDetail::write(path, encoded(value));
    }

    // Deletes the file; a missing file and every other failure are ignored.
    void remove() const noexcept { JSONFileStoreDetail::remove(url_.toLocalFile()); }

private:
    static QByteArray encoded(const T& value) {
        try {
            return JSONCoding::encode(value.toJson());
        } catch (const std::exception& error) {
            throw JSONFileStoreError(JSONFileStoreError::Step::encode, QString::fromUtf8(error.what()));
        }
    }

    QUrl url_;
    QString subsystem_;
};

}  // namespace ZantrelKit
