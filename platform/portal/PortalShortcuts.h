#pragma once

// The desktop portal's GlobalShortcuts: one session per process, its shortcuts bound once
// (the portal lets a session bind only once; the desktop then owns the triggers and the
// user changes them in its settings), presses reported by shortcut id.

#include <QDBusArgument>
#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <QCoroTask>

#include <chrono>
#include <expected>
#include <map>

namespace Platform::Portal {

inline constexpr auto shortcutsInterface = "org.freedesktop.portal.GlobalShortcuts";

// One entry of the portal's a(sa{sv}) shortcut lists.
struct ShortcutEntry {
    QString id;
    QVariantMap options;  // "description", "preferred_trigger", "trigger_description"
};
using ShortcutList = QList<ShortcutEntry>;

QDBusArgument& operator<<(QDBusArgument& argument, const ShortcutEntry& entry);
const QDBusArgument& operator>>(const QDBusArgument& argument, ShortcutEntry& entry);

// A shortcut the app asks for: its id, what it does, and the keys it would like, in the
// form the portal takes ("CTRL+SHIFT+LOGO+t"; empty lets the desktop ask the user).
struct ShortcutRequest {
    QString id;
    QString description;
    QString preferredTrigger;
};

class ShortcutsSession final : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::seconds answerLimit{60};  // the desktop may ask the user first

    explicit ShortcutsSession(QDBusConnection bus, QObject* parent = nullptr);
    ~ShortcutsSession() override;

    // Creates the session and binds `shortcuts` in it; the triggers the desktop reports, by
    // id, or a sentence saying why nothing was bound. Runs once: a second call fails.
    QCoro::Task<std::expected<std::map<QString, QString>, QString>> bind(QList<ShortcutRequest> shortcuts,
                                                                        QString parentWindow);

    bool isBound() const { return !session_.isEmpty(); }

Q_SIGNALS:
    void activated(const QString& id);
    // The desktop changed the triggers (its settings); by id, as it words them.
    void triggersChanged(const std::map<QString, QString>& triggers);

private Q_SLOTS:
    void onActivated(const QDBusObjectPath& session, const QString& id, qulonglong timestamp,
                     const QVariantMap& options);
    void onShortcutsChanged(const QDBusObjectPath& session, const Platform::Portal::ShortcutList& shortcuts);

private:
    QDBusConnection bus_;
    QString session_;
    bool started_ = false;
};

// The "trigger_description" of each entry, by id.
std::map<QString, QString> triggersOf(const ShortcutList& shortcuts);

}  // namespace Platform::Portal

Q_DECLARE_METATYPE(Platform::Portal::ShortcutEntry)
Q_DECLARE_METATYPE(Platform::Portal::ShortcutList)
