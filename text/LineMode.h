#pragma once

// How a reading's lines are copied: kept as recognized, or joined into running text;
// and the rule that glues two lines together when joining.

#include <QString>
#include <QStringView>

#include <array>
#include <cstddef>
#include <optional>

namespace ZantrelText {

enum class LineMode {
    keep,  // every row of the layout becomes a line
    join,  // the rows of a paragraph become one line
};

// In declaration order, for pickers.
inline constexpr std::array<LineMode, 2> allLineModes{LineMode::keep, LineMode::join};

// "keep" or "join": the stored and encoded form.
QString rawValue(LineMode mode);
// Nothing for any other string.
std::optional<LineMode> lineModeFromRawValue(QStringView rawValue);

// Hashes the raw value, so the hash is the same wherever the mode is stored as text.
std::size_t qHash(LineMode mode, std::size_t seed = 0) noexcept;

// Glues `next` to `text`: drops a hyphen that splits a word, adds no space next to
// East Asian characters, and one space otherwise.
QString joinLines(const QString& text, const QString& next);

// True when any scalar of the string is CJK, kana, Hangul or a half/full-width form,
// scripts written without spaces between words.
bool isWideScript(QStringView text);

}  // namespace ZantrelText
