#include "Glyphnab/windows/SessionCapture.h"

#include "platform/screen/ScreenService.h"

namespace Glyphnab {

std::optional<QString> sessionLacksCapture() {
    const Platform::ScreenService& screen = Platform::screenService();
    if (screen.session() != Platform::Session::wayland)
        return std::nullopt;
    const QString missing = screen.missing();
    if (missing.isEmpty())
        return std::nullopt;
    return missing;
}

bool captureThroughPortal() {
    return Platform::screenService().session() == Platform::Session::wayland;
}

}  // namespace Glyphnab
