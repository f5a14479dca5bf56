#include "platform/portal/PortalShortcuts.h"

#include "platform/portal/PortalRequest.h"

#include <QDBusMetaType>
#include <QCoreApplication>
#include <QDBusPendingCall>
#include <QDBusObjectPath>

namespace Platform::Portal {
namespace {

void registerTypes() {
    static const bool once = [] {
        qDBusRegisterMetaType<ShortcutEntry>();
        qDBusRegisterMetaType<ShortcutList>();
        return true;
    }();
    (void)once;
}

}  // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const ShortcutEntry& entry) {
    argument.beginStructure();
    argument << entry.id << entry.options;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, ShortcutEntry& entry) {
    argument.beginStructure();
    argument >> entry.id >> entry.options;
    argument.endStructure();
    return argument;
}

std::map<QString, QString> triggersOf(const ShortcutList& shortcuts) {
    std::map<QString, QString> triggers;
    for (const ShortcutEntry& entry : shortcuts)
        triggers[entry.id] = entry.options.value(QStringLiteral("trigger_description")).toString();
    return triggers;
}

ShortcutsSession::ShortcutsSession(QDBusConnection bus, QObject* parent) : QObject(parent), bus_(std::move(bus)) {
    registerTypes();
}

ShortcutsSession::~ShortcutsSession() {
    // After the application object the bus is gone too, and the desktop closes the session.
    if (session_.isEmpty() || QCoreApplication::instance() == nullptr)
        return;
    bus_.disconnect(QString::fromLatin1(service), QString::fromLatin1(path), QString::fromLatin1(shortcutsInterface),
                    QStringLiteral("Activated"), this,
                    SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    bus_.disconnect(QString::fromLatin1(service), QString::fromLatin1(path), QString::fromLatin1(shortcutsInterface),
                    QStringLiteral("ShortcutsChanged"), this,
                    SLOT(onShortcutsChanged(QDBusObjectPath, Platform::Portal::ShortcutList)));
    bus_.asyncCall(QDBusMessage::createMethodCall(QString::fromLatin1(service), session_,
                                                  QStringLiteral("org.freedesktop.portal.Session"),
                                                  QStringLiteral("Close")));
}

QCoro::Task<std::expected<std::map<QString, QString>, QString>> ShortcutsSession::bind(
    QList<ShortcutRequest> shortcuts, QString parentWindow) {
    if (started_)
        co_return std::unexpected(QStringLiteral("the shortcuts of this session are bound already"));
    started_ = true;

    const QString token = newToken();
    QDBusMessage create = QDBusMessage::createMethodCall(QString::fromLatin1(service), QString::fromLatin1(path),
                                                         QString::fromLatin1(shortcutsInterface),
                                                         QStringLiteral("CreateSession"));
    QVariantMap createOptions;
    createOptions.insert(QStringLiteral("handle_token"), token);
    createOptions.insert(QStringLiteral("session_handle_token"), newToken());
    create << createOptions;
    const auto created = co_await request(bus_, create, token, answerLimit);
    if (!created)
        co_return std::unexpected(created.error().message);
    if (created->code != 0)
        co_return std::unexpected(QStringLiteral("the desktop did not open a shortcuts session"));
    const QString session = created->results.value(QStringLiteral("session_handle")).toString();
    if (session.isEmpty())
        co_return std::unexpected(QStringLiteral("the desktop's shortcuts session has no handle"));

    // Presses are listened for before the shortcuts exist, so none is missed.
    session_ = session;
    bus_.connect(QString::fromLatin1(service), QString::fromLatin1(path), QString::fromLatin1(shortcutsInterface),
                 QStringLiteral("Activated"), this, SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    bus_.connect(QString::fromLatin1(service), QString::fromLatin1(path), QString::fromLatin1(shortcutsInterface),
                 QStringLiteral("ShortcutsChanged"), this,
                 SLOT(onShortcutsChanged(QDBusObjectPath, Platform::Portal::ShortcutList)));

    ShortcutList list;
    for (const ShortcutRequest& shortcut : shortcuts) {
        QVariantMap options;
        options.insert(QStringLiteral("description"), shortcut.description);
        if (!shortcut.preferredTrigger.isEmpty())
            options.insert(QStringLiteral("preferred_trigger"), shortcut.preferredTrigger);
        list.append({shortcut.id, options});
    }
    const QString bindToken = newToken();
    QDBusMessage bindCall = QDBusMessage::createMethodCall(QString::fromLatin1(service), QString::fromLatin1(path),
                                                           QString::fromLatin1(shortcutsInterface),
                                                           QStringLiteral("BindShortcuts"));
    QVariantMap bindOptions;
    bindOptions.insert(QStringLiteral("handle_token"), bindToken);
    bindCall << QVariant::fromValue(QDBusObjectPath(session)) << QVariant::fromValue(list) << parentWindow
             << bindOptions;
    const auto bound = co_await request(bus_, bindCall, bindToken, answerLimit);
    if (!bound)
        co_return std::unexpected(bound.error().message);
    if (bound->code != 0)
        co_return std::unexpected(QStringLiteral("the desktop did not bind the shortcuts"));
    const auto reported = qdbus_cast<ShortcutList>(bound->results.value(QStringLiteral("shortcuts")));
    co_return triggersOf(reported);
}

void ShortcutsSession::onActivated(const QDBusObjectPath& session, const QString& id, qulonglong,
                                   const QVariantMap&) {
    if (session.path() == session_)
        Q_EMIT activated(id);
}

void ShortcutsSession::onShortcutsChanged(const QDBusObjectPath& session, const ShortcutList& shortcuts) {
    if (session.path() == session_)
        Q_EMIT triggersChanged(triggersOf(shortcuts));
}

}  // namespace Platform::Portal
