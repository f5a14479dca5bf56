#pragma once

// User-perceived characters (grapheme clusters) of recognized text: what the layout and
// the table text count and compare.

#include <QString>
#include <QStringList>
#include <QStringView>

namespace ZantrelText::Characters {

QStringList split(QStringView text);
qsizetype count(QStringView text);
// The first or last character; empty for an empty text.
QString first(QStringView text);
QString last(QStringView text);
// Up to `n` characters from the end, in text order.
QStringList lastCharacters(QStringView text, qsizetype n);

// The first scalar of a character (0 for an empty one).
char32_t firstScalar(QStringView character);
// A letter by its first scalar.
bool isLetter(QStringView character);

}  // namespace ZantrelText::Characters
