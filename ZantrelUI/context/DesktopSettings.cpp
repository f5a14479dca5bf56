#include "ZantrelUI/context/DesktopSettings.h"

#include "ZantrelKit/RunModes.h"
#include "ZantrelUI/context/Environment.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QWidget>

namespace ZantrelUI {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString portalInterface = QStringLiteral("org.freedesktop.portal.Settings");

const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString gnomeInterfaceGroup = QStringLiteral("org.gnome.desktop.interface");
const QString gnomeA11yGroup = QStringLiteral("org.gnome.desktop.a11y.interface");

// Read answers a variant inside a variant (older portals) or the value itself.
QVariant unwrap(QVariant value) {
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

}  // namespace

DesktopSettings& DesktopSettings::shared() {
    static DesktopSettings* settings = new DesktopSettings();  // lives for the process
    return *settings;
}

DesktopSettings::DesktopSettings() {
    // Test programs decide these values themselves; the user's desktop must not leak in.
    if (!ZantrelKit::TestHost::isActive())
        listenToPortal();
}

void DesktopSettings::listenToPortal() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(portalService, portalPath, portalInterface, QStringLiteral("SettingChanged"), this,
                SLOT(portalSettingChanged(QDBusMessage)));
    const std::pair<QString, QString> wanted[] = {
        {appearanceGroup, QStringLiteral("color-scheme")},
        {gnomeInterfaceGroup, QStringLiteral("enable-animations")},
        {gnomeA11yGroup, QStringLiteral("high-contrast")},
    };
    for (const auto& [group, key] : wanted) {
        QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, portalInterface,
                                                           QStringLiteral("Read"));
        call << group << key;
        // Asynchronous, so a slow or missing portal never holds up the first paint.
        auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 2000), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, group, key](QDBusPendingCallWatcher* w) {
            const QDBusPendingReply<QDBusVariant> reply = *w;
            if (!reply.isError())
                apply(group, key, unwrap(reply.argumentAt(0)));
            w->deleteLater();
        });
    }
}

void DesktopSettings::portalSettingChanged(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() != 3)
        return;
    apply(arguments[0].toString(), arguments[1].toString(), unwrap(arguments[2]));
}

void DesktopSettings::apply(const QString& group, const QString& key, const QVariant& value) {
    if (group == appearanceGroup && key == QLatin1String("color-scheme")) {
        const uint scheme = value.toUInt();  // 0 no preference, 1 dark, 2 light
        setPrefersDark(scheme == 1 ? std::optional(true) : scheme == 2 ? std::optional(false) : std::nullopt);
    } else if (group == gnomeInterfaceGroup && key == QLatin1String("enable-animations")) {
        setAnimationsEnabled(value.toBool());
    } else if (group == gnomeA11yGroup && key == QLatin1String("high-contrast")) {
        setReduceTransparency(value.toBool());
    }
}

void DesktopSettings::setPrefersDark(std::optional<bool> dark) {
    if (prefersDark_ == dark)
        return;
    prefersDark_ = dark;
    broadcast();
}

void DesktopSettings::setAnimationsEnabled(bool on) {
    if (animationsEnabled_ == on)
        return;
    animationsEnabled_ = on;
    broadcast();
}

void DesktopSettings::setReduceTransparency(bool on) {
    if (reduceTransparency_ == on)
        return;
    reduceTransparency_ = on;
    broadcast();
}

void DesktopSettings::broadcast() {
    Q_EMIT changed();
    // Every widget resolves these at paint time; tell them all, as an environment change.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        Environment::notifyChanged(window);
}

}  // namespace ZantrelUI
