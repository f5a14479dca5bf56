#include "text/FigureCheck.h"

#include "text/TextPieceCharacters.h"

#include <QChar>

#include <algorithm>

namespace ZantrelText::FigureCheck {

namespace {

QString trimmedOfSpacesAndTabs(QStringView text)
{
    qsizetype start = 0, end = text.size();
    while (start < end && (text[start] == u' ' || text[start] == u'\t'))
        ++start;
    while (end > start && (text[end - 1] == u' ' || text[end - 1] == u'\t'))
        --end;
    return text.sliced(start, end - start).toString();
}

// Characters compare by canonical equivalence, so "é" matches "e" + U+0301.
QStringList charactersOf(QStringView text)
{
    return Characters::split(text.toString().normalized(QString::NormalizationForm_C));
}

bool isASCIIDigit(const QString& character)
{
    return character.size() == 1 && character.front() >= u'0' && character.front() <= u'9';
}

bool isAccentedLetter(const QString& character)
{
    if (!Characters::isLetter(character))
        return false;
    const char32_t scalar = Characters::firstScalar(character);
    return (scalar >= 0x00C0 && scalar <= 0x024F) || (scalar >= 0x1E00 && scalar <= 0x1EFF);
}

bool holdsASCIIDigit(const QStringList& characters)
{
    return std::any_of(characters.begin(), characters.end(), isASCIIDigit);
}

QString withoutAccentedLetters(const QStringList& characters)
{
    QString rest;
    for (const QString& character : characters) {
        if (!isAccentedLetter(character))
            rest += character;
    }
    return rest;
}

}  // namespace

const QSet<QString>& figureCharacters()
{
    static const QSet<QString> characters = [] {
        QSet<QString> set;
        for (const QString& character : Characters::split(u"0123456789 .,/:+-\u2212$\u20AC\u00A3\u00A5%()"))
            set.insert(character);
        return set;
    }();
    return characters;
}

bool isFigure(QStringView text)
{
    const QStringList characters = charactersOf(trimmedOfSpacesAndTabs(text));
    if (!holdsASCIIDigit(characters))
        return false;
    const QSet<QString>& allowed = figureCharacters();
    return std::all_of(characters.begin(), characters.end(),
                       [&](const QString& character) { return allowed.contains(character); });
}

bool isAccentedFigure(QStringView text)
{
    const QStringList characters = charactersOf(text);
    if (std::none_of(characters.begin(), characters.end(), isAccentedLetter))
        return false;
    return isFigure(withoutAccentedLetters(characters));
}

bool isInOrder(QStringView text, QStringView within)
{
    const QStringList wanted = charactersOf(text);
    const QStringList searched = charactersOf(within);
    qsizetype from = 0;
    for (const QString& character : wanted) {
        const qsizetype found = searched.indexOf(character, from);
        if (found < 0)
            return false;
        from = found + 1;
    }
    return true;
}

QString repairedFigure(const QString& text, const QStringList& candidates)
{
    QStringList trimmed, comparable;
    for (const QString& candidate : candidates) {
        trimmed.append(trimmedOfSpacesAndTabs(candidate));
        comparable.append(trimmed.back().normalized(QString::NormalizationForm_C));
    }

    if (!isAccentedFigure(text))
        return text;
    if (trimmed.size() < 2
        || std::any_of(comparable.begin(), comparable.end(),
                       [&](const QString& c) { return c != comparable.front(); }))
        return text;

    const QString& common = trimmed.front();
    if (!isFigure(common))
        return text;

    const QStringList characters = charactersOf(text);
    const auto firstAccented = std::find_if(characters.begin(), characters.end(), isAccentedLetter);
    const QStringList prefix = charactersOf(trimmedOfSpacesAndTabs(
        QStringList(characters.begin(), firstAccented).join(QString())));
    if (!holdsASCIIDigit(prefix))
        return text;

    const QStringList commonCharacters = charactersOf(common);
    if (prefix.size() > commonCharacters.size()
        || !std::equal(prefix.begin(), prefix.end(), commonCharacters.begin()))
        return text;

    const QString rest = trimmedOfSpacesAndTabs(withoutAccentedLetters(characters));
    return isInOrder(rest, common) ? common : text;
}

}  // namespace ZantrelText::FigureCheck
