#pragma once

// A quotation opened low ("„Übersicht“") closes high, with the mark its language pairs
// with "„": "“" in German or Czech, "”" in Polish, Hungarian, Romanian or Dutch. The
// recognizer reads that closing mark as a straight '"' or picks the wrong one of the two.

#include "platform/recognition/LineFragments.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace Platform::Recognition {

// The mark that closes a quotation opened with "„" in the languages (BCP 47 tags).
QChar closingPartnerOfLowQuote(const QStringList& languages);

// Gives the first double quote after a "„" on the same line, where it closes a word,
// the mark the languages pair with "„".
void restoreClosingQuotes(std::vector<LineWords>& lines, const QStringList& languages);

}  // namespace Platform::Recognition
