#pragma once

// In many sans-serif fonts a capital "I" and a small "l" are the same stroke, and the
// recognizer reads the French "Il" as "II" ("« II faut"). Roman numerals stand alone:
// "II" never runs on into small letters, and it starts a sentence before a small word
// only as a misread "Il".

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>
#include <QStringList>

#include <vector>

namespace Platform::Recognition {

// Each word that begins "II" followed by a small letter ("IIs", "IIlinois") reads its
// second glyph "l"; a word "II" that starts its line or a sentence in it and comes
// before a word with a small first letter reads "Il".
void restoreSmallL(std::vector<LineWords>& lines);

// The same strokes make the Spanish "ll" read "Il" ("Ilegará"). A capital "I" stands
// as tall as the capitals, a little lower than an "l": in Spanish or Catalan text, a
// word going on a sentence that opens with two plain strokes of one height is "ll", and
// "Ilya" keeps its capital where the two heights can be told. `gray` is the page the
// lines' boxes are in, dark text on a light ground; `shapes` its ink shapes.
void restoreDoubleL(std::vector<LineWords>& lines, const QImage& gray, const std::vector<InkShape>& shapes,
                    const QStringList& languages);

}  // namespace Platform::Recognition
