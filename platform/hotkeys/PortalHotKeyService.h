#pragma once

// Global keys through the desktop portal's GlobalShortcuts. The portal binds a session's
// shortcuts once, and from then on the desktop owns the keys: the stored shortcut only
// suggests a trigger, and the user changes it in the desktop's settings. So the first
// registrations of a turn of the event loop are bound together, later ones switch presses
// on and off, and what the desktop reports as the trigger is kept for the settings to show.

#include "platform/hotkeys/HotKeyService.h"
#include "platform/portal/PortalShortcuts.h"

#include <QDBusConnection>
#include <QPointer>
#include <QString>

#include <map>
#include <memory>
#include <set>

namespace Platform {

class PortalHotKeyService final : public HotKeyService {
public:
    explicit PortalHotKeyService(QDBusConnection bus);
    ~PortalHotKeyService() override;

    void installHandler(Pressed pressed) override;
    HotKeyStatus registerKey(std::uint16_t keyCode, std::uint32_t modifierMask, std::uint32_t id) override;
    void unregisterKey(std::uint32_t id) override;
    // Until the desktop has answered the keys are taken to be its; a binding that failed
    // or bound nothing leaves the app without global keys.
    HotKeyDesk desk() const override { return state_ == State::failed ? HotKeyDesk::none : HotKeyDesk::portal; }
    void nameKey(std::uint32_t id, std::string_view name) override;
    std::string trigger(std::uint32_t id) const override;
    void installChangeHandler(std::function<void()> changed) override { changed_ = std::move(changed); }

    enum class State { waiting, binding, bound, failed };
    State state() const { return state_; }

private:
    struct Wanted {
        QString name;
        QString preferredTrigger;
    };
    QCoro::Task<void> bind();
    void activated(const QString& name);
    void setTriggers(const std::map<QString, QString>& triggers);

    QDBusConnection bus_;
    std::unique_ptr<Portal::ShortcutsSession> session_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    Pressed pressed_;
    std::function<void()> changed_;
    std::map<std::uint32_t, QString> names_;
    std::map<std::uint32_t, Wanted> wanted_;
    std::set<std::uint32_t> active_;
    std::map<QString, QString> triggers_;
    State state_ = State::waiting;
};

// Whether a bind's answer gives the app any key: at least one shortcut with a trigger.
bool bindsAnything(const std::map<QString, QString>& triggers);

// The portal's "description" of a binding the app knows; the name itself otherwise.
QString shortcutDescription(const QString& name);

// The keys of a stored shortcut in the portal's trigger form ("CTRL+SHIFT+LOGO+t"):
// modifiers from the stored mask (control 0x1000, option 0x800, shift 0x200, command
// 0x100) and the key's US-layout symbol; empty for a key the table does not name.
QString preferredTrigger(std::uint16_t keyCode, std::uint32_t modifierMask);

}  // namespace Platform
