#pragma once

// One accent per app of the family: a gradient and an ink colour for each appearance.

#include <QString>

#include <array>
#include <cstdint>
#include <ostream>

namespace ZantrelKit {

struct AccentPair {
    struct Stops {
        std::uint32_t top = 0;     // gradient, top colour 0xRRGGBB
        std::uint32_t bottom = 0;  // gradient, bottom colour
        std::uint32_t ink = 0;     // text, symbols and strokes

        friend bool operator==(const Stops&, const Stops&) = default;
    };

    QString name;  // the app's short lower-case identifier
    Stops dark;
    Stops light;

    // The family's apps in a fixed order; the first row is the views' default accent.
    static const std::array<AccentPair, 12> all;
    // This app's row (the fourth of `all`).
    static const AccentPair glyphnab;
    // A neutral pair that belongs to no row.
    static const AccentPair fallback;

    // The first row whose name equals `name` exactly (case matters), else `fallback`.
    static const AccentPair& named(const QString& name);

    QString description() const { return name; }

    friend bool operator==(const AccentPair&, const AccentPair&) = default;
};

inline void PrintTo(const AccentPair& pair, std::ostream* out) { *out << pair.name.toStdString(); }

}  // namespace ZantrelKit
