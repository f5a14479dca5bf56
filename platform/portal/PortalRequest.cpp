#include "platform/portal/PortalRequest.h"

#include "platform/async/Clock.h"

#include <QCoroDBusPendingCall>
#include <QCoroSignal>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QObject>
#include <QPointer>
#include <QRandomGenerator>
#include <QTimer>

#include <memory>
#include <stop_token>

namespace Platform::Portal {
namespace {

// Catches the Response signal of one request object, or the end of the time limit.
class ResponseCatcher final : public QObject {
    Q_OBJECT
public:
    ResponseCatcher(QDBusConnection bus, QString objectPath) : bus_(std::move(bus)), path_(std::move(objectPath)) {
        listening_ = bus_.connect(QString::fromLatin1(service), path_, QStringLiteral("org.freedesktop.portal.Request"),
                                  QStringLiteral("Response"), this, SLOT(onResponse(uint, QVariantMap)));
    }
    ~ResponseCatcher() override { stopListening(); }

    bool listening() const { return listening_; }
    void moveTo(const QString& objectPath) {
        if (objectPath == path_)
            return;
        stopListening();
        path_ = objectPath;
        listening_ = bus_.connect(QString::fromLatin1(service), path_, QStringLiteral("org.freedesktop.portal.Request"),
                                  QStringLiteral("Response"), this, SLOT(onResponse(uint, QVariantMap)));
    }
    const QString& objectPath() const { return path_; }
    std::optional<Response> response;

    void timeUp() { Q_EMIT finished(); }

    // The caller no longer waits: a late answer goes to `late`, and the catcher goes with
    // the answer, or after `life` at the latest.
    void release(std::function<void(const Response&)> late, std::chrono::milliseconds life) {
        late_ = std::move(late);
        released_ = true;
        QTimer::singleShot(life, this, &QObject::deleteLater);
    }

Q_SIGNALS:
    void finished();

public Q_SLOTS:
    void onResponse(uint code, const QVariantMap& results) {
        if (response)
            return;
        response = Response{code, results};
        if (!released_) {
            Q_EMIT finished();
            return;
        }
        if (late_)
            late_(*response);
        deleteLater();
    }

private:
    void stopListening() {
        if (listening_)
            bus_.disconnect(QString::fromLatin1(service), path_, QStringLiteral("org.freedesktop.portal.Request"),
                            QStringLiteral("Response"), this, SLOT(onResponse(uint, QVariantMap)));
        listening_ = false;
    }

    QDBusConnection bus_;
    QString path_;
    bool listening_ = false;
    bool released_ = false;
    std::function<void(const Response&)> late_;
};

// How long a released catcher listens for a late answer: the desktop's own prompt gives
// up long before.
constexpr std::chrono::minutes lateLife{10};

QCoro::Task<void> timeLimit(std::chrono::nanoseconds limit, std::stop_token stop, QPointer<ResponseCatcher> catcher) {
    const bool slept = co_await Clock::shared().sleep(limit, stop);
    if (slept && catcher)
        catcher->timeUp();
}

void close(QDBusConnection& bus, const QString& objectPath) {
    bus.asyncCall(QDBusMessage::createMethodCall(QString::fromLatin1(service), objectPath,
                                                 QStringLiteral("org.freedesktop.portal.Request"),
                                                 QStringLiteral("Close")));
}

}  // namespace

QString requestPath(const QString& uniqueName, const QString& token) {
    QString sender = uniqueName;
    if (sender.startsWith(u':'))
        sender.remove(0, 1);
    sender.replace(u'.', u'_');
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

QString newToken() {
    return QStringLiteral("glyphnab_%1").arg(QRandomGenerator::global()->generate());
}

Offer offer(const QDBusConnection& bus, const QString& interface, std::chrono::milliseconds limit) {
    if (!bus.isConnected())
        return Offer::absent;
    QDBusMessage get = QDBusMessage::createMethodCall(QString::fromLatin1(service), QString::fromLatin1(path),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << interface << QStringLiteral("version");
    const QDBusMessage reply = bus.call(get, QDBus::Block, static_cast<int>(limit.count()));
    if (reply.type() == QDBusMessage::ReplyMessage)
        return Offer::offered;
    const QString error = reply.errorName();
    if (error == u"org.freedesktop.DBus.Error.NoReply" || error == u"org.freedesktop.DBus.Error.Timeout" ||
        error == u"org.freedesktop.DBus.Error.TimedOut")
        return Offer::silent;
    return Offer::absent;
}

bool offers(const QDBusConnection& bus, const QString& interface, std::chrono::milliseconds limit) {
    return offer(bus, interface, limit) == Offer::offered;
}

QCoro::Task<std::expected<Response, RequestFailure>> request(QDBusConnection bus, QDBusMessage call, QString token,
                                                             std::chrono::nanoseconds limit, std::stop_token stop,
                                                             std::function<void(const Response&)> late) {
    using Kind = RequestFailure::Kind;
    if (!bus.isConnected())
        co_return std::unexpected(
            RequestFailure{Kind::refused, QStringLiteral("there is no session bus to reach the desktop portal")});
    auto catcher = std::make_unique<ResponseCatcher>(bus, requestPath(bus.baseService(), token));
    if (!catcher->listening())
        co_return std::unexpected(
            RequestFailure{Kind::refused, QStringLiteral("the desktop portal's answer cannot be listened for")});

    std::stop_source stopTimer;
    timeLimit(limit, stopTimer.get_token(), catcher.get());
    // The caller's stop ends the wait as the limit does.
    std::stop_callback onStop(stop, [catcher = QPointer<ResponseCatcher>(catcher.get())] {
        if (catcher)
            QMetaObject::invokeMethod(catcher, &ResponseCatcher::timeUp, Qt::QueuedConnection);
    });
    QDBusPendingCall pending = bus.asyncCall(call);
    const QDBusMessage reply = co_await pending;
    if (reply.type() != QDBusMessage::ReplyMessage) {
        stopTimer.request_stop();
        co_return std::unexpected(RequestFailure{
            Kind::refused, QStringLiteral("the desktop portal refused the request: %1").arg(reply.errorMessage())});
    }
    // Older portals answer on a path of their own choosing.
    if (!reply.arguments().isEmpty()) {
        const auto handle = qdbus_cast<QDBusObjectPath>(reply.arguments().constFirst());
        if (!handle.path().isEmpty() && !catcher->response)
            catcher->moveTo(handle.path());
    }
    if (!catcher->response && !stop.stop_requested())
        co_await qCoro(catcher.get(), &ResponseCatcher::finished);
    stopTimer.request_stop();
    if (catcher->response)
        co_return *catcher->response;
    if (stop.stop_requested()) {
        close(bus, catcher->objectPath());
        co_return std::unexpected(RequestFailure{Kind::cancelled, QStringLiteral("the request was cancelled")});
    }
    // Left open: the user may still answer the desktop's prompt, and that answer counts.
    catcher.release()->release(std::move(late), lateLife);
    co_return std::unexpected(RequestFailure{Kind::unanswered, QStringLiteral("the desktop portal did not answer in time")});
}

}  // namespace Platform::Portal

#include "PortalRequest.moc"
