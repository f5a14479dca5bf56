#pragma once

// The family's other apps for the About tab: a catalogue fetched from the address the
// Info.plist names, else the copy in the kit's resource bundle, less the running app and
// every row that cannot be shown safely.

#include <QFuture>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUrl>

#include <chrono>
#include <optional>
#include <stdexcept>

namespace ZantrelKit {

// A required value is absent.
class Missing : public std::runtime_error {
public:
    explicit Missing(const QString& what) : std::runtime_error(what.toStdString()) {}
};

namespace BoxCatalog {

struct App {
    QString id;  // the app's bundle identifier
    QString name;
    QString line;  // one line shown under the name
    QUrl url;      // always "https"

    QJsonObject toJson() const;
    // Nothing unless "id", "name", "line" and "url" are all texts and the url parses.
    static std::optional<App> fromJson(const QJsonObject& object);

    friend bool operator==(const App&, const App&) = default;
};

// Catalogue data that does not decode, or a resource copy that cannot be read.
class DecodeError : public std::runtime_error {
public:
    explicit DecodeError(const QString& what) : std::runtime_error(what.toStdString()) {}
};

// How the remote catalogue is fetched. The catalogue is small: a slow or oversized answer
// falls back to the resource copy rather than holding the About tab up.
struct FetchLimits {
    std::chrono::milliseconds timeout{std::chrono::seconds(10)};
    qint64 maximumBytes = 1024 * 1024;
};

// "box-apps.json" in the kit's resource bundle.
QString resourcePath();

// The rows in file order, less the excluded id, empty names and urls that are not "https".
// Throws DecodeError for data that is not a catalogue.
QList<App> decodeApps(const QByteArray& data, const QString& excluding);

// The resource copy; throws Missing when the file is not there, DecodeError otherwise.
QList<App> resourceApps(const QString& excluding, const QString& path = resourcePath());

// The remote catalogue, or the resource copy when there is no address, the fetch fails,
// the status is not 200 or the body does not decode; empty when the resource copy is
// missing or broken too. A remote catalogue that decodes is the answer even when every
// row was left out. Never fails. Fetches on the calling thread, which runs an event loop.
QFuture<QList<App>> apps(const std::optional<QUrl>& from, const QString& excluding,
                         const QString& resource = resourcePath(), FetchLimits limits = {});

}  // namespace BoxCatalog
}  // namespace ZantrelKit
