#include "ZantrelUI/context/Appearance.h"

#include "ZantrelUI/context/DesktopSettings.h"
#include "ZantrelUI/context/Environment.h"

#include <QGuiApplication>
#include <QPalette>

namespace ZantrelUI {

using ZantrelKit::Palette;

ColorScheme systemColorScheme() {
    if (const std::optional<bool> dark = DesktopSettings::shared().prefersDark())
        return *dark ? ColorScheme::dark : ColorScheme::light;
    const QColor window = QGuiApplication::palette().color(QPalette::Window);
    return window.lightness() < 128 ? ColorScheme::dark : ColorScheme::light;
}

ColorScheme colorScheme(const QWidget* widget) {
    if (widget != nullptr) {
        if (const std::optional<ColorScheme> forced = Environment::of(widget).colorScheme)
            return *forced;
    }
    return systemColorScheme();
}

QColor colorFromHex(std::uint32_t hex, double opacity) {
    return QColor::fromRgbF(((hex >> 16) & 0xFF) / 255.0f, ((hex >> 8) & 0xFF) / 255.0f, (hex & 0xFF) / 255.0f,
                            static_cast<float>(opacity));
}

QColor DynamicColor::resolve(ColorScheme scheme) const {
    const Palette::Tone& tone = scheme == ColorScheme::dark ? dark : light;
    return colorFromHex(tone.hex, tone.alpha);
}

Accent::Accent(const ZantrelKit::AccentPair& pair)
    : top{{pair.dark.top, 1}, {pair.light.top, 1}},
      bottom{{pair.dark.bottom, 1}, {pair.light.bottom, 1}},
      ink{{pair.dark.ink, 1}, {pair.light.ink, 1}},
      name(pair.name) {}

QLinearGradient Accent::gradient(const QRectF& rect, ColorScheme scheme) const {
    QLinearGradient gradient(rect.center().x(), rect.top(), rect.center().x(), rect.bottom());
    gradient.setColorAt(0, top.resolve(scheme));
    gradient.setColorAt(1, bottom.resolve(scheme));
    return gradient;
}

}  // namespace ZantrelUI
