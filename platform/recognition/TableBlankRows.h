#pragma once

// Rows of a ruled table in which the recognizer read nothing although their cells hold
// ink: a spreadsheet's column letters, pale and one to a wide cell, are lost on the whole
// picture, yet read as a line once the row is cut out between its rules.

#include "platform/recognition/DocumentObservation.h"

#include <QImage>
#include <QRect>

#include <vector>

namespace Platform::Recognition {

// The inside of each such row, clear of its rules, in picture pixels.
std::vector<QRect> blankRowStrips(const DocumentTable& table, const QImage& picture);

}  // namespace Platform::Recognition
