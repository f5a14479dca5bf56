#include "ZantrelUI/settings/ShortcutFieldKeys.h"

#include "ZantrelKit/KeyNames.h"
#include "platform/keyboard/Keymap.h"

#include <array>
#include <utility>

namespace ZantrelUI::ShortcutFieldKeys {

namespace {

constexpr std::array<std::pair<Qt::Key, std::uint16_t>, 48> fixedKeys{{
    {Qt::Key_Escape, 53},    {Qt::Key_Backspace, 51}, {Qt::Key_Delete, 117},   {Qt::Key_Return, 36},
    {Qt::Key_Enter, 76},     {Qt::Key_Tab, 48},       {Qt::Key_Backtab, 48},   {Qt::Key_Space, 49},
    {Qt::Key_Left, 123},     {Qt::Key_Right, 124},    {Qt::Key_Down, 125},     {Qt::Key_Up, 126},
    {Qt::Key_Home, 115},     {Qt::Key_End, 119},      {Qt::Key_PageUp, 116},   {Qt::Key_PageDown, 121},
    {Qt::Key_Insert, 114},   {Qt::Key_Shift, 56},     {Qt::Key_Control, 59},   {Qt::Key_Alt, 58},
    {Qt::Key_Meta, 55},      {Qt::Key_Super_L, 55},   {Qt::Key_Super_R, 54},   {Qt::Key_CapsLock, 57},
    {Qt::Key_F1, 122},       {Qt::Key_F2, 120},       {Qt::Key_F3, 99},        {Qt::Key_F4, 118},
    {Qt::Key_F5, 96},        {Qt::Key_F6, 97},        {Qt::Key_F7, 98},        {Qt::Key_F8, 100},
    {Qt::Key_F9, 101},       {Qt::Key_F10, 109},      {Qt::Key_F11, 103},      {Qt::Key_F12, 111},
    {Qt::Key_F13, 105},      {Qt::Key_F14, 107},      {Qt::Key_F15, 113},      {Qt::Key_F16, 106},
    {Qt::Key_F17, 64},       {Qt::Key_F18, 79},       {Qt::Key_F19, 80},       {Qt::Key_F20, 90},
    {Qt::Key_AltGr, 61},     {Qt::Key_Menu, 110},     {Qt::Key_Print, 105},    {Qt::Key_unknown, 0xFFFF},
}};

}  // namespace

std::optional<std::uint16_t> storedKeyCode(Qt::Key key) {
    for (const auto& [qtKey, code] : fixedKeys) {
        if (qtKey == key && code != 0xFFFF)
            return code;
    }
    // Letters and digits: the US layout's key that prints the character.
    const auto& us = ZantrelKit::KeyNames::usLayout();
    for (auto it = us.cbegin(); it != us.cend(); ++it) {
        if (it.value().size() == 1 && it.value().at(0).unicode() == static_cast<char16_t>(key) &&
            it.value().at(0).isLetterOrNumber())
            return it.key();
    }
    return std::nullopt;
}

std::optional<std::uint16_t> storedKeyCode(const QKeyEvent& event, const Platform::Keymap* keymap) {
    const quint32 x11Key = event.nativeScanCode();
    if (keymap != nullptr && x11Key >= 8 && x11Key <= 255) {
        if (const auto code = keymap->keyCode(static_cast<std::uint8_t>(x11Key)))
            return code;
    }
    return storedKeyCode(static_cast<Qt::Key>(event.key()));
}

}  // namespace ZantrelUI::ShortcutFieldKeys
