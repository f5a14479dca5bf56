#pragma once

// List markers told from their pixels. The line recognizer has no good reading for a
// bullet drawn as a shape: it gives "e", "«", "¢", "o" or nothing, and without the
// marker a list reads as one paragraph. The shape at the start of a line decides.

#include "platform/recognition/LineFragments.h"
#include "platform/recognition/PagePreparation.h"

#include <QImage>

#include <optional>
#include <vector>

namespace Platform::Recognition {

enum class MarkerShape { disc, circle, square, dash };

// The marker's character: "•", "◦", "▪" or "–".
QString markerText(MarkerShape shape);

// The marker a shape of ink is, when it is one, given the x-height and the baseline
// (a row) of the line it starts, in the picture's pixels.
std::optional<MarkerShape> markerShape(const QImage& gray, int threshold, const InkShape& shape, double xHeight,
                                       double baseline);

// Gives each line that starts with a marker shape the marker as its first word, in
// place of whatever the recognizer read there. `shapes` are the picture's ink shapes at
// `threshold`; lines and shapes are in the picture's pixels.
void markListLines(std::vector<LineWords>& lines, const QImage& gray, int threshold,
                   const std::vector<InkShape>& shapes, double glyph);

// A small disc enlarged for the recognizer blurs its light corners into its box and
// reads as a square. In the picture's own pixels (`gray`, the boxes' pixels) a square's
// corners are as dark as its sides and a disc's are ground: each "▪" whose corners are
// light there becomes "•".
void settleMarkerCorners(std::vector<LineWords>& lines, const QImage& gray);

// One list draws one marker. A small disc blurred into a square at one indent (or a
// square into a disc) takes the shape that most markers of its list have: markers whose
// left edges line up and follow each other down the page, nested items between them or
// not. `glyph` is the text's median glyph height, in the pixels of the boxes.
void unifyListMarkers(std::vector<LineWords>& lines, double glyph);

}  // namespace Platform::Recognition
