#include "tests/platform/FakePortal.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDir>
#include <QMutexLocker>
#include <QUrl>

#include <utility>

#include "platform/portal/PortalRequest.h"

using Platform::Portal::ShortcutEntry;
using Platform::Portal::ShortcutList;

FakePortal::FakePortal(QDBusConnection bus) : bus_(std::move(bus)) {
    qDBusRegisterMetaType<ShortcutEntry>();
    qDBusRegisterMetaType<ShortcutList>();
    serving_ = bus_.registerVirtualObject(QStringLiteral("/org/freedesktop/portal/desktop"), this,
                                          QDBusConnection::SubPath) &&
               bus_.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
}

FakePortal::~FakePortal() {
    bus_.unregisterObject(QStringLiteral("/org/freedesktop/portal/desktop"), QDBusConnection::UnregisterTree);
    bus_.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
}

FakePortal::Seen FakePortal::seen() const {
    const QMutexLocker guard(&lock_);
    return seen_;
}

QString FakePortal::introspect(const QString&) const {
    return {};
}

void FakePortal::respond(const QDBusMessage& call, const QVariantMap& options, const QVariantMap& results) {
    const QString path = Platform::Portal::requestPath(call.service(), options.value(QStringLiteral("handle_token")).toString());
    bus_.send(call.createReply(QVariant::fromValue(QDBusObjectPath(path))));
    if (!answers) {
        latePath_ = path;
        lateMember_ = call.member();
        lateOptions_ = options;
        return;
    }
    QDBusMessage response =
        QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
    response << code << results;
    bus_.send(response);
}

bool FakePortal::handleMessage(const QDBusMessage& message, const QDBusConnection&) {
    const QString member = message.member();
    {
        const QMutexLocker guard(&lock_);
        seen_.calls.append(member);
    }
    const QList<QVariant> args = message.arguments();
    if (message.interface() == u"org.freedesktop.DBus.Properties" && member == u"Get") {
        const QString interface = args.value(0).toString();
        if (interface == u"org.freedesktop.portal.Screenshot" ||
            (interface == u"org.freedesktop.portal.GlobalShortcuts" && offersShortcuts)) {
            bus_.send(message.createReply(QVariant::fromValue(QDBusVariant(uint(1)))));
        } else {
            bus_.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                                               QStringLiteral("No such interface")));
        }
        return true;
    }
    if (message.interface() == u"org.freedesktop.portal.Request" && member == u"Close") {
        const QMutexLocker guard(&lock_);
        seen_.closed.append(message.path());
        bus_.send(message.createReply());
        return true;
    }
    if (member == u"Screenshot") {
        const QVariantMap options = qdbus_cast<QVariantMap>(args.value(1));
        QVariantMap results;
        {
            const QMutexLocker guard(&lock_);
            seen_.screenshotOptions = options;
        }
        if (needsFolder && !QDir(pictureFolder).exists()) {
            const uint given = code;
            code = 1;
            respond(message, options, results);
            code = given;
            return true;
        }
        // An unanswered request has saved nothing yet.
        if (!picture.isNull() && answers) {
            const QString file = QDir(pictureFolder).filePath(QStringLiteral("Screenshot.png"));
            picture.save(file, "PNG");
            results.insert(QStringLiteral("uri"), QUrl::fromLocalFile(file).toString());
        }
        {
            const QMutexLocker guard(&lock_);
            seen_.screenshotOptions = options;
        }
        respond(message, options, results);
        return true;
    }
    if (member == u"CreateSession") {
        const QVariantMap options = qdbus_cast<QVariantMap>(args.value(0));
        const QString session = QStringLiteral("/org/freedesktop/portal/desktop/session/test/s%1").arg(++sessions_);
        {
            const QMutexLocker guard(&lock_);
            seen_.session = session;
        }
        respond(message, options, {{QStringLiteral("session_handle"), session}});
        return true;
    }
    if (member == u"BindShortcuts") {
        const ShortcutList list = qdbus_cast<ShortcutList>(args.value(1));
        const QVariantMap options = qdbus_cast<QVariantMap>(args.value(3));
        ShortcutList reported;
        for (ShortcutEntry entry : list) {
            const auto trigger = triggers.find(entry.id);
            if (trigger != triggers.end())
                entry.options.insert(QStringLiteral("trigger_description"), trigger->second);
            if (reportsShortcuts)
                reported.append(entry);
        }
        {
            const QMutexLocker guard(&lock_);
            seen_.bound = list;
        }
        respond(message, options, {{QStringLiteral("shortcuts"), QVariant::fromValue(reported)}});
        return true;
    }
    bus_.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"), member));
    return true;
}

void FakePortal::answerLate() {
    if (latePath_.isEmpty())
        return;
    QVariantMap results;
    if (lateMember_ == u"Screenshot" && !picture.isNull()) {
        const QString file = QDir(pictureFolder).filePath(QStringLiteral("Late.png"));
        picture.save(file, "PNG");
        results.insert(QStringLiteral("uri"), QUrl::fromLocalFile(file).toString());
    }
    QDBusMessage response = QDBusMessage::createSignal(std::exchange(latePath_, QString()),
                                                       QStringLiteral("org.freedesktop.portal.Request"),
                                                       QStringLiteral("Response"));
    response << code << results;
    bus_.send(response);
}

void FakePortal::activate(const QString& id) {
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/portal/desktop"),
                                                     QStringLiteral("org.freedesktop.portal.GlobalShortcuts"),
                                                     QStringLiteral("Activated"));
    signal << QVariant::fromValue(QDBusObjectPath(seen().session)) << id << qulonglong(0) << QVariantMap();
    bus_.send(signal);
}

void FakePortal::changeTriggers(const std::map<QString, QString>& changed) {
    ShortcutList list;
    for (const auto& [id, trigger] : changed)
        list.append({id, {{QStringLiteral("trigger_description"), trigger}}});
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/portal/desktop"),
                                                     QStringLiteral("org.freedesktop.portal.GlobalShortcuts"),
                                                     QStringLiteral("ShortcutsChanged"));
    signal << QVariant::fromValue(QDBusObjectPath(seen().session)) << QVariant::fromValue(list);
    bus_.send(signal);
}
