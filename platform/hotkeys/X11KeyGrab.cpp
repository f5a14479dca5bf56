#include "platform/hotkeys/X11KeyGrab.h"

#include <xcb/xcb_keysyms.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <vector>

namespace Platform {
namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

constexpr std::uint32_t storedControl = 0x1000;
constexpr std::uint32_t storedOption = 0x800;
constexpr std::uint32_t storedShift = 0x200;
constexpr std::uint32_t storedCommand = 0x100;
constexpr std::uint8_t badAccess = 10;
constexpr xcb_keysym_t numLockSym = 0xff7f;

std::array<std::uint16_t, 4> lockVariants(const X11Link& link) {
    const std::uint16_t numLock = numLockMask(link);
    return {0, XCB_MOD_MASK_LOCK, numLock, static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | numLock)};
}

}  // namespace

std::uint16_t x11Modifiers(std::uint32_t storedMask) {
    std::uint16_t mask = 0;
    if ((storedMask & storedControl) != 0)
        mask |= XCB_MOD_MASK_CONTROL;
    if ((storedMask & storedOption) != 0)
        mask |= XCB_MOD_MASK_1;
    if ((storedMask & storedShift) != 0)
        mask |= XCB_MOD_MASK_SHIFT;
    if ((storedMask & storedCommand) != 0)
        mask |= XCB_MOD_MASK_4;
    return mask;
}

std::uint16_t numLockMask(const X11Link& link) {
    constexpr std::uint16_t fallback = XCB_MOD_MASK_2;
    if (link.connection == nullptr)
        return fallback;
    std::unique_ptr<xcb_get_modifier_mapping_reply_t, FreeDeleter> mapping(xcb_get_modifier_mapping_reply(
        link.connection, xcb_get_modifier_mapping(link.connection), nullptr));
    if (!mapping)
        return fallback;
    std::unique_ptr<xcb_key_symbols_t, decltype(&xcb_key_symbols_free)> symbols(
        xcb_key_symbols_alloc(link.connection), &xcb_key_symbols_free);
    std::unique_ptr<xcb_keycode_t, FreeDeleter> numLockCodes(
        symbols ? xcb_key_symbols_get_keycode(symbols.get(), numLockSym) : nullptr);
    if (!numLockCodes)
        return fallback;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(mapping.get());
    const int perModifier = mapping->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            const xcb_keycode_t code = codes[modifier * perModifier + i];
            if (code == XCB_NO_SYMBOL)
                continue;
            for (const xcb_keycode_t* n = numLockCodes.get(); *n != XCB_NO_SYMBOL; ++n) {
                if (*n == code)
                    return static_cast<std::uint16_t>(1u << modifier);
            }
        }
    }
    return fallback;
}

GrabResult grabKey(const X11Link& link, X11KeyCombo combo) {
    if (link.connection == nullptr || combo.keyCode == 0)
        return GrabResult::failed;
    std::vector<xcb_void_cookie_t> cookies;
    for (const std::uint16_t locks : lockVariants(link))
        cookies.push_back(xcb_grab_key_checked(link.connection, 1, link.root,
                                               static_cast<std::uint16_t>(combo.modifiers | locks), combo.keyCode,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    GrabResult result = GrabResult::grabbed;
    for (const xcb_void_cookie_t cookie : cookies) {
        std::unique_ptr<xcb_generic_error_t, FreeDeleter> error(xcb_request_check(link.connection, cookie));
        if (!error)
            continue;
        if (error->error_code == badAccess)
            result = GrabResult::refused;
        else if (result == GrabResult::grabbed)
            result = GrabResult::failed;
    }
    if (result != GrabResult::grabbed)
        ungrabKey(link, combo);  // releases only what this client took
    return result;
}

void ungrabKey(const X11Link& link, X11KeyCombo combo) {
    if (link.connection == nullptr)
        return;
    for (const std::uint16_t locks : lockVariants(link))
        xcb_ungrab_key(link.connection, combo.keyCode, link.root, static_cast<std::uint16_t>(combo.modifiers | locks));
    xcb_flush(link.connection);
}

}  // namespace Platform
