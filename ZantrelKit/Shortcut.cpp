#include "ZantrelKit/Shortcut.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelKit/JSONCoding.h"
#include "ZantrelKit/KeyNames.h"

#include <QJsonObject>
#include <QStringList>

#include <array>
#include <limits>

namespace ZantrelKit {
namespace {

using Modifiers = Shortcut::Modifiers;

// The one table that ties the encodings and the key names together; its order is the
// order of the modifiers in every shown shortcut, the order Linux desktops write them in.
struct ModifierRow {
    Modifiers member;
    std::uint32_t carbon;
    std::uint64_t event;
    Qt::KeyboardModifier qt;
    const char16_t* name;
    QString (*word)();
};

const std::array<ModifierRow, 4>& modifierRows() {
    static const std::array<ModifierRow, 4> rows{{
        {Modifiers::control, 0x1000, 0x40000, Qt::ControlModifier, u"Ctrl", &Copy::Keys::control},
        {Modifiers::option, 0x800, 0x80000, Qt::AltModifier, u"Alt", &Copy::Keys::option},
        {Modifiers::shift, 0x200, 0x20000, Qt::ShiftModifier, u"Shift", &Copy::Keys::shift},
        {Modifiers::command, 0x100, 0x100000, Qt::MetaModifier, u"Super", &Copy::Keys::command},
    }};
    return rows;
}

constexpr Modifiers commandKeys{Modifiers::control, Modifiers::option, Modifiers::command};

}  // namespace

Modifiers Modifiers::fromCarbonFlags(std::uint32_t carbonFlags) {
    Modifiers set;
    for (const ModifierRow& row : modifierRows())
        if ((carbonFlags & row.carbon) != 0)
            set.insert(row.member);
    return set;
}

Modifiers Modifiers::fromEventFlags(std::uint64_t eventFlags) {
    Modifiers set;
    for (const ModifierRow& row : modifierRows())
        if ((eventFlags & row.event) != 0)
            set.insert(row.member);
    return set;
}

Modifiers Modifiers::fromQt(Qt::KeyboardModifiers modifiers) {
    Modifiers set;
    for (const ModifierRow& row : modifierRows())
        if (modifiers.testFlag(row.qt))
            set.insert(row.member);
    return set;
}

std::uint32_t Modifiers::carbonFlags() const {
    std::uint32_t flags = 0;
    for (const ModifierRow& row : modifierRows())
        if (contains(row.member))
            flags |= row.carbon;
    return flags;
}

std::uint64_t Modifiers::eventFlags() const {
    std::uint64_t flags = 0;
    for (const ModifierRow& row : modifierRows())
        if (contains(row.member))
            flags |= row.event;
    return flags;
}

Qt::KeyboardModifiers Modifiers::qtModifiers() const {
    Qt::KeyboardModifiers flags;
    for (const ModifierRow& row : modifierRows())
        if (contains(row.member))
            flags |= row.qt;
    return flags;
}

QString Modifiers::symbols() const {
    QStringList names;
    for (const ModifierRow& row : modifierRows())
        if (contains(row.member))
            names.append(QString::fromUtf16(row.name));
    return names.join(u'+');
}

QJsonValue Modifiers::toJson() const { return QJsonValue(qint64(rawValue_)); }

Modifiers Modifiers::fromJson(const QJsonValue& json) {
    return Modifiers(JSONCoding::integer(json, std::numeric_limits<std::int64_t>::min(),
                                         std::numeric_limits<std::int64_t>::max(), QStringLiteral("modifiers")));
}

std::optional<Shortcut> Shortcut::fromCarbon(std::int64_t carbonKeyCode, std::int64_t carbonModifiers) {
    // 0xFFFF is the system's "no key"; a negative code read as unsigned is larger still.
    if (carbonKeyCode < 0 || carbonKeyCode > 0xFFFE)
        return std::nullopt;
    return Shortcut{static_cast<std::uint16_t>(carbonKeyCode),
                    Modifiers::fromCarbonFlags(static_cast<std::uint32_t>(carbonModifiers))};
}

QString Shortcut::text(const std::optional<QString>& keyName) const {
    const QString held = modifiers.symbols();
    const QString key = KeyNames::name(keyCode, keyName);
    return held.isEmpty() ? key : held + u'+' + key;
}

QString Shortcut::spokenText(const std::optional<QString>& keyName) const {
    QStringList words;
    for (const ModifierRow& row : modifierRows())
        if (modifiers.contains(row.member))
            words.append(row.word());
    words.append(Copy::Keys::name(keyCode).value_or(KeyNames::name(keyCode, keyName)));
    return words.join(u'+');
}

bool Shortcut::isAllowed() const {
    return modifiers.intersects(commandKeys) || KeyNames::functionKeyCodes().contains(keyCode);
}

QJsonValue Shortcut::toJson() const {
    return QJsonObject{{QStringLiteral("keyCode"), int(keyCode)}, {QStringLiteral("modifiers"), modifiers.toJson()}};
}

Shortcut Shortcut::fromJson(const QJsonValue& json) {
    const QJsonObject object = JSONCoding::object(json);
    const auto code = JSONCoding::integer(JSONCoding::required(object, QStringLiteral("keyCode")), 0, 0xFFFF,
                                          QStringLiteral("keyCode"));
    return Shortcut{static_cast<std::uint16_t>(code),
                    Modifiers::fromJson(JSONCoding::required(object, QStringLiteral("modifiers")))};
}

}  // namespace ZantrelKit
