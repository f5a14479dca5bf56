#pragma once

// The two grab commands: the keys of the shortcut table and the names of the hot keys.
// Ordered by declaration, so `grab` comes first wherever they are listed.

#include <QString>
#include <QStringView>

#include <array>
#include <cstddef>
#include <optional>

namespace GlyphnabCore {

enum class Command {
    grab,       // with the preferred line mode
    grabOther,  // with the other one
};

inline constexpr std::array<Command, 2> allCommands{Command::grab, Command::grabOther};

// "grab" or "grabOther": the stored key and the hot-key binding name.
QString rawValue(Command command);
std::optional<Command> commandFromRawValue(QStringView rawValue);

std::size_t qHash(Command command, std::size_t seed = 0) noexcept;

}  // namespace GlyphnabCore
