#include "text/TextPieceCharacters.h"

#include <QChar>
#include <QTextBoundaryFinder>

namespace ZantrelText::Characters {

QStringList split(QStringView text)
{
    QStringList characters;
    if (text.isEmpty())
        return characters;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        const qsizetype end = finder.position();
        characters.append(text.sliced(start, end - start).toString());
        start = end;
    }
    return characters;
}

qsizetype count(QStringView text)
{
    if (text.isEmpty())
        return 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype characters = 0;
    while (finder.toNextBoundary() != -1)
        ++characters;
    return characters;
}

QString first(QStringView text)
{
    if (text.isEmpty())
        return {};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    const qsizetype end = finder.toNextBoundary();
    return text.first(end == -1 ? text.size() : end).toString();
}

QString last(QStringView text)
{
    if (text.isEmpty())
        return {};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    finder.toEnd();
    const qsizetype start = finder.toPreviousBoundary();
    return text.sliced(start == -1 ? 0 : start).toString();
}

QStringList lastCharacters(QStringView text, qsizetype n)
{
    if (text.isEmpty() || n <= 0)
        return {};
    // Look at a tail window only, so joining line after line onto a long paragraph stays
    // linear. A window that starts inside a character can only misplace its first
    // boundary, so it suffices once it holds more characters than asked for.
    for (qsizetype window = 64;; window *= 2) {
        const bool whole = window >= text.size();
        const QStringView tail = whole ? text : text.last(window);
        QStringList characters;
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, tail.data(), tail.size());
        finder.toEnd();
        qsizetype end = tail.size();
        while (characters.size() < n + (whole ? 0 : 1)) {
            const qsizetype start = finder.toPreviousBoundary();
            if (start == -1)
                break;
            characters.prepend(tail.sliced(start, end - start).toString());
            end = start;
        }
        if (whole || characters.size() > n) {
            while (characters.size() > n)
                characters.removeFirst();
            return characters;
        }
    }
}

char32_t firstScalar(QStringView character)
{
    if (character.isEmpty())
        return 0;
    const QChar head = character.front();
    if (head.isHighSurrogate() && character.size() > 1 && character[1].isLowSurrogate())
        return QChar::surrogateToUcs4(head, character[1]);
    return head.unicode();
}

bool isLetter(QStringView character)
{
    return !character.isEmpty() && QChar::isLetter(firstScalar(character));
}

}  // namespace ZantrelText::Characters
