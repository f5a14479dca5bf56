#include "platform/keyboard/Keymap.h"

#include "platform/keyboard/KeyPositions.h"

#include <xkbcommon/xkbcommon-keysyms.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <array>
#include <string>

namespace Platform {

struct Keymap::Parts {
    xkb_context* context = nullptr;
    xkb_keymap* keymap = nullptr;
    xkb_layout_index_t layout = 0;

    Parts() = default;
    Parts(const Parts&) = delete;
    Parts& operator=(const Parts&) = delete;
    ~Parts() {
        if (keymap != nullptr)
            xkb_keymap_unref(keymap);
        if (context != nullptr)
            xkb_context_unref(context);
    }
};

namespace {

// Dead keys type nothing by themselves; the key is shown by its accent.
QString deadKeyText(xkb_keysym_t sym) {
    switch (sym) {
    case XKB_KEY_dead_grave: return QStringLiteral("`");
    case XKB_KEY_dead_acute: return QStringLiteral("´");
    case XKB_KEY_dead_circumflex: return QStringLiteral("^");
    case XKB_KEY_dead_tilde: return QStringLiteral("~");
    case XKB_KEY_dead_diaeresis: return QStringLiteral("¨");
    case XKB_KEY_dead_cedilla: return QStringLiteral("¸");
    case XKB_KEY_dead_abovering: return QStringLiteral("°");
    case XKB_KEY_dead_caron: return QStringLiteral("ˇ");
    default: return {};
    }
}

QString trimmedText(QString text) {
    auto blank = [](QChar c) { return c.isSpace() || c.category() == QChar::Other_Control; };
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && blank(text[start]))
        ++start;
    while (end > start && blank(text[end - 1]))
        --end;
    return text.mid(start, end - start);
}

xkb_layout_index_t layoutForKey(xkb_keymap* keymap, xkb_keycode_t key, xkb_layout_index_t layout) {
    const xkb_layout_index_t count = xkb_keymap_num_layouts_for_key(keymap, key);
    return count == 0 ? 0 : layout % count;
}

}  // namespace

std::optional<Keymap> Keymap::fromNames(const QString& layout, const QString& variant) {
    auto parts = std::make_shared<Parts>();
    parts->context = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    if (parts->context == nullptr)
        return std::nullopt;
    const std::string layoutText = layout.toStdString();
    const std::string variantText = variant.toStdString();
    xkb_rule_names names{};
    names.rules = "evdev";
    names.model = "pc105";
    names.layout = layoutText.c_str();
    names.variant = variantText.c_str();
    names.options = "";
    parts->keymap = xkb_keymap_new_from_names(parts->context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (parts->keymap == nullptr)
        return std::nullopt;
    return Keymap(std::move(parts));
}

std::optional<Keymap> Keymap::fromX11(const X11Link& link) {
    if (link.connection == nullptr)
        return std::nullopt;
    if (xkb_x11_setup_xkb_extension(link.connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                    XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr,
                                    nullptr) == 0)
        return std::nullopt;
    const std::int32_t device = xkb_x11_get_core_keyboard_device_id(link.connection);
    if (device < 0)
        return std::nullopt;
    auto parts = std::make_shared<Parts>();
    parts->context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (parts->context == nullptr)
        return std::nullopt;
    parts->keymap =
        xkb_x11_keymap_new_from_device(parts->context, link.connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (parts->keymap == nullptr)
        return std::nullopt;
    if (xkb_state* state = xkb_x11_state_new_from_device(parts->keymap, link.connection, device)) {
        parts->layout = xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE);
        xkb_state_unref(state);
    }
    return Keymap(std::move(parts));
}

std::optional<std::uint8_t> Keymap::x11KeyCode(std::uint16_t keyCode) const {
    const auto name = KeyPositions::xkbName(keyCode);
    if (!name)
        return std::nullopt;
    const std::string text(*name);
    const xkb_keycode_t key = xkb_keymap_key_by_name(parts_->keymap, text.c_str());
    if (key == XKB_KEYCODE_INVALID || key > 255)
        return std::nullopt;
    return static_cast<std::uint8_t>(key);
}

std::optional<std::uint16_t> Keymap::keyCode(std::uint8_t x11KeyCode) const {
    const char* name = xkb_keymap_key_get_name(parts_->keymap, x11KeyCode);
    if (name == nullptr)
        return std::nullopt;
    if (auto code = KeyPositions::keyCode(name))
        return code;
    // The map may call the key by an alias of the table's name; ask the other way round.
    for (std::uint16_t code = 0; code < 128; ++code) {
        if (x11KeyCode == this->x11KeyCode(code))
            return code;
    }
    return std::nullopt;
}

std::optional<QString> Keymap::typedText(std::uint16_t keyCode) const {
    const auto key = x11KeyCode(keyCode);
    if (!key)
        return std::nullopt;
    const xkb_keysym_t* syms = nullptr;
    const int count = xkb_keymap_key_get_syms_by_level(parts_->keymap, *key,
                                                       layoutForKey(parts_->keymap, *key, parts_->layout), 0, &syms);
    if (count < 1)
        return std::nullopt;
    QString text = deadKeyText(syms[0]);
    if (text.isEmpty()) {
        std::array<char, 16> buffer{};
        if (xkb_keysym_to_utf8(syms[0], buffer.data(), buffer.size()) > 0)
            text = QString::fromUtf8(buffer.data());
    }
    text = trimmedText(text);
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

std::optional<Keymap::KeyHit> Keymap::keyTyping(std::uint32_t keysym) const {
    xkb_keymap* keymap = parts_->keymap;
    for (xkb_level_index_t level = 0; level < 2; ++level) {
        for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap); key <= xkb_keymap_max_keycode(keymap) && key < 256;
             ++key) {
            const xkb_layout_index_t layout = layoutForKey(keymap, key, parts_->layout);
            if (level >= xkb_keymap_num_levels_for_key(keymap, key, layout))
                continue;
            const xkb_keysym_t* syms = nullptr;
            const int count = xkb_keymap_key_get_syms_by_level(keymap, key, layout, level, &syms);
            for (int i = 0; i < count; ++i) {
                if (syms[i] != keysym)
                    continue;
                if (const auto code = keyCode(static_cast<std::uint8_t>(key)))
                    return KeyHit{*code, level == 1};
            }
        }
    }
    return std::nullopt;
}

QString Keymap::layoutName() const {
    const char* name = xkb_keymap_layout_get_name(parts_->keymap, parts_->layout);
    return name != nullptr ? QString::fromUtf8(name) : QString();
}

}  // namespace Platform
