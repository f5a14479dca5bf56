#pragma once

// Whether this session can capture the screen at all. A Wayland desktop without the
// portal's Screenshot has no permission to give: the windows name what is missing
// instead of asking for Screen Recording.

#include <QString>

#include <optional>

namespace Glyphnab {

// What is missing, when the session cannot capture the screen; nothing otherwise (an X11
// session's answer is the permission's).
std::optional<QString> sessionLacksCapture();

// Whether the screen is read through the desktop portal, whose own prompt is the grant.
bool captureThroughPortal();

}  // namespace Glyphnab
