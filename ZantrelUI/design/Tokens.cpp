#include "ZantrelUI/design/Tokens.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

namespace ZantrelUI {

using ZantrelKit::Palette;

namespace {

using Tone = Palette::Tone;

DynamicColor fromPalette(Tone Palette::*field) { return {Palette::dark.*field, Palette::light.*field}; }
DynamicColor fromPaletteHex(std::uint32_t Palette::*field) {
    return {{Palette::dark.*field, 1}, {Palette::light.*field, 1}};
}

}  // namespace

namespace Ink {
const DynamicColor& primary() {
    static const DynamicColor value = fromPalette(&Palette::primary);
    return value;
}
const DynamicColor& secondary() {
    static const DynamicColor value = fromPalette(&Palette::secondary);
    return value;
}
const DynamicColor& tertiary() {
    static const DynamicColor value = fromPalette(&Palette::tertiary);
    return value;
}
const DynamicColor& onAccent() {
    static const DynamicColor value = fromPalette(&Palette::onAccent);
    return value;
}
const DynamicColor& danger() {
    static const DynamicColor value = fromPalette(&Palette::danger);
    return value;
}
const DynamicColor& onDanger() {
    static const DynamicColor value = DynamicColor{{0x000000, 0.8}, {0xFFFFFF, 1.0}};
    return value;
}
}  // namespace Ink

namespace Surface {
const DynamicColor& windowTop() {
    static const DynamicColor value = fromPaletteHex(&Palette::windowTop);
    return value;
}
const DynamicColor& windowBottom() {
    static const DynamicColor value = fromPaletteHex(&Palette::windowBottom);
    return value;
}
const DynamicColor& card() {
    static const DynamicColor value = fromPalette(&Palette::card);
    return value;
}
const DynamicColor& cardStroke() {
    static const DynamicColor value = fromPalette(&Palette::cardStroke);
    return value;
}
const DynamicColor& hairline() {
    static const DynamicColor value = fromPalette(&Palette::hairline);
    return value;
}
const DynamicColor& cardHighlight() {
    static const DynamicColor value = DynamicColor{{0xFFFFFF, 0.12}, {0xFFFFFF, 0.95}};
    return value;
}
const DynamicColor& faintFill() {
    static const DynamicColor value = DynamicColor{{0xFFFFFF, 0.09}, {0x000000, 0.05}};
    return value;
}
const DynamicColor& strongFill() {
    static const DynamicColor value = DynamicColor{{0xFFFFFF, 0.16}, {0x000000, 0.10}};
    return value;
}
const DynamicColor& track() {
    static const DynamicColor value = DynamicColor{{0xFFFFFF, 0.12}, {0x000000, 0.10}};
    return value;
}
const DynamicColor& shadow() {
    static const DynamicColor value = DynamicColor{{0x000000, 0.0}, {0x2A2160, 0.13}};
    return value;
}
}  // namespace Surface


namespace Fonts {

namespace {

// Logical pixels to Qt points on the primary screen.
qreal pointsFor(qreal pixels) {
    qreal dpi = 96;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dpi = screen->logicalDotsPerInch();
    return pixels * 72.0 / (dpi > 0 ? dpi : 96);
}

QStringList roundedFamilies() {
    static const QStringList installed = [] {
        QStringList found;
        const QStringList families = QFontDatabase::families();
        for (const char* candidate : {"Nunito", "Varela Round", "Quicksand", "M PLUS Rounded 1c", "Comfortaa"}) {
            if (families.contains(QLatin1String(candidate), Qt::CaseInsensitive))
                found << QLatin1String(candidate);
        }
        return found;
    }();
    return installed;
}

}  // namespace

QFont system(qreal size, QFont::Weight weight, bool rounded) {
    QFont font = QGuiApplication::font();
    if (rounded) {
        QStringList families = roundedFamilies();
        if (!families.isEmpty()) {
            families << font.families();
            font.setFamilies(families);
        }
    }
    font.setPointSizeF(pointsFor(size));
    font.setWeight(weight);
    return font;
}

bool sameAdvances(const QFont& font, const QString& characters) {
    const QFontMetricsF metrics(font);
    for (const QChar c : characters)
        if (!qFuzzyCompare(metrics.horizontalAdvance(c), metrics.horizontalAdvance(characters.front())))
            return false;
    return true;
}

QFont monospaced(const QFont& like) {
    static const QString probe = QStringLiteral("iW.m0");
    const auto sized = [&like](const QString& family) {
        QFont font(family);
        font.setStyleHint(QFont::TypeWriter);
        if (like.pixelSize() > 0)
            font.setPixelSize(like.pixelSize());
        else
            font.setPointSizeF(like.pointSizeF());
        font.setWeight(like.weight());
        return font;
    };
    // The desktop's own choice first, then any installed face that really is monospaced.
    static const QStringList candidates = [] {
        QStringList list{QFontDatabase::systemFont(QFontDatabase::FixedFont).family(), QStringLiteral("monospace")};
        for (const QString& family : QFontDatabase::families())
            if (QFontDatabase::isFixedPitch(family) || family.contains(QLatin1String("Mono"), Qt::CaseInsensitive))
                list << family;
        return list;
    }();
    for (const QString& family : candidates) {
        QFont font = sized(family);
        if (sameAdvances(font, probe))
            return font;
    }
    return sized(candidates.front());
}

QFont monospacedDigits(const QFont& font) {
    return sameAdvances(font, QStringLiteral("0123456789")) ? font : monospaced(font);
}

QFont hero() { return system(42, QFont::Bold, true); }
QFont title() { return system(26, QFont::Bold, true); }
QFont heading() { return system(24, QFont::Bold, true); }
QFont roundedHeadline() { return system(15, QFont::DemiBold, true); }
QFont roundedCaption() { return system(12, QFont::DemiBold, true); }
QFont headline() { return system(15, QFont::DemiBold); }
QFont label() { return system(13, QFont::DemiBold); }
QFont small() { return system(12, QFont::Medium); }
QFont body() { return system(13); }
QFont footnote() { return system(11.5); }
QFont caption() { return system(11, QFont::DemiBold); }

}  // namespace Fonts

Shadow tintedShadow(const QColor& color, double opacity, qreal radius, qreal y) {
    QColor tinted = color;
    tinted.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return {tinted, radius, QPointF(0, y)};
}

Shadow glow(const QColor& color) { return tintedShadow(color, 0.75, 16, 0); }
Shadow softShadow(const QColor& color) { return tintedShadow(color, 0.35, 8, 2); }

}  // namespace ZantrelUI
