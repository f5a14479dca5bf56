#include "GlyphnabCore/Command.h"
#include "GlyphnabCore/Route.h"

#include <QHashFunctions>

namespace GlyphnabCore {

QString rawValue(Route route) {
    switch (route) {
    case Route::screen:
        return QStringLiteral("screen");
    case Route::clipboard:
        return QStringLiteral("clipboard");
    }
    return {};
}

std::optional<Route> routeFromRawValue(QStringView rawValue) {
    for (const Route route : allRoutes)
        if (GlyphnabCore::rawValue(route) == rawValue)
            return route;
    return std::nullopt;
}

std::size_t qHash(Route route, std::size_t seed) noexcept { return ::qHash(rawValue(route), seed); }

QString rawValue(Command command) {
    switch (command) {
    case Command::grab:
        return QStringLiteral("grab");
    case Command::grabOther:
        return QStringLiteral("grabOther");
    }
    return {};
}

std::optional<Command> commandFromRawValue(QStringView rawValue) {
    for (const Command command : allCommands)
        if (GlyphnabCore::rawValue(command) == rawValue)
            return command;
    return std::nullopt;
}

std::size_t qHash(Command command, std::size_t seed) noexcept { return ::qHash(rawValue(command), seed); }

}  // namespace GlyphnabCore
