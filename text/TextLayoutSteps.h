#pragma once

// The steps of building a layout, exposed so that each rule can be checked on its own.
// Every length is in picture pixels; `unit` is the median piece height of the layout.

#include "text/TextLayout.h"
#include "text/TextPiece.h"

#include <QList>
#include <QStringView>

#include <optional>
#include <utility>

namespace ZantrelText::LayoutSteps {

// A one-dimensional stretch, start to end.
struct Extent {
    double start = 0;
    double end = 0;

    friend bool operator==(const Extent&, const Extent&) = default;
};

// The empty stretches between extents, in ascending order; touching or overlapping
// extents leave none.
QList<Extent> gapsBetween(QList<Extent> extents);

// The middle value, or the mean of the two middle values; nothing for no values.
std::optional<double> medianOf(QList<double> values);

// A side of running text that a column split may separate from its neighbour.
bool isTextColumn(const QList<TextPiece>& side, double unit);

// Two text columns (left, right) split at the widest qualifying vertical gap.
std::optional<std::pair<QList<TextPiece>, QList<TextPiece>>> columnSplit(
    const QList<TextPiece>& pieces, double unit);

// The pieces cut into bands at tall horizontal gaps, top band first; one band when
// nothing cuts.
QList<QList<TextPiece>> bandSplit(const QList<TextPiece>& pieces, double unit);

// Columns and bands found recursively, in reading order.
QList<QList<TextPiece>> splitGroups(const QList<TextPiece>& pieces, double unit);

// Character cells of text in a fixed-width font: their width and where their columns start.
struct CharacterGrid {
    double cell = 0;
    double origin = 0;
};

// The grid of pieces that are all as wide as their characters at one width, if they are.
std::optional<CharacterGrid> characterGrid(const QList<TextPiece>& pieces);

// Rows of one group and its code decision; the rows of text in character cells (the
// layout's grid when given, else the group's own) keep their spacing.
TextLayout::Block makeBlock(const QList<TextPiece>& group, double unit);
TextLayout::Block makeBlock(const QList<TextPiece>& group, double unit, std::optional<CharacterGrid> grid);

// The row text looks like a line of source code or a shell prompt.
bool isCodeLine(QStringView rowText);
// The row text starts with a bullet, a number or a letter marker followed by text.
bool isListLine(QStringView rowText);

}  // namespace ZantrelText::LayoutSteps
