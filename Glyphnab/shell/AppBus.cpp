#include "Glyphnab/shell/AppBus.h"

#include "Glyphnab/shell/AppBusArguments.h"
#include "Glyphnab/shell/AppIntents.h"
#include "GlyphnabCore/Words.h"
#include "platform/pasteboard/Pasteboard.h"
#include "text/ImageInput.h"

#include <QCoroSignal>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QFileInfo>
#include <QImage>
#include <QPointer>

#include <exception>
#include <memory>
#include <utility>

namespace Glyphnab {

namespace Words = GlyphnabCore::Words;

namespace {

// Runs one action and sends its answer, or the failure as an error reply, when it ends.
QCoro::Task<void> answerLater(QDBusConnection bus, QDBusMessage call, std::function<QCoro::Task<QString>()> work,
                              std::function<void()> finished) {
    QDBusMessage reply;
    try {
        auto task = work();
        const QString text = co_await task;
        reply = call.createReply(text);
    } catch (const IntentFailure& failure) {
        reply = call.createErrorReply(AppBusNames::failed, failure.message);
    } catch (const std::exception& error) {
        reply = call.createErrorReply(AppBusNames::failed, QString::fromUtf8(error.what()));
    } catch (...) {
        reply = call.createErrorReply(AppBusNames::failed, Words::errorRead());
    }
    bus.send(reply);
    if (finished)
        finished();
}

void replyNow(const QDBusConnection& bus, const QDBusMessage& call, const QDBusMessage& reply) {
    call.setDelayedReply(true);
    bus.send(reply);
}

QDBusMessage notSupported(const QDBusMessage& call) {
    return call.createErrorReply(QDBusError::NotSupported, QStringLiteral("this instance does not answer that"));
}

using AppBusArguments::localFile;
using AppBusArguments::localFiles;

void refuseFiles(const QDBusConnection& bus, const QDBusMessage& call) {
    replyNow(bus, call, call.createErrorReply(AppBusNames::invalidArgs, Words::errorFileDetail()));
}

}  // namespace

AppBusTarget AppBusTarget::withIntents() {
    AppBusTarget target;
    target.grab = [](std::stop_token stop) -> QCoro::Task<QString> {
        const GrabAreaIntent intent;
        auto grab = intent.perform(std::move(stop));
        co_return co_await grab;
    };
    target.grabOther = [](std::stop_token stop) -> QCoro::Task<QString> {
        const GrabAreaIntent intent{true};
        auto grab = intent.perform(std::move(stop));
        co_return co_await grab;
    };
    target.read = [](QList<QUrl> urls, std::stop_token stop) -> QCoro::Task<QString> {
        QList<IntentFile> files;
        for (const QUrl& url : urls)
            files.append(IntentFile::at(url));
        auto reading = readTextInFiles(std::move(files), std::move(stop));
        co_return co_await reading;
    };
    target.code = [](QUrl url) -> QCoro::Task<QString> {
        const ReadCodeInFileIntent intent{IntentFile::at(url)};
        auto reading = intent.perform();
        co_return co_await reading;
    };
    target.refusal = []() -> std::optional<QString> {
        const GlyphnabModel* model = sharedModel();
        return model ? model->busyRefusal() : std::nullopt;
    };
    return target;
}

AppBus::AppBus(AppBusTarget target, QDBusConnection connection, QObject* parent)
    : QObject(parent), target_(std::move(target)), connection_(std::move(connection)) {}

AppBus::~AppBus() {
    if (owns_)
        releaseName();
    if (exported_)
        connection_.unregisterObject(AppBusNames::path);
}

bool AppBus::exportObject() {
    if (!exported_)
        exported_ = connection_.registerObject(AppBusNames::path, AppBusNames::interface, this,
                                               QDBusConnection::ExportScriptableSlots);
    return exported_;
}

bool AppBus::claimName() {
    if (!owns_)
        owns_ = connection_.registerService(AppBusNames::service);
    return owns_;
}

void AppBus::releaseName() {
    if (owns_)
        connection_.unregisterService(AppBusNames::service);
    owns_ = false;
}

QString AppBus::GrabText(const QDBusMessage& message) {
    return grabLater(target_.grab, message);
}

QString AppBus::GrabOtherText(const QDBusMessage& message) {
    return grabLater(target_.grabOther, message);
}

QString AppBus::grabLater(const std::function<QCoro::Task<QString>(std::stop_token)>& grab,
                          const QDBusMessage& message) {
    if (!grab) {
        replyNow(connection_, message, notSupported(message));
        return {};
    }
    message.setDelayedReply(true);
    // A caller that leaves the bus (its command was interrupted) ends the pick with it.
    auto [stop, finished] = callerStop(message);
    auto work = [grab, stop] { return grab(stop->get_token()); };
    answerLater(connection_, message, std::move(work), std::move(finished));
    return {};
}

std::pair<std::shared_ptr<std::stop_source>, std::function<void()>> AppBus::callerStop(const QDBusMessage& message) {
    auto stop = std::make_shared<std::stop_source>();
    QPointer<QDBusServiceWatcher> watcher;
    if (!message.service().isEmpty()) {
        watcher = new QDBusServiceWatcher(message.service(), connection_, QDBusServiceWatcher::WatchForUnregistration,
                                          this);
        connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, [stop] { stop->request_stop(); });
    }
    return {stop, [watcher] {
                if (watcher)
                    watcher->deleteLater();
            }};
}

QString AppBus::ReadText(const QStringList& paths, const QDBusMessage& message) {
    if (!target_.read) {
        replyNow(connection_, message, notSupported(message));
        return {};
    }
    const std::optional<QList<QUrl>> urls = localFiles(paths);
    if (!urls || urls->isEmpty()) {
        refuseFiles(connection_, message);
        return {};
    }
    message.setDelayedReply(true);
    // A caller that leaves the bus (Ctrl-C on the command) stops its reading.
    auto [stop, finished] = callerStop(message);
    auto work = [read = target_.read, files = *urls, stop] { return read(files, stop->get_token()); };
    answerLater(connection_, message, std::move(work), std::move(finished));
    return {};
}

QString AppBus::ReadCode(const QString& path, const QDBusMessage& message) {
    if (!target_.code) {
        replyNow(connection_, message, notSupported(message));
        return {};
    }
    const std::optional<QUrl> url = localFile(path);
    if (!url) {
        refuseFiles(connection_, message);
        return {};
    }
    message.setDelayedReply(true);
    auto work = [code = target_.code, file = *url] { return code(file); };
    answerLater(connection_, message, std::move(work), {});
    return {};
}

void AppBus::CopyText(const QStringList& uris, const QByteArray& bytes, const QString& mimeType,
                      const QDBusMessage& message) {
    const std::unique_ptr<Platform::MemoryPasteboard> board = AppBusArguments::copyTextBoard(uris, bytes, mimeType);
    // Checked here, since the caller has no other way to learn that nothing was read.
    if (!board || !ZantrelText::ImageInput::hasInput(*board)) {
        refuseFiles(connection_, message);
        return;
    }
    const std::optional<QString> busy = target_.refusal ? target_.refusal() : std::nullopt;
    if (!target_.copyText || !target_.copyText(*board)) {
        replyNow(connection_, message, message.createErrorReply(AppBusNames::failed, notReadyFailure().message));
        return;
    }
    // A busy app only beeps and shows its busy notice: the caller learns that nothing is read.
    if (busy) {
        replyNow(connection_, message, message.createErrorReply(AppBusNames::failed, *busy));
        return;
    }
    replyNow(connection_, message, message.createReply());
}

void AppBus::OpenFiles(const QStringList& uris, const QDBusMessage& message) {
    const std::optional<QList<QUrl>> urls = localFiles(uris);
    if (!urls) {
        refuseFiles(connection_, message);
        return;
    }
    if (!target_.openFiles) {
        replyNow(connection_, message, notSupported(message));
        return;
    }
    if (urls->isEmpty())
        return;
    const std::optional<QString> busy = target_.refusal ? target_.refusal() : std::nullopt;
    target_.openFiles(*urls);
    if (busy)
        replyNow(connection_, message, message.createErrorReply(AppBusNames::failed, *busy));
}

void AppBus::Reopen() {
    if (target_.reopen)
        target_.reopen();
}

void AppBus::ChooseFiles() {
    if (target_.chooseFiles)
        target_.chooseFiles();
}

namespace AppBusClient {

namespace {

Answer failure(Failure::Kind kind, QString message) { return std::unexpected(Failure{kind, std::move(message)}); }

QCoro::Task<Answer> call(QDBusConnection bus, QString method, QVariantList arguments,
                         std::chrono::milliseconds timeout) {
    if (!bus.isConnected())
        co_return failure(Failure::Kind::noInstance, bus.lastError().message());
    QDBusMessage message =
        QDBusMessage::createMethodCall(AppBusNames::service, AppBusNames::path, AppBusNames::interface, method);
    message.setArguments(arguments);
    message.setAutoStartService(false);
    QDBusPendingCallWatcher watcher(bus.asyncCall(message, static_cast<int>(timeout.count())));
    if (!watcher.isFinished())
        co_await qCoro(&watcher, &QDBusPendingCallWatcher::finished);
    const QDBusMessage reply = watcher.reply();
    if (reply.type() == QDBusMessage::ErrorMessage) {
        const QString name = reply.errorName();
        if (name == QDBusError::errorString(QDBusError::ServiceUnknown) ||
            name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner") ||
            name == QDBusError::errorString(QDBusError::UnknownObject))
            co_return failure(Failure::Kind::noInstance, reply.errorMessage());
        if (name == AppBusNames::failed || name == AppBusNames::invalidArgs)
            co_return failure(Failure::Kind::failed, reply.errorMessage());
        if (name == QDBusError::errorString(QDBusError::NoReply) ||
            name == QDBusError::errorString(QDBusError::Timeout))
            co_return failure(Failure::Kind::bus, QStringLiteral("the running app did not answer in time"));
        co_return failure(Failure::Kind::bus, reply.errorMessage().isEmpty() ? name : reply.errorMessage());
    }
    if (reply.type() != QDBusMessage::ReplyMessage)
        co_return failure(Failure::Kind::bus, QStringLiteral("no answer from the running instance"));
    co_return reply.arguments().value(0).toString();
}

QString absolute(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

}  // namespace

bool instanceRunning(const QDBusConnection& bus) {
    if (!bus.isConnected() || bus.interface() == nullptr)
        return false;
    const QDBusReply<bool> registered = bus.interface()->isServiceRegistered(AppBusNames::service);
    return registered.isValid() && registered.value();
}

QCoro::Task<bool> answers(QDBusConnection bus) {
    if (!bus.isConnected())
        co_return false;
    // Introspection is answered on the thread the object lives on: the app's GUI thread.
    QDBusMessage message = QDBusMessage::createMethodCall(AppBusNames::service, AppBusNames::path,
                                                          QStringLiteral("org.freedesktop.DBus.Introspectable"),
                                                          QStringLiteral("Introspect"));
    message.setAutoStartService(false);
    QDBusPendingCallWatcher watcher(
        bus.asyncCall(message, static_cast<int>(std::chrono::milliseconds(probeTimeout).count())));
    if (!watcher.isFinished())
        co_await qCoro(&watcher, &QDBusPendingCallWatcher::finished);
    co_return watcher.reply().type() == QDBusMessage::ReplyMessage;
}

QCoro::Task<Answer> grab(QDBusConnection bus, bool other) {
    auto answer =
        call(std::move(bus), other ? QStringLiteral("GrabOtherText") : QStringLiteral("GrabText"), {}, actionTimeout);
    co_return co_await answer;
}

QCoro::Task<Answer> read(QDBusConnection bus, QStringList paths) {
    QStringList absolutePaths;
    for (const QString& path : paths)
        absolutePaths.append(absolute(path));
    auto answer = call(std::move(bus), QStringLiteral("ReadText"), {absolutePaths}, readTimeout);
    co_return co_await answer;
}

QCoro::Task<Answer> code(QDBusConnection bus, QString path) {
    auto answer = call(std::move(bus), QStringLiteral("ReadCode"), {absolute(path)}, readTimeout);
    co_return co_await answer;
}

QCoro::Task<Answer> openFiles(QDBusConnection bus, QList<QUrl> files) {
    QStringList uris;
    for (const QUrl& file : files)
        uris.append(file.toString(QUrl::FullyEncoded));
    auto answer = call(std::move(bus), QStringLiteral("OpenFiles"), {uris}, commandTimeout);
    co_return co_await answer;
}

QCoro::Task<Answer> reopen(QDBusConnection bus) {
    auto answer = call(std::move(bus), QStringLiteral("Reopen"), {}, commandTimeout);
    co_return co_await answer;
}

QCoro::Task<Answer> chooseFiles(QDBusConnection bus) {
    auto answer = call(std::move(bus), QStringLiteral("ChooseFiles"), {}, commandTimeout);
    co_return co_await answer;
}

}  // namespace AppBusClient

}  // namespace Glyphnab
