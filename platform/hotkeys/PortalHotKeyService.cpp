#include "platform/hotkeys/PortalHotKeyService.h"

#include "platform/keyboard/KeyPositions.h"
#include "platform/log/Log.h"
#include "platform/screen/PortalScreenService.h"

#include <QTimer>

namespace Platform {
namespace {

const Logger& log() {
    static const Logger logger(QStringLiteral("hotkeys"));
    return logger;
}

// The US-layout symbol of the keys a trigger names; the desktop shows its own names.
std::optional<QChar> usSymbol(std::string_view xkbName) {
    static constexpr std::string_view rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
    static constexpr std::string_view rowNames[] = {"AD", "AC", "AB"};
    if (xkbName.size() != 4)
        return std::nullopt;
    const int column = (xkbName[2] - '0') * 10 + (xkbName[3] - '0') - 1;
    if (column < 0)
        return std::nullopt;
    if (xkbName.substr(0, 2) == "AE" && column < 10)
        return QChar(u"1234567890"[column]);
    for (std::size_t row = 0; row < 3; ++row) {
        if (xkbName.substr(0, 2) == rowNames[row] && static_cast<std::size_t>(column) < rows[row].size())
            return QChar::fromLatin1(rows[row][static_cast<std::size_t>(column)]);
    }
    return std::nullopt;
}

}  // namespace

QString preferredTrigger(std::uint16_t keyCode, std::uint32_t modifierMask) {
    const auto name = KeyPositions::xkbName(keyCode);
    const auto symbol = name ? usSymbol(*name) : std::nullopt;
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
    parts << QString(*symbol);
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
        state_ = State::failed;
        active_.clear();
    } else {
        state_ = State::bound;
        triggers_ = std::move(*bound);
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
