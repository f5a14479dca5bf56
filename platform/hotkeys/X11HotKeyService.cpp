#include "platform/hotkeys/X11HotKeyService.h"

#include "platform/keyboard/Keymap.h"

#include <QCoreApplication>

#include <cstdlib>
#include <memory>

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

namespace {

// How often a hold is checked against the key state; a person lets go after 100 ms or more.
constexpr int heldKeyCheckMilliseconds = 60;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

}  // namespace

X11HotKeyService::X11HotKeyService(X11Link link, bool listen)
    : link_(link), listen_(listen), presses_(static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | numLockMask(link))) {
    heldKeyCheck_.setInterval(heldKeyCheckMilliseconds);
    QObject::connect(&heldKeyCheck_, &QTimer::timeout, [this] { checkHeldKey(); });
}

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
    if (type == XCB_KEY_RELEASE) {
        // A window of ours that grabbed the keyboard while the keys were down (the area
        // selector does) gets the release instead of the root; it still ends the hold.
        const bool ended = presses_.release(key->detail, key->time);
        return ended && key->event == link_.root;
    }
    if (key->event != link_.root)
        return false;
    const auto press = presses_.press(key->detail, key->state, key->time);
    if (!press)
        return false;
    if (!press->repeat) {
        if (listen_)
            heldKeyCheck_.start();
        if (pressed_)
            pressed_(press->id);
    }
    return true;
}

void X11HotKeyService::checkHeldKey() {
    const auto held = presses_.heldKey();
    if (!held || !connectionAlive() || link_.connection == nullptr) {
        heldKeyCheck_.stop();
        return;
    }
    std::unique_ptr<xcb_query_keymap_reply_t, FreeDeleter> keymap(
        xcb_query_keymap_reply(link_.connection, xcb_query_keymap(link_.connection), nullptr));
    if (!keymap)
        return;
    if ((keymap->keys[*held / 8] & (1u << (*held % 8))) != 0)
        return;
    presses_.letGo();
    heldKeyCheck_.stop();
}

}  // namespace Platform
