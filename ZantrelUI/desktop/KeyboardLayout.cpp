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

std::optional<Qt::Key> qtKey(std::uint16_t keyCode, const std::optional<QString>& keyName) {
    for (const auto& [code, key] : namedKeys)
        if (code == keyCode)
            return key;
    if (const std::optional<QString> function = ZantrelKit::KeyNames::functionKeyName(keyCode))
        return static_cast<Qt::Key>(Qt::Key_F1 + function->mid(1).toInt() - 1);  // "F5"
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
