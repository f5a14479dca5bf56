#include "platform/hotkeys/PortalHotKeyService.h"

#include "platform/keyboard/KeyPositions.h"
#include "platform/log/Log.h"
#include "platform/screen/PortalScreenService.h"

#include <QTimer>

#include <algorithm>

namespace Platform {
namespace {

const Logger& log() {
    static const Logger logger(QStringLiteral("hotkeys"));
    return logger;
}

}  // namespace

bool bindsAnything(const std::map<QString, QString>& triggers) {
    return std::any_of(triggers.begin(), triggers.end(), [](const auto& entry) { return !entry.second.isEmpty(); });
}

QString preferredTrigger(std::uint16_t keyCode, std::uint32_t modifierMask) {
    // The US-layout symbol: the desktop shows its own names.
    const auto symbol = KeyPositions::usSymbol(keyCode);
    if (!symbol)
        return {};
    QStringList parts;
    if ((modifierMask & 0x1000) != 0)
        parts << QStringLiteral("CTRL");
    if ((modifierMask & 0x800) != 0)
        parts << QStringLiteral("ALT");
    if ((modifierMask & 0x200) != 0)
        parts << QStringLiteral("SHIFT");
    if ((modifierMask & 0x100) != 0)
        parts << QStringLiteral("LOGO");
    parts << QString(QChar::fromLatin1(*symbol));
    return parts.join(u'+');
}

QString shortcutDescription(const QString& name) {
    if (name == u"grab")
        return QStringLiteral("Grab text from an area of the screen");
    if (name == u"grabOther")
        return QStringLiteral("Grab text from an area of the screen, lines the other way");
    return name;
}

PortalHotKeyService::PortalHotKeyService(QDBusConnection bus) : bus_(std::move(bus)) {}

PortalHotKeyService::~PortalHotKeyService() = default;

void PortalHotKeyService::installHandler(Pressed pressed) {
    pressed_ = std::move(pressed);
}

void PortalHotKeyService::nameKey(std::uint32_t id, std::string_view name) {
    names_[id] = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

HotKeyStatus PortalHotKeyService::registerKey(std::uint16_t keyCode, std::uint32_t modifierMask, std::uint32_t id) {
    const auto name = names_.find(id);
    if (state_ == State::failed || name == names_.end())
        return HotKeyStatus::unavailable;
    active_.insert(id);
    if (state_ != State::waiting)
        return HotKeyStatus::registered;  // bound already, or on its way: the desktop owns the keys
    wanted_[id] = Wanted{name->second, preferredTrigger(keyCode, modifierMask)};
    if (wanted_.size() == 1) {
        // Every registration of this turn goes into the one binding.
        std::weak_ptr<int> alive = alive_;
        QTimer::singleShot(0, [this, alive] {
            if (!alive.expired() && state_ == State::waiting)
                bind();
        });
    }
    return HotKeyStatus::registered;
}

void PortalHotKeyService::unregisterKey(std::uint32_t id) {
    // A binding cannot be taken back from the desktop: its presses are ignored instead.
    active_.erase(id);
}

std::string PortalHotKeyService::trigger(std::uint32_t id) const {
    const auto name = names_.find(id);
    if (name == names_.end())
        return {};
    const auto it = triggers_.find(name->second);
    return it == triggers_.end() ? std::string() : it->second.toStdString();
}

QCoro::Task<void> PortalHotKeyService::bind() {
    state_ = State::binding;
    std::weak_ptr<int> alive = alive_;
    session_ = std::make_unique<Portal::ShortcutsSession>(bus_);
    QObject::connect(session_.get(), &Portal::ShortcutsSession::activated, session_.get(),
                     [this](const QString& name) { activated(name); });
    QObject::connect(session_.get(), &Portal::ShortcutsSession::triggersChanged, session_.get(),
                     [this](const std::map<QString, QString>& triggers) { setTriggers(triggers); });
    QList<Portal::ShortcutRequest> requests;
    for (const auto& [id, wanted] : wanted_)
        requests.append({wanted.name, shortcutDescription(wanted.name), wanted.preferredTrigger});
    auto bound = co_await session_->bind(requests, portalParentWindow());
    if (alive.expired())
        co_return;
    if (!bound) {
        log().error(u"global shortcuts not bound: %{public}s", bound.error());
    } else if (!bindsAnything(*bound)) {
        // Some backends answer success and bind nothing (KDE's, for an app it cannot
        // name): no key would ever fire.
        log().error(u"global shortcuts not bound: %{public}s",
                    QStringLiteral("the desktop reported no keys for them"));
    } else {
        state_ = State::bound;
        triggers_ = std::move(*bound);
    }
    if (state_ != State::bound) {
        state_ = State::failed;
        active_.clear();
    }
    if (changed_)
        changed_();
}

void PortalHotKeyService::activated(const QString& name) {
    for (const auto& [id, known] : names_) {
        if (known == name && active_.contains(id) && pressed_) {
            pressed_(id);
            return;
        }
    }
}

void PortalHotKeyService::setTriggers(const std::map<QString, QString>& triggers) {
    if (triggers == triggers_)
        return;
    triggers_ = triggers;
    if (changed_)
        changed_();
}

}  // namespace Platform
