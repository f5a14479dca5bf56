#pragma once

// The recognizer's Latin model knows the marks of every Latin alphabet. At screen sizes
// an umlaut's two dots blur into a bar and an acute into a ring, so German text comes
// back with "ā" or "Ū" and Spanish with "å", letters none of the reader's languages
// writes. Such a letter is read as the one letter of the languages' alphabets on the same
// base, when there is just one.

#include "platform/recognition/LineFragments.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace Platform::Recognition {

// The word with each letter that bears a mark the languages (BCP 47 tags) never write,
// and borrow seldom (macron, ring, breve, caron, ogonek, double acute, dot above or
// below) or write on other bases only, replaced by the languages' only marked letter on
// its base. Unchanged when a language's alphabet is not known here.
QString foldForeignMarks(const QString& word, const QStringList& languages);

void foldForeignMarks(std::vector<LineWords>& lines, const QStringList& languages);

// The letters, in both cases, that the fold above would replace but for the languages
// having no one letter on their base: the recognizer is kept from reading them, so a
// blurred accent comes back as one of the languages' own letters ("à", not "å"), chosen
// by its ink. Empty when a language's alphabet is not known here.
QString foreignMarkedLetters(const QStringList& languages);

}  // namespace Platform::Recognition
