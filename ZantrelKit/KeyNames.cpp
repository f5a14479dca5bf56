#include "ZantrelKit/KeyNames.h"

#include <array>
#include <memory>
#include <mutex>
#include <utility>

namespace ZantrelKit::KeyNames {
namespace {

struct Named {
    std::uint16_t keyCode;
    const char16_t* name;
};

constexpr std::array<std::uint16_t, 20> functionKeys{122, 120, 99,  118, 96,  97,  98,  100, 101, 109,
                                                     103, 111, 105, 107, 113, 106, 64,  79,  80,  90};

// Named as Linux desktops write them in shortcuts.
constexpr std::array<Named, 15> symbolKeys{{
    {123, u"Left"},      {124, u"Right"},    {125, u"Down"},   {126, u"Up"},    {36, u"Return"},
    {76, u"Enter"},      {48, u"Tab"},       {49, u"Space"},   {51, u"Backspace"}, {117, u"Delete"},
    {53, u"Escape"},     {115, u"Home"},     {119, u"End"},    {116, u"Page Up"}, {121, u"Page Down"},
}};

constexpr std::array<Named, 47> usCharacterKeys{{
    {0, u"A"},  {11, u"B"}, {8, u"C"},  {2, u"D"},  {14, u"E"}, {3, u"F"},  {5, u"G"},  {4, u"H"},
    {34, u"I"}, {38, u"J"}, {40, u"K"}, {37, u"L"}, {46, u"M"}, {45, u"N"}, {31, u"O"}, {35, u"P"},
    {12, u"Q"}, {15, u"R"}, {1, u"S"},  {17, u"T"}, {32, u"U"}, {9, u"V"},  {13, u"W"}, {7, u"X"},
    {16, u"Y"}, {6, u"Z"},  {29, u"0"}, {18, u"1"}, {19, u"2"}, {20, u"3"}, {21, u"4"}, {23, u"5"},
    {22, u"6"}, {26, u"7"}, {28, u"8"}, {25, u"9"}, {27, u"-"}, {24, u"="}, {33, u"["}, {30, u"]"},
    {42, u"\\"}, {41, u";"}, {39, u"'"}, {43, u","}, {47, u"."}, {44, u"/"}, {50, u"`"},
}};

std::mutex sourceLock;
std::shared_ptr<const TypedTextSource>& installedSource() {
    static std::shared_ptr<const TypedTextSource> source;
    return source;
}

}  // namespace

const QHash<std::uint16_t, QString>& special() {
    static const QHash<std::uint16_t, QString> table = [] {
        QHash<std::uint16_t, QString> names;
        for (const Named& key : symbolKeys)
            names.insert(key.keyCode, QString::fromUtf16(key.name));
        for (std::size_t index = 0; index < functionKeys.size(); ++index)
            names.insert(functionKeys[index], QStringLiteral("F%1").arg(index + 1));
        return names;
    }();
    return table;
}

const QHash<std::uint16_t, QString>& usLayout() {
    static const QHash<std::uint16_t, QString> table = [] {
        QHash<std::uint16_t, QString> names;
        for (const Named& key : usCharacterKeys)
            names.insert(key.keyCode, QString::fromUtf16(key.name));
        return names;
    }();
    return table;
}

const QSet<std::uint16_t>& modifierKeyCodes() {
    static const QSet<std::uint16_t> codes{54, 55, 56, 57, 58, 59, 60, 61, 62, 63};
    return codes;
}

const QSet<std::uint16_t>& functionKeyCodes() {
    static const QSet<std::uint16_t> codes(functionKeys.begin(), functionKeys.end());
    return codes;
}

QString name(std::uint16_t keyCode, const std::optional<QString>& typed) {
    if (const auto it = special().constFind(keyCode); it != special().constEnd())
        return *it;
    // A key that types nothing would leave the shortcut without a key name.
    if (typed && !typed->isEmpty())
        return typed->toUpper();  // full mapping, the same in every locale: ß gives SS
    if (const auto it = usLayout().constFind(keyCode); it != usLayout().constEnd())
        return *it;
    return u'#' + QString::number(keyCode);
}

bool isModifierKey(std::uint16_t keyCode) { return modifierKeyCodes().contains(keyCode); }

std::optional<QString> functionKeyName(std::uint16_t keyCode) {
    if (!functionKeyCodes().contains(keyCode))
        return std::nullopt;
    return special().value(keyCode);
}

void setTypedTextSource(TypedTextSource source) {
    auto installed = source ? std::make_shared<const TypedTextSource>(std::move(source)) : nullptr;
    const std::lock_guard guard(sourceLock);
    installedSource() = std::move(installed);
}

std::optional<QString> typedText(std::uint16_t keyCode) {
    std::shared_ptr<const TypedTextSource> source;
    {
        const std::lock_guard guard(sourceLock);
        source = installedSource();
    }
    // Called outside the lock: the layer may take its own.
    return source ? (*source)(keyCode) : std::nullopt;
}

}  // namespace ZantrelKit::KeyNames
