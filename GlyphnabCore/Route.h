#pragma once

// Where the grab shortcuts read: an area dragged over the screen, or the clipboard picture.

#include <QString>
#include <QStringView>

#include <array>
#include <cstddef>
#include <optional>

namespace GlyphnabCore {

enum class Route {
    screen,
    clipboard,  // no Screen Recording needed
};

inline constexpr std::array<Route, 2> allRoutes{Route::screen, Route::clipboard};

// "screen" or "clipboard", the stored form.
QString rawValue(Route route);
std::optional<Route> routeFromRawValue(QStringView rawValue);

std::size_t qHash(Route route, std::size_t seed = 0) noexcept;

}  // namespace GlyphnabCore
