#include "text/LineMode.h"

#include "text/TextPieceCharacters.h"

#include <QChar>
#include <QHashFunctions>

namespace ZantrelText {

QString rawValue(LineMode mode)
{
    switch (mode) {
    case LineMode::keep:
        return QStringLiteral("keep");
    case LineMode::join:
        return QStringLiteral("join");
    }
    return QStringLiteral("keep");
}

std::optional<LineMode> lineModeFromRawValue(QStringView rawValue)
{
    if (rawValue == u"keep")
        return LineMode::keep;
    if (rawValue == u"join")
        return LineMode::join;
    return std::nullopt;
}

std::size_t qHash(LineMode mode, std::size_t seed) noexcept
{
    return ::qHash(rawValue(mode), seed);
}

namespace {

bool isHyphen(QStringView character)
{
    return character == u"-" || character == u"\u2010";
}

bool isLowercaseLetter(QStringView character)
{
    const char32_t scalar = Characters::firstScalar(character);
    return !character.isEmpty() && QChar::isLetter(scalar) && QChar::isLower(scalar);
}

}  // namespace

QString joinLines(const QString& text, const QString& next)
{
    const QStringList tail = Characters::lastCharacters(text, 2);
    const QString nextFirst = Characters::first(next);

    // A word split across lines: "recog-" + "nition" becomes "recognition".
    if (tail.size() >= 2 && isHyphen(tail.last()) && Characters::isLetter(tail.at(tail.size() - 2))
        && isLowercaseLetter(nextFirst)) {
        return text.first(text.size() - tail.last().size()) + next;
    }

    const QString textLast = tail.isEmpty() ? QString() : tail.last();
    if (isWideScript(textLast) || isWideScript(nextFirst))
        return text + next;

    return text + u' ' + next;
}

bool isWideScript(QStringView text)
{
    for (const char32_t scalar : text.toUcs4()) {
        if ((scalar >= 0x3000 && scalar <= 0x9FFF) || (scalar >= 0xAC00 && scalar <= 0xD7AF)
            || (scalar >= 0xF900 && scalar <= 0xFAFF) || (scalar >= 0xFF00 && scalar <= 0xFFEF))
            return true;
    }
    return false;
}

}  // namespace ZantrelText
