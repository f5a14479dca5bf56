#include "ZantrelKit/BoxCatalog.h"

#include "ZantrelKit/DataFolder.h"
#include "platform/log/Log.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPromise>

#include <memory>

namespace ZantrelKit::BoxCatalog {
namespace {

const Platform::Logger& log() {
    static const Platform::Logger logger(QStringLiteral("catalogue"));
    return logger;
}

std::optional<QUrl> parsedUrl(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    if (text.isEmpty() || !url.isValid())
        return std::nullopt;
    return url;
}

// The scheme as written: QUrl lowers it, and "HTTPS" is not accepted.
bool isHttps(const QString& text) { return text.startsWith(QStringLiteral("https:")); }

QList<App> fallback(const QString& resource, const QString& excluding) {
    try {
        return resourceApps(excluding, resource);
    } catch (const std::exception& error) {
        log().error(u"app catalogue copy unusable: %{public}s", error.what());
        return {};
    }
}

}  // namespace

QJsonObject App::toJson() const {
    return QJsonObject{{QStringLiteral("id"), id},
                       {QStringLiteral("name"), name},
                       {QStringLiteral("line"), line},
                       {QStringLiteral("url"), url.toString()}};
}

std::optional<App> App::fromJson(const QJsonObject& object) {
    const QJsonValue id = object.value(QStringLiteral("id"));
    const QJsonValue name = object.value(QStringLiteral("name"));
    const QJsonValue line = object.value(QStringLiteral("line"));
    const QJsonValue url = object.value(QStringLiteral("url"));
    if (!id.isString() || !name.isString() || !line.isString() || !url.isString())
        return std::nullopt;
    const std::optional<QUrl> parsed = parsedUrl(url.toString());
    if (!parsed)
        return std::nullopt;
    return App{id.toString(), name.toString(), line.toString(), *parsed};
}

QString resourcePath() { return kitResourceBundle() + QStringLiteral("/box-apps.json"); }

QList<App> decodeApps(const QByteArray& data, const QString& excluding) {
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(data, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        throw DecodeError(QStringLiteral("not JSON: ") + parseError.errorString());
    if (!document.isObject())
        throw DecodeError(QStringLiteral("not a JSON object"));
    const QJsonValue apps = document.object().value(QStringLiteral("apps"));
    if (!apps.isArray())
        throw DecodeError(QStringLiteral("no \"apps\" list"));

    // Every row must decode before any is kept: one bad row spoils the file.
    struct Row {
        QString id, name, line, url;
    };
    QList<Row> rows;
    for (const QJsonValue& value : apps.toArray()) {
        const QJsonObject object = value.toObject();
        const QJsonValue id = object.value(QStringLiteral("id"));
        const QJsonValue name = object.value(QStringLiteral("name"));
        const QJsonValue line = object.value(QStringLiteral("line"));
        const QJsonValue url = object.value(QStringLiteral("url"));
        if (!value.isObject() || !id.isString() || !name.isString() || !line.isString() || !url.isString())
            throw DecodeError(QStringLiteral("a row lacks a text member"));
        rows.append(Row{id.toString(), name.toString(), line.toString(), url.toString()});
    }

    QList<App> result;
    for (const Row& row : rows) {
        if (row.id == excluding || row.name.isEmpty() || !isHttps(row.url))
            continue;
        const std::optional<QUrl> url = parsedUrl(row.url);
        if (!url)
            continue;
        result.append(App{row.id, row.name, row.line, *url});
    }
    return result;
}

QList<App> resourceApps(const QString& excluding, const QString& path) {
    QFile file(path);
    if (!file.exists())
        throw Missing(QStringLiteral("box-apps.json is not in the kit's resource bundle"));
    if (!file.open(QIODevice::ReadOnly))
        throw DecodeError(QStringLiteral("cannot read ") + path + QStringLiteral(": ") + file.errorString());
    return decodeApps(file.readAll(), excluding);
}

QFuture<QList<App>> apps(const std::optional<QUrl>& from, const QString& excluding, const QString& resource,
                         FetchLimits limits) {
    if (!from)
        return QtFuture::makeReadyFuture(fallback(resource, excluding));

    auto promise = std::make_shared<QPromise<QList<App>>>();
    promise->start();
    QFuture<QList<App>> future = promise->future();

    // One plain request; the manager lives as long as its one reply.
    auto* manager = new QNetworkAccessManager(QCoreApplication::instance());
    QNetworkRequest request(*from);
    request.setTransferTimeout(static_cast<int>(limits.timeout.count()));
    QNetworkReply* reply = manager->get(request);

    const qint64 cap = limits.maximumBytes;
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, cap] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > cap)
            reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply, cap](qint64 received, qint64) {
        if (received > cap)
            reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, manager, promise, resource, excluding, cap] {
        reply->deleteLater();
        manager->deleteLater();
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        QList<App> result;
        if (reply->error() != QNetworkReply::NoError || !status.isValid() || status.toInt() != 200) {
            log().notice(u"app catalogue fetch failed: %{public}s", reply->errorString());
            result = fallback(resource, excluding);
        } else {
            const QByteArray body = reply->readAll();
            try {
                if (body.size() > cap)
                    throw DecodeError(QStringLiteral("catalogue too large"));
                result = decodeApps(body, excluding);
            } catch (const std::exception& error) {
                log().notice(u"app catalogue undecodable: %{public}s", error.what());
                result = fallback(resource, excluding);
            }
        }
        promise->addResult(result);
        promise->finish();
    });
    return future;
}

}  // namespace ZantrelKit::BoxCatalog
