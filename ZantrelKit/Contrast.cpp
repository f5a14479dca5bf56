#include "ZantrelKit/Contrast.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace ZantrelKit::Contrast {
namespace {

double linear(std::uint32_t channel) {
    const double v = static_cast<double>(channel & 0xFFu) / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

}  // namespace

double luminance(std::uint32_t colour) {
    return 0.2126 * linear(colour >> 16) + 0.7152 * linear(colour >> 8) + 0.0722 * linear(colour);
}

double ratio(std::uint32_t first, std::uint32_t second) {
    const double a = luminance(first);
    const double b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

std::uint32_t mix(std::uint32_t a, std::uint32_t b, double t) {
    std::uint32_t result = 0;
    for (const int shift : std::array{16, 8, 0}) {
        const double channelA = static_cast<double>((a >> shift) & 0xFFu);
        const double channelB = static_cast<double>((b >> shift) & 0xFFu);
        const double blended = std::clamp(std::round(t * channelA + (1.0 - t) * channelB), 0.0, 255.0);
        result |= static_cast<std::uint32_t>(blended) << shift;
    }
    return result;
}

}  // namespace ZantrelKit::Contrast
