#pragma once

// The colour arithmetic of the family look, on 0xRRGGBB colours (the top byte is ignored
// on input and zero on output).

#include <cstdint>

namespace ZantrelKit::Contrast {

// Relative luminance of an sRGB colour, 0 to 1.
double luminance(std::uint32_t colour);

// Contrast ratio of two colours, 1 to 21; the order does not matter.
double ratio(std::uint32_t first, std::uint32_t second);

// Each channel t × a + (1 − t) × b, rounded half away from zero; t lies in 0 to 1.
std::uint32_t mix(std::uint32_t a, std::uint32_t b, double t);

}  // namespace ZantrelKit::Contrast
