#include "ZantrelKit/ShortcutRecording.h"

#include "ZantrelKit/KeyNames.h"

namespace ZantrelKit {
namespace {

constexpr std::uint16_t deleteKey = 51;
constexpr std::uint16_t forwardDeleteKey = 117;
constexpr std::uint16_t escapeKey = 53;

Shortcut::Recording verdict(std::uint16_t keyCode, Shortcut::Modifiers modifiers, bool allowsBareKeys) {
    using Recording = Shortcut::Recording;
    using Modifiers = Shortcut::Modifiers;
    if (KeyNames::isModifierKey(keyCode))
        return Recording::waiting();
    if (modifiers.isEmpty()) {
        if (keyCode == deleteKey || keyCode == forwardDeleteKey)
            return Recording::clear();
        if (keyCode == escapeKey)
            return Recording::cancel();
    } else if (modifiers.intersects(Modifiers{Modifiers::control, Modifiers::option, Modifiers::command})) {
        return Recording::set(Shortcut{keyCode, modifiers});
    }
    // No modifier, or shift alone.
    if (allowsBareKeys || KeyNames::functionKeyCodes().contains(keyCode))
        return Recording::set(Shortcut{keyCode, modifiers});
    return Recording::needsModifier();
}

}  // namespace

Shortcut::Recording::Recording(std::uint16_t keyCode, Modifiers modifiers, bool allowsBareKeys)
    : Recording(verdict(keyCode, modifiers, allowsBareKeys)) {}

}  // namespace ZantrelKit
