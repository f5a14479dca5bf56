#pragma once

// What one key press means while a shortcut field records: keep waiting, cancel, clear
// the binding, ask for a modifier, or take the keys as the new shortcut.

#include "ZantrelKit/Shortcut.h"

#include <cstdint>
#include <optional>

namespace ZantrelKit {

class Shortcut::Recording {
public:
    enum class Kind {
        set,            // take `shortcut()` as the new binding
        cancel,         // stop recording, keep the old binding
        clear,          // stop recording, remove the binding
        needsModifier,  // refuse the press: add control, option or command
        waiting,        // only a modifier key went down
    };

    // The verdict on a key going down with `modifiers` held (from the key event's
    // flags). Escape cancels and the delete keys clear only when pressed alone; a bare
    // key is taken when the field allows it, and a function key always.
    Recording(std::uint16_t keyCode, Modifiers modifiers, bool allowsBareKeys);

    static Recording set(Shortcut shortcut) { return Recording(Kind::set, shortcut); }
    static Recording cancel() { return Recording(Kind::cancel); }
    static Recording clear() { return Recording(Kind::clear); }
    static Recording needsModifier() { return Recording(Kind::needsModifier); }
    static Recording waiting() { return Recording(Kind::waiting); }

    Kind kind() const { return kind_; }
    // The keys to take; present for `set` only.
    const std::optional<Shortcut>& shortcut() const { return shortcut_; }

    friend bool operator==(const Recording&, const Recording&) = default;

private:
    explicit Recording(Kind kind, std::optional<Shortcut> shortcut = std::nullopt)
        : kind_(kind), shortcut_(shortcut) {}

    Kind kind_;
    std::optional<Shortcut> shortcut_;
};

}  // namespace ZantrelKit
