#pragma once

// The app's global keyboard shortcuts: bindings by name ("grab", "grabOther"), each a
// Shortcut, registered with the desktop and dispatched by name to one handler on the GUI
// thread. Held while a shortcut is being recorded, so that pressing the current one
// records it instead of firing it.

#include "ZantrelKit/Shortcut.h"
#include "platform/hotkeys/HotKeyService.h"

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

namespace ZantrelUI {

class HotKeys {
public:
    using Handler = std::function<void(const QString& name)>;
    using RefusedHandler = std::function<void(const QSet<QString>& names)>;

    // The process's instance, on the desktop's hot-key service.
    static HotKeys& shared();

    explicit HotKeys(std::unique_ptr<Platform::HotKeyService> service);
    HotKeys(const HotKeys&) = delete;
    HotKeys& operator=(const HotKeys&) = delete;
    ~HotKeys();

    // Replaces the bindings and the handler and registers them again; the names the
    // desktop refused.
    QSet<QString> set(QMap<QString, ZantrelKit::Shortcut> bindings, Handler handler);

    // Releases every registration and registers the bindings again, in name order with ids
    // 1, 2, 3, … (a binding keeps its position's id whether it registers or not). Nothing
    // is registered while held. Each refused name is logged and handed to `onRefused`.
    QSet<QString> reinstall();

    // Adds or removes a reason to hold the hot keys; they go away with the first hold and
    // come back when the last one ends.
    void hold(const QString& reason, bool on);
    bool isHeld() const { return !holds_.isEmpty(); }
    int registeredCount() const { return static_cast<int>(names_.size()); }
    // Which binding each registered id number stands for.
    const QMap<std::uint32_t, QString>& names() const { return names_; }

    const RefusedHandler& onRefused() const { return onRefused_; }
    void setOnRefused(RefusedHandler handler) { onRefused_ = std::move(handler); }

    // How the desktop gives the app global keys.
    Platform::HotKeyDesk desk() const { return service_->desk(); }
    // Names the desktop could not register at the last install because it cannot, not
    // because another program holds the keys (no key for the code, no global keys at all).
    const QSet<QString>& unavailable() const { return unavailable_; }
    // The keys the desktop reports for a registered binding, in its words; empty when none.
    QString trigger(const QString& name) const;
    // Called after the desktop changed what it reported, once the keys are installed again.
    void setOnChanged(std::function<void()> handler) { onChanged_ = std::move(handler); }

    // Whether hot keys may be used: true when `gate` is off; otherwise false when `blocked`
    // is on; otherwise true unless the arguments hold "--no-hotkeys".
    static bool allowed(const QStringList& arguments, bool gate, bool blocked);

private:
    void dispatch(std::uint32_t number);

    std::unique_ptr<Platform::HotKeyService> service_;
    QMap<std::uint32_t, QString> names_;
    QMap<QString, ZantrelKit::Shortcut> bindings_;
    Handler handler_;
    QSet<QString> holds_;
    bool installed_ = false;
    RefusedHandler onRefused_;
    QSet<QString> unavailable_;
    std::function<void()> onChanged_;
};

}  // namespace ZantrelUI
