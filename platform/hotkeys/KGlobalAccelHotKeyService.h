#pragma once

// Global keys on Plasma, through its KGlobalAccel service: the way the desktop's own apps
// register theirs. Its GlobalShortcuts portal binds nothing for an app outside a sandbox,
// while KGlobalAccel takes the keys the app asks for, lists them in System Settings under
// the app (the component is named after its desktop file) and says when one is pressed.

#include "platform/hotkeys/HotKeyService.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <set>

namespace Platform {

class KGlobalAccelHotKeyService final : public QObject, public HotKeyService {
    Q_OBJECT
public:
    static constexpr auto service = "org.kde.kglobalaccel";

    // `component` is the app's desktop file name without ".desktop"; `friendlyName` what
    // System Settings calls the app.
    KGlobalAccelHotKeyService(QDBusConnection bus, QString component, QString friendlyName);

    void installHandler(Pressed pressed) override;
    HotKeyStatus registerKey(std::uint16_t keyCode, std::uint32_t modifierMask, std::uint32_t id) override;
    void unregisterKey(std::uint32_t id) override;
    void nameKey(std::uint32_t id, std::string_view name) override;

private Q_SLOTS:
    void onPressed(const QString& component, const QString& action, qlonglong timestamp);

private:
    QStringList actionId(const QString& name) const;
    bool listen();

    QDBusConnection bus_;
    QString component_;
    QString friendlyName_;
    Pressed pressed_;
    std::map<std::uint32_t, QString> names_;
    std::set<std::uint32_t> active_;
    bool listening_ = false;
};

// A stored shortcut as KGlobalAccel keeps keys: Qt's key code of the US-layout symbol with
// Qt's modifier bits; nothing for a key without a letter or digit.
std::optional<int> kglobalaccelKey(std::uint16_t keyCode, std::uint32_t modifierMask);

// Whether the session is Plasma's and its KGlobalAccel runs on `bus`.
bool plasmaGlobalAccelRuns(const QDBusConnection& bus);

}  // namespace Platform
