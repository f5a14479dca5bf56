#pragma once

// Which bindings clash: with another command on exactly the same keys, or with a
// shortcut the system itself uses. Generic over the command type, which must be ordered
// (the names of a clash are listed in its order).

#include "ZantrelKit/Shortcut.h"

#include <algorithm>
#include <concepts>
#include <map>
#include <utility>
#include <vector>

namespace ZantrelKit {

template <class Command>
struct ShortcutConflict {
    enum class Kind {
        sameAs,  // the other commands on the same shortcut, in `commands`
        system,  // no other command has it, but the system uses it
    };

    Kind kind = Kind::system;
    std::vector<Command> commands;  // for sameAs: sorted ascending, never empty

    static ShortcutConflict sameAs(std::vector<Command> others) {
        std::ranges::sort(others);
        return {Kind::sameAs, std::move(others)};
    }
    static ShortcutConflict system() { return {Kind::system, {}}; }

    friend bool operator==(const ShortcutConflict&, const ShortcutConflict&) = default;
};

namespace ShortcutConflicts {

// A set of the system's shortcuts (QSet or std::unordered_set).
template <class Set>
concept ShortcutSet = requires(const Set& set, const Shortcut& shortcut) {
    { set.contains(shortcut) } -> std::convertible_to<bool>;
};

// Every command whose shortcut clashes, with its clash; commands without one are absent.
// A shortcut both shared and used by the system is reported as shared.
template <std::totally_ordered Command, ShortcutSet SystemShortcuts>
std::map<Command, ShortcutConflict<Command>> find(const std::map<Command, Shortcut>& bindings,
                                                  const SystemShortcuts& system) {
    std::map<Command, ShortcutConflict<Command>> conflicts;
    for (const auto& [command, shortcut] : bindings) {
        std::vector<Command> others;
        for (const auto& [other, otherShortcut] : bindings)
            if (other != command && otherShortcut == shortcut)
                others.push_back(other);
        if (!others.empty())
            conflicts.emplace(command, ShortcutConflict<Command>::sameAs(std::move(others)));
        else if (system.contains(shortcut))
            conflicts.emplace(command, ShortcutConflict<Command>::system());
    }
    return conflicts;
}

}  // namespace ShortcutConflicts

}  // namespace ZantrelKit
