#include "platform/portal/PortalScreenshot.h"

#include "platform/portal/PortalRequest.h"
#include "platform/async/Worker.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QStandardPaths>

namespace Platform::Portal {
namespace {

using Kind = ScreenshotFailure::Kind;

const QString uriKey = QStringLiteral("uri");

void removeLatePicture(const Response& response) {
    const QUrl uri(response.results.value(uriKey).toString());
    if (uri.isLocalFile())
        QFile::remove(uri.toLocalFile());
}

}  // namespace

std::expected<QImage, ScreenshotFailure> takePicture(const QUrl& uri) {
    if (uri.isEmpty())
        return std::unexpected(ScreenshotFailure{Kind::unsaved, QStringLiteral("the desktop could not save the screenshot")});
    if (!uri.isLocalFile())
        return std::unexpected(ScreenshotFailure{
            Kind::unsaved, QStringLiteral("the desktop's screenshot is not a local file (%1)").arg(uri.toString())});
    const QString file = uri.toLocalFile();
    QImage picture;
    {
        QImageReader reader(file);
        reader.setAutoTransform(true);
        picture = reader.read();
    }
    QFile::remove(file);
    if (picture.isNull())
        return std::unexpected(
            ScreenshotFailure{Kind::unsaved, QStringLiteral("the desktop saved a screenshot that cannot be read")});
    return picture;
}

QCoro::Task<std::expected<QImage, ScreenshotFailure>> screenshot(QDBusConnection bus, QString parentWindow,
                                                                 std::chrono::nanoseconds limit, std::stop_token stop) {
    // KDE's portal saves into the user's pictures folder and refuses when it is missing.
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty())
        QDir().mkpath(pictures);

    const QString token = newToken();
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(service), QString::fromLatin1(path),
                                                       QString::fromLatin1(screenshotInterface),
                                                       QStringLiteral("Screenshot"));
    QVariantMap options;
    options.insert(QStringLiteral("handle_token"), token);
    options.insert(QStringLiteral("interactive"), false);
    options.insert(QStringLiteral("modal"), false);
    call << parentWindow << options;
    const auto answer = co_await request(bus, call, token, limit, stop, removeLatePicture);
    if (!answer) {
        switch (answer.error().kind) {
        case RequestFailure::Kind::unanswered:
            co_return std::unexpected(
                ScreenshotFailure{Kind::unanswered, QStringLiteral("the desktop did not answer the screenshot request")});
        case RequestFailure::Kind::cancelled:
            co_return std::unexpected(ScreenshotFailure{Kind::cancelled, answer.error().message});
        case RequestFailure::Kind::refused:
            break;
        }
        co_return std::unexpected(ScreenshotFailure{
            Kind::refused, QStringLiteral("the desktop refused the screenshot: %1").arg(answer.error().message)});
    }
    if (answer->code == 1)
        co_return std::unexpected(ScreenshotFailure{Kind::refused, QStringLiteral("the desktop refused the screenshot")});
    if (answer->code != 0)
        co_return std::unexpected(
            ScreenshotFailure{Kind::refused, QStringLiteral("the desktop ended the screenshot request without a picture")});
    // A screen's worth of PNG takes a moment to decode: not on the thread that draws.
    const QUrl uri(answer->results.value(uriKey).toString());
    auto decoding = Platform::runOnWorker([uri] { return takePicture(uri); });
    co_return co_await decoding;
}

}  // namespace Platform::Portal
