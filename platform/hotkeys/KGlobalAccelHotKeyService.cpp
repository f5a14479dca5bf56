#include "platform/hotkeys/KGlobalAccelHotKeyService.h"

#include "platform/hotkeys/PortalHotKeyService.h"
#include "platform/keyboard/KeyPositions.h"
#include "platform/log/Log.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QList>

namespace Platform {
namespace {

constexpr auto globalAccelPath = "/kglobalaccel";
constexpr auto globalAccelInterface = "org.kde.KGlobalAccel";
constexpr auto componentInterface = "org.kde.kglobalaccel.Component";
// The service answers from the compositor's own loop; it never takes long.
constexpr int callLimitMs = 3000;

// setShortcut's flags: the keys are the default ones; the action is present (its keys are
// grabbed); the keys given win over ones stored from an earlier run.
constexpr uint isDefault = 1;
constexpr uint setPresent = 2;
constexpr uint noAutoloading = 4;

const Logger& log() {
    static const Logger logger(QStringLiteral("hotkeys"));
    return logger;
}

QDBusMessage call(const QDBusConnection& bus, const QString& member, const QVariantList& arguments) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(QString::fromLatin1(KGlobalAccelHotKeyService::service),
                                       QString::fromLatin1(globalAccelPath), QString::fromLatin1(globalAccelInterface),
                                       member);
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, callLimitMs);
}

}  // namespace

std::optional<int> kglobalaccelKey(std::uint16_t keyCode, std::uint32_t modifierMask) {
    const auto symbol = KeyPositions::usSymbol(keyCode);
    if (!symbol)
        return std::nullopt;
    int key = QChar::fromLatin1(*symbol).toUpper().unicode();
    if ((modifierMask & 0x1000) != 0)
        key |= Qt::ControlModifier;
    if ((modifierMask & 0x800) != 0)
        key |= Qt::AltModifier;
    if ((modifierMask & 0x200) != 0)
        key |= Qt::ShiftModifier;
    if ((modifierMask & 0x100) != 0)
        key |= Qt::MetaModifier;
    return key;
}

bool plasmaGlobalAccelRuns(const QDBusConnection& bus) {
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts);
    if (!desktops.contains(QStringLiteral("KDE"), Qt::CaseInsensitive))
        return false;
    // Running, not merely startable: a kglobalaccel started elsewhere could grab nothing.
    return bus.isConnected() && bus.interface() &&
           bus.interface()->isServiceRegistered(QString::fromLatin1(KGlobalAccelHotKeyService::service));
}

KGlobalAccelHotKeyService::KGlobalAccelHotKeyService(QDBusConnection bus, QString component, QString friendlyName)
    : bus_(std::move(bus)), component_(std::move(component)), friendlyName_(std::move(friendlyName)) {}

void KGlobalAccelHotKeyService::installHandler(Pressed pressed) {
    pressed_ = std::move(pressed);
}

void KGlobalAccelHotKeyService::nameKey(std::uint32_t id, std::string_view name) {
    names_[id] = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QStringList KGlobalAccelHotKeyService::actionId(const QString& name) const {
    return {component_, name, friendlyName_, shortcutDescription(name)};
}

HotKeyStatus KGlobalAccelHotKeyService::registerKey(std::uint16_t keyCode, std::uint32_t modifierMask,
                                                    std::uint32_t id) {
    const auto name = names_.find(id);
    const auto key = kglobalaccelKey(keyCode, modifierMask);
    if (name == names_.end() || !key)
        return HotKeyStatus::unavailable;
    const QStringList action = actionId(name->second);
    const QDBusMessage registered = call(bus_, QStringLiteral("doRegister"), {action});
    if (registered.type() != QDBusMessage::ReplyMessage) {
        log().error(u"KGlobalAccel did not register %{public}s: %{public}s", name->second, registered.errorMessage());
        return HotKeyStatus::unavailable;
    }
    // The component exists from the first action on; its presses are listened for before
    // any key is live.
    if (!listen())
        return HotKeyStatus::unavailable;
    const QList<int> keys{*key};
    call(bus_, QStringLiteral("setShortcut"), {action, QVariant::fromValue(keys), isDefault});
    const QDBusMessage set =
        call(bus_, QStringLiteral("setShortcut"), {action, QVariant::fromValue(keys), setPresent | noAutoloading});
    if (set.type() != QDBusMessage::ReplyMessage || set.arguments().isEmpty()) {
        log().error(u"KGlobalAccel did not set the keys of %{public}s: %{public}s", name->second, set.errorMessage());
        return HotKeyStatus::unavailable;
    }
    // The keys it took: another component's keys are left to it, and none are taken.
    const auto taken = qdbus_cast<QList<int>>(set.arguments().constFirst());
    if (!taken.contains(*key))
        return HotKeyStatus::refused;
    active_.insert(id);
    return HotKeyStatus::registered;
}

void KGlobalAccelHotKeyService::unregisterKey(std::uint32_t id) {
    const auto name = names_.find(id);
    if (name == names_.end() || active_.erase(id) == 0)
        return;
    // Inactive keys stay listed in System Settings but no longer fire.
    QDBusMessage message =
        QDBusMessage::createMethodCall(QString::fromLatin1(service), QString::fromLatin1(globalAccelPath),
                                       QString::fromLatin1(globalAccelInterface), QStringLiteral("setInactive"));
    message << actionId(name->second);
    bus_.call(message, QDBus::Block, callLimitMs);
}

bool KGlobalAccelHotKeyService::listen() {
    if (listening_)
        return true;
    const QDBusMessage reply = call(bus_, QStringLiteral("getComponent"), {component_});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        log().error(u"KGlobalAccel has no component %{public}s: %{public}s", component_, reply.errorMessage());
        return false;
    }
    const QString path = qdbus_cast<QDBusObjectPath>(reply.arguments().constFirst()).path();
    listening_ = bus_.connect(QString::fromLatin1(service), path, QString::fromLatin1(componentInterface),
                              QStringLiteral("globalShortcutPressed"), this,
                              SLOT(onPressed(QString, QString, qlonglong)));
    if (!listening_)
        log().error(u"KGlobalAccel's presses cannot be listened for: %{public}s", path);
    return listening_;
}

void KGlobalAccelHotKeyService::onPressed(const QString& component, const QString& action, qlonglong) {
    if (component != component_ || !pressed_)
        return;
    for (const auto& [id, name] : names_) {
        if (name == action && active_.contains(id)) {
            pressed_(id);
            return;
        }
    }
}

}  // namespace Platform
