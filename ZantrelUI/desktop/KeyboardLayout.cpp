#include "ZantrelUI/desktop/KeyboardLayout.h"

#include "ZantrelKit/KeyNames.h"
#include "platform/screen/X11Link.h"

#include <QCoreApplication>
#include <QTranslator>


#include <array>
#include <utility>

namespace ZantrelUI::KeyboardLayout {
namespace {

constexpr std::array<std::pair<std::uint16_t, Qt::Key>, 15> namedKeys{{
    {123, Qt::Key_Left},   {124, Qt::Key_Right},  {125, Qt::Key_Down},     {126, Qt::Key_Up},
    {36, Qt::Key_Return},  {76, Qt::Key_Enter},   {48, Qt::Key_Tab},       {49, Qt::Key_Space},
    {51, Qt::Key_Backspace}, {117, Qt::Key_Delete}, {53, Qt::Key_Escape},  {115, Qt::Key_Home},
    {119, Qt::Key_End},    {116, Qt::Key_PageUp}, {121, Qt::Key_PageDown},
}};

// F1 to F20 in the kit's key-code order.
constexpr std::array<std::uint16_t, 20> functionKeys{122, 120, 99,  118, 96,  97,  98,  100, 101, 109,
                                                     103, 111, 105, 107, 113, 106, 64,  79,  80,  90};

std::optional<Qt::Key> qtKey(std::uint16_t keyCode, const std::optional<QString>& keyName) {
    for (const auto& [code, key] : namedKeys)
        if (code == keyCode)
            return key;
    for (std::size_t index = 0; index < functionKeys.size(); ++index)
        if (functionKeys[index] == keyCode)
            return static_cast<Qt::Key>(Qt::Key_F1 + static_cast<int>(index));
    // Qt's keys for characters are their upper-case code points.
    const QString upper = keyName ? keyName->toUpper() : QString();
    if (upper.size() != 1)
        return std::nullopt;
    return static_cast<Qt::Key>(upper.at(0).unicode());
}

class SuperKeyName final : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char*, int) const override {
        if (qstrcmp(context, "QShortcut") == 0 && qstrcmp(sourceText, "Meta") == 0)
            return QStringLiteral("Super");
        return {};
    }
};

}  // namespace

std::optional<QString> name(std::uint16_t keyCode, const Platform::Keymap& keymap) {
    return keymap.typedText(keyCode);
}

std::optional<QString> name(std::uint16_t keyCode) {
    const auto link = Platform::applicationX11Link();
    if (!link)
        return std::nullopt;
    const auto keymap = Platform::Keymap::fromX11(*link);
    if (!keymap)
        return std::nullopt;
    return name(keyCode, *keymap);
}

QString text(const ZantrelKit::Shortcut& shortcut) {
    return shortcut.text(name(shortcut.keyCode));
}

std::optional<QKeySequence> keySequence(const ZantrelKit::Shortcut& shortcut,
                                        const std::optional<QString>& keyName) {
    const std::optional<Qt::Key> key = qtKey(shortcut.keyCode, keyName);
    if (!key)
        return std::nullopt;
    return QKeySequence(QKeyCombination(shortcut.modifiers.qtModifiers(), *key));
}

QString text(QKeyCombination keys) {
    const Qt::Key key = keys.key();
    QString name;
    for (const auto& [code, named] : namedKeys)
        if (named == key)
            name = ZantrelKit::KeyNames::special().value(code);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F20)
        name = ZantrelKit::KeyNames::special().value(functionKeys[static_cast<std::size_t>(key - Qt::Key_F1)]);
    if (name.isEmpty())
        name = QKeySequence(key).toString(QKeySequence::NativeText);
    const QString held = ZantrelKit::Shortcut::Modifiers::fromQt(keys.keyboardModifiers()).symbols();
    return held.isEmpty() ? name : held + u'+' + name;
}

void installSuperKeyName(QCoreApplication& app) {
    QCoreApplication::installTranslator(new SuperKeyName(&app));
}

void installAsTypedTextSource() {
    ZantrelKit::KeyNames::setTypedTextSource([](std::uint16_t keyCode) { return name(keyCode); });
}

}  // namespace ZantrelUI::KeyboardLayout
