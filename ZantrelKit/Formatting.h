#pragma once

// The one locale in which the kit formats sizes, percentages and lists, and the texts
// built from them.

#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>

namespace ZantrelKit::Formatting {

// Shared by every formatter of the kit; "en_US" until the app sets the language of its
// texts at launch.
QLocale locale();
void setLocale(const QLocale& locale);

// A file size in decimal units in the locale's words, "1.5 MB", "2 KB", "999 bytes" ("999 Byte",
// "1,5 Mo"); 0 is the "unit.zeroKB" text.
// Kilobytes show no fraction digit, megabytes one, larger units two; trailing zeros go.
QString bytes(std::int64_t count);

// A whole percentage, "25%" in English.
QString percent(std::int64_t wholePercent);

// "25% smaller", "1% larger", "About the same size"; nothing when the old size is below 1.
std::optional<QString> sizeChange(std::int64_t from, std::int64_t to);

}  // namespace ZantrelKit::Formatting
