#pragma once

// The family's window, card and text colours as plain numbers, one palette per appearance.
// Colours are 0xRRGGBB; an opacity, where there is one, is kept apart from 0 to 1.

#include <QString>

#include <cstdint>
#include <ostream>

namespace ZantrelKit {

struct Palette {
    struct Tone {
        std::uint32_t hex = 0;
        double alpha = 1;

        friend bool operator==(const Tone&, const Tone&) = default;
    };

    std::uint32_t windowTop = 0;     // opaque
    std::uint32_t windowBottom = 0;  // opaque
    Tone card;
    Tone cardStroke;
    Tone hairline;
    Tone primary;
    Tone secondary;
    Tone tertiary;
    Tone onAccent;
    Tone danger;
    QString name;

    static const Palette dark;
    static const Palette light;

    QString description() const { return name; }

    friend bool operator==(const Palette&, const Palette&) = default;
};

inline void PrintTo(const Palette& palette, std::ostream* out) { *out << palette.name.toStdString(); }

}  // namespace ZantrelKit
