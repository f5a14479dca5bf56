#pragma once

// One input of a grab as the outcome sees it: a recognized picture or page, or text that
// needed no recognition (a PDF page's own text, a text copied again).

#include "text/Reading.h"

#include <QString>

#include <utility>
#include <variant>

namespace GlyphnabCore {

class Part {
public:
    static Part reading(ZantrelText::Reading reading) { return Part(std::move(reading)); }
    static Part text(QString text) { return Part(std::move(text)); }

    // Null for a text part.
    const ZantrelText::Reading* asReading() const noexcept { return std::get_if<ZantrelText::Reading>(&value_); }
    // Null for a reading part.
    const QString* asText() const noexcept { return std::get_if<QString>(&value_); }

    friend bool operator==(const Part&, const Part&) = default;

private:
    explicit Part(ZantrelText::Reading reading) : value_(std::in_place_index<0>, std::move(reading)) {}
    explicit Part(QString text) : value_(std::in_place_index<1>, std::move(text)) {}

    std::variant<ZantrelText::Reading, QString> value_;
};

}  // namespace GlyphnabCore
