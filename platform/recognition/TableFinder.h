#pragma once

// Finds tables in a picture from two things: the ruling lines drawn in its pixels and the
// boxes of the words recognized in it. A grid of rules cuts cells directly (a rule that
// stops short of a row or column merges the cells on either side); without rules, cells
// come from words that line up in columns across several rows. Running text in columns,
// code and lists are not tables.

#include "platform/recognition/DocumentObservation.h"

#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

namespace Platform::Recognition {

// One recognized word, in picture pixels with the origin at the top left.
struct TableWord {
    QString text;
    QRectF box;

    friend bool operator==(const TableWord&, const TableWord&) = default;
};

// A straight line drawn in the picture, in pixels.
struct Rule {
    // The y of a horizontal rule's centre line, or the x of a vertical one.
    double position = 0;
    // Where the rule begins and ends along its own direction.
    double start = 0;
    double end = 0;
    int thickness = 1;

    double length() const { return end - start; }
    friend bool operator==(const Rule&, const Rule&) = default;
};

struct Rulings {
    std::vector<Rule> horizontal;
    std::vector<Rule> vertical;

    bool isEmpty() const { return horizontal.empty() && vertical.empty(); }
};

namespace TableFinder {

// The thin straight lines of the picture: runs of pixels that differ from the background,
// at least a few dozen pixels long and a few pixels thick at most.
Rulings findRulings(const QImage& picture);

// The tables that the rules and the words make up, top to bottom. Boxes in the result are
// normalized to the unit square with the origin at the bottom left, for a picture of
// `pictureSize` pixels.
std::vector<DocumentTable> findTables(const std::vector<TableWord>& words, const Rulings& rulings,
                                      const QSizeF& pictureSize);

}  // namespace TableFinder

}  // namespace Platform::Recognition
