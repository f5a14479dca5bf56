#include "ZantrelKit/Palette.h"

namespace ZantrelKit {

const Palette Palette::dark{
    .windowTop = 0x15132A,
    .windowBottom = 0x09080F,
    .card = {0xFFFFFF, 0.06},
    .cardStroke = {0xFFFFFF, 0.07},
    .hairline = {0xFFFFFF, 0.07},
    .primary = {0xFFFFFF, 0.92},
    .secondary = {0xFFFFFF, 0.62},
    .tertiary = {0xFFFFFF, 0.55},
    .onAccent = {0x000000, 0.8},
    .danger = {0xFF6B6B, 1.0},
    .name = QStringLiteral("dark"),
};

const Palette Palette::light{
    .windowTop = 0xF6F5FB,
    .windowBottom = 0xE8E6F0,
    .card = {0xFFFFFF, 0.72},
    .cardStroke = {0x000000, 0.13},
    .hairline = {0x000000, 0.08},
    .primary = {0x17161F, 1.0},
    .secondary = {0x000000, 0.62},
    .tertiary = {0x000000, 0.56},
    .onAccent = {0xFFFFFF, 1.0},
    .danger = {0xBE2E28, 1.0},
    .name = QStringLiteral("light"),
};

}  // namespace ZantrelKit
