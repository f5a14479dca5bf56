#include "platform/portal/PortalScreenshot.h"

#include "platform/portal/PortalRequest.h"

#include <QFile>
#include <QImageReader>

namespace Platform::Portal {

QString refusalText(uint code) {
    if (code == 1)
        return QStringLiteral("the screenshot was not allowed in the desktop's prompt");
    return QStringLiteral("the desktop's screenshot service gave no picture");
}

std::expected<QImage, QString> takePicture(const QUrl& uri) {
    if (!uri.isLocalFile())
        return std::unexpected(QStringLiteral("the desktop's screenshot is not a local file (%1)").arg(uri.toString()));
    const QString file = uri.toLocalFile();
    QImage picture;
    {
        QImageReader reader(file);
        reader.setAutoTransform(true);
        picture = reader.read();
    }
    QFile::remove(file);
    if (picture.isNull())
        return std::unexpected(QStringLiteral("the desktop's screenshot cannot be read"));
    return picture;
}

QCoro::Task<std::expected<QImage, QString>> screenshot(QDBusConnection bus, QString parentWindow,
                                                       std::chrono::nanoseconds limit) {
    const QString token = newToken();
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(service), QString::fromLatin1(path),
                                                       QString::fromLatin1(screenshotInterface),
                                                       QStringLiteral("Screenshot"));
    QVariantMap options;
    options.insert(QStringLiteral("handle_token"), token);
    options.insert(QStringLiteral("interactive"), false);
    options.insert(QStringLiteral("modal"), false);
    call << parentWindow << options;
    const auto answer = co_await request(bus, call, token, limit);
    if (!answer)
        co_return std::unexpected(answer.error());
    if (answer->code != 0)
        co_return std::unexpected(refusalText(answer->code));
    const QUrl uri(answer->results.value(QStringLiteral("uri")).toString());
    co_return takePicture(uri);
}

}  // namespace Platform::Portal
