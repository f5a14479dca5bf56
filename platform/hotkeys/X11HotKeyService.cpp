#include "platform/hotkeys/X11HotKeyService.h"

#include "platform/keyboard/Keymap.h"

#include <QCoreApplication>

namespace Platform {

class X11HotKeyService::Filter final : public QAbstractNativeEventFilter {
public:
    explicit Filter(X11HotKeyService& service) : service_(service) {}
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t")
            return false;
        return service_.handleEvent(static_cast<const xcb_generic_event_t*>(message));
    }

private:
    X11HotKeyService& service_;
};

X11HotKeyService::X11HotKeyService(X11Link link, bool listen)
    : link_(link), listen_(listen), presses_(static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | numLockMask(link))) {}

X11HotKeyService::~X11HotKeyService() {
    if (!connectionAlive())
        return;  // the application closed its connection, and the server let go of the grabs
    if (filter_)
        QCoreApplication::instance()->removeNativeEventFilter(filter_.get());
    for (const auto& [id, combo] : presses_.combos())
        ungrabKey(link_, combo);
}

bool X11HotKeyService::connectionAlive() const {
    return !listen_ || QCoreApplication::instance() != nullptr;
}

void X11HotKeyService::installHandler(Pressed pressed) {
    pressed_ = std::move(pressed);
    if (listen_ && !filter_ && QCoreApplication::instance() != nullptr) {
        filter_ = std::make_unique<Filter>(*this);
        QCoreApplication::instance()->installNativeEventFilter(filter_.get());
    }
}

HotKeyStatus X11HotKeyService::registerKey(std::uint16_t keyCode, std::uint32_t modifierMask, std::uint32_t id) {
    unregisterKey(id);
    if (!connectionAlive())
        return HotKeyStatus::unavailable;
    // The keyboard map is read afresh: the user may have switched keyboards since.
    const auto keymap = Keymap::fromX11(link_);
    const auto x11Code = keymap ? keymap->x11KeyCode(keyCode) : std::nullopt;
    if (!x11Code)
        return HotKeyStatus::unavailable;
    const X11KeyCombo combo{*x11Code, x11Modifiers(modifierMask)};
    switch (grabKey(link_, combo)) {
    case GrabResult::grabbed:
        presses_.add(id, combo);
        return HotKeyStatus::registered;
    case GrabResult::refused:
        return HotKeyStatus::refused;
    case GrabResult::failed:
        break;
    }
    return HotKeyStatus::unavailable;
}

void X11HotKeyService::unregisterKey(std::uint32_t id) {
    const auto it = presses_.combos().find(id);
    if (it == presses_.combos().end())
        return;
    if (connectionAlive())
        ungrabKey(link_, it->second);
    presses_.remove(id);
}

bool X11HotKeyService::handleEvent(const xcb_generic_event_t* event) {
    if (event == nullptr)
        return false;
    const std::uint8_t type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
    if (key->event != link_.root)
        return false;
    if (type == XCB_KEY_RELEASE)
        return presses_.release(key->detail, key->time);
    const auto press = presses_.press(key->detail, key->state, key->time);
    if (!press)
        return false;
    if (!press->repeat && pressed_)
        pressed_(press->id);
    return true;
}

}  // namespace Platform
