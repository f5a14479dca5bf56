#pragma once

// Whether motion is reduced for a view: the environment's override when a host set one
// (it wins either way), otherwise the desktop's "enable animations" setting.

#include <optional>

class QWidget;

namespace ZantrelUI::ReduceMotion {

constexpr bool resolve(std::optional<bool> override, bool system) { return override.value_or(system); }

// The desktop's answer: reduced when it turned animations off.
bool system();

// The answer for one widget.
bool of(const QWidget* widget);

}  // namespace ZantrelUI::ReduceMotion
