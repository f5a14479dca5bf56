#pragma once

// At screen sizes an accent over a small vowel is a blob of two or three pixels, and the
// recognizer takes one accent for another: "année" comes back as "annêe". Where the blob
// sits tells them apart: an acute stands right of the letter's middle, a grave left of
// it, a circumflex over the middle as one wide blob, a diaeresis as two blobs side by side.

#include "platform/recognition/LineFragments.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

namespace Platform::Recognition {

enum class Accent { acute, grave, circumflex, diaeresis };

// The accent over the small letter in `box` of `gray` (dark ink on light), where the ink
// tells it plainly; `threshold` is the picture's ink level.
std::optional<Accent> accentOver(const QImage& gray, const QRect& box, int threshold);

// Gives each small vowel read with a circumflex over an acute's blob its acute, unless
// that letter is among `foreign` (letters none of the reader's languages write).
void settleAccents(std::vector<LineWords>& lines, const QImage& gray, int threshold, const QString& foreign);

}  // namespace Platform::Recognition
