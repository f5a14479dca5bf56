#pragma once

// One global keyboard shortcut: a key code (a key's position, whatever the layout) and
// the modifier keys to hold. Stored as {"keyCode":17,"modifiers":13}.
//
// Key codes and modifier values are the family's stored forms: the Mac's virtual key
// codes (17 = T, 38 = J) and the modifier bits below, with the Carbon masks and event
// flags they have always been compared in. On Linux control is Ctrl, option is Alt,
// shift is Shift and command is Super, and shortcuts are written the way the desktop
// writes them: "Ctrl+Shift+Super+T".

#include <QHashFunctions>
#include <QJsonValue>
#include <QString>
#include <qnamespace.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>

namespace ZantrelKit {

struct Shortcut {
    // A bit set of modifier keys. Bits beyond the four known ones are carried in the raw
    // value (they make two sets unequal) but no conversion or text reflects them.
    class Modifiers {
    public:
        static const Modifiers control;  // 1
        static const Modifiers option;   // 2
        static const Modifiers shift;    // 4
        static const Modifiers command;  // 8

        constexpr Modifiers() = default;
        constexpr explicit Modifiers(std::int64_t rawValue) : rawValue_(rawValue) {}
        constexpr Modifiers(std::initializer_list<Modifiers> members) {
            for (const Modifiers member : members)
                rawValue_ |= member.rawValue_;
        }

        // From the hot-key services' mask (controlKey 0x1000, optionKey 0x800, shiftKey
        // 0x200, cmdKey 0x100); other bits are ignored.
        static Modifiers fromCarbonFlags(std::uint32_t carbonFlags);
        // From device-independent event flags (control 0x40000, option 0x80000, shift
        // 0x20000, command 0x100000); caps lock, function and the rest are ignored.
        static Modifiers fromEventFlags(std::uint64_t eventFlags);
        // From a Qt key event: Ctrl, Alt, Shift and Meta (the Super key).
        static Modifiers fromQt(Qt::KeyboardModifiers modifiers);

        constexpr std::int64_t rawValue() const { return rawValue_; }
        std::uint32_t carbonFlags() const;
        std::uint64_t eventFlags() const;
        Qt::KeyboardModifiers qtModifiers() const;
        // "Ctrl+Alt+Shift+Super", the contained ones in that order.
        QString symbols() const;

        constexpr bool isEmpty() const { return rawValue_ == 0; }
        constexpr bool contains(Modifiers members) const {
            return (rawValue_ & members.rawValue_) == members.rawValue_;
        }
        // Holds at least one of the given members.
        constexpr bool intersects(Modifiers members) const { return (rawValue_ & members.rawValue_) != 0; }
        constexpr void insert(Modifiers members) { rawValue_ |= members.rawValue_; }
        constexpr void remove(Modifiers members) { rawValue_ &= ~members.rawValue_; }

        friend constexpr Modifiers operator|(Modifiers a, Modifiers b) { return Modifiers(a.rawValue_ | b.rawValue_); }
        friend constexpr Modifiers operator&(Modifiers a, Modifiers b) { return Modifiers(a.rawValue_ & b.rawValue_); }
        friend constexpr bool operator==(Modifiers, Modifiers) = default;

        // Coded as the bare raw value.
        QJsonValue toJson() const;
        static Modifiers fromJson(const QJsonValue& json);

    private:
        std::int64_t rawValue_ = 0;
    };

    // The verdict on one key press while a shortcut is recorded (ShortcutRecording.h).
    class Recording;

    std::uint16_t keyCode = 0;
    Modifiers modifiers;

    // From a Carbon key code and modifier mask; nothing for 0xFFFF ("no key"), larger
    // codes and negative ones.
    static std::optional<Shortcut> fromCarbon(std::int64_t carbonKeyCode, std::int64_t carbonModifiers);

    // "Ctrl+Shift+Super+T": the modifiers, then the key's name (see KeyNames::name).
    QString text(const std::optional<QString>& keyName) const;
    QString text() const { return text(std::nullopt); }

    // "Control+Shift+Super+T", every word spelled out, for speech and accessibility.
    QString spokenText(const std::optional<QString>& keyName) const;
    QString spokenText() const { return spokenText(std::nullopt); }

    // Holds control, option or command, or is on a function key; shift alone is not enough.
    bool isAllowed() const;

    // Both keys are required when decoding; a key code outside 0…65535 fails.
    QJsonValue toJson() const;
    static Shortcut fromJson(const QJsonValue& json);

    friend constexpr bool operator==(const Shortcut&, const Shortcut&) = default;
};

inline constexpr Shortcut::Modifiers Shortcut::Modifiers::control{std::int64_t{1}};
inline constexpr Shortcut::Modifiers Shortcut::Modifiers::option{std::int64_t{2}};
inline constexpr Shortcut::Modifiers Shortcut::Modifiers::shift{std::int64_t{4}};
inline constexpr Shortcut::Modifiers Shortcut::Modifiers::command{std::int64_t{8}};

inline size_t qHash(Shortcut::Modifiers modifiers, size_t seed = 0) noexcept {
    return ::qHash(qint64(modifiers.rawValue()), seed);
}
inline size_t qHash(const Shortcut& shortcut, size_t seed = 0) noexcept {
    return qHashMulti(seed, shortcut.keyCode, qint64(shortcut.modifiers.rawValue()));
}

}  // namespace ZantrelKit

template <>
struct std::hash<ZantrelKit::Shortcut::Modifiers> {
    size_t operator()(ZantrelKit::Shortcut::Modifiers modifiers) const noexcept {
        return std::hash<std::int64_t>{}(modifiers.rawValue());
    }
};

template <>
struct std::hash<ZantrelKit::Shortcut> {
    size_t operator()(const ZantrelKit::Shortcut& shortcut) const noexcept {
        return qHash(shortcut);
    }
};
