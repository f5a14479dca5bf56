#include "ZantrelUI/desktop/KeyboardLayout.h"

#include "ZantrelKit/KeyNames.h"
#include "platform/screen/X11Link.h"

namespace ZantrelUI::KeyboardLayout {

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

void installAsTypedTextSource() {
    ZantrelKit::KeyNames::setTypedTextSource([](std::uint16_t keyCode) { return name(keyCode); });
}

}  // namespace ZantrelUI::KeyboardLayout
