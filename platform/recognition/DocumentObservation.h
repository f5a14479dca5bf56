#pragma once

// What the document recognizer hands back: the tables it found in a picture, each as rows
// of cells with the row and column ranges they span, their text and their box.

#include <QRectF>
#include <QString>

#include <vector>

namespace Platform::Recognition {

// Both ends included.
struct IndexRange {
    int lowerBound = 0;
    int upperBound = 0;

    friend bool operator==(const IndexRange&, const IndexRange&) = default;
};

struct DocumentCellContent {
    // Lines of the cell's text, top to bottom, joined with "\n".
    QString transcript;
    // Normalized to the unit square, origin at the bottom left: the box of the text, or of
    // the cell itself when it holds none.
    QRectF boundingBox;

    friend bool operator==(const DocumentCellContent&, const DocumentCellContent&) = default;
};

struct DocumentCell {
    IndexRange rowRange;
    IndexRange columnRange;
    DocumentCellContent content;

    friend bool operator==(const DocumentCell&, const DocumentCell&) = default;
};

struct DocumentTable {
    // A cell is listed in the row it starts in, left to right.
    std::vector<std::vector<DocumentCell>> rows;

    friend bool operator==(const DocumentTable&, const DocumentTable&) = default;
};

struct DocumentContainer {
    std::vector<DocumentTable> tables;

    friend bool operator==(const DocumentContainer&, const DocumentContainer&) = default;
};

struct DocumentObservation {
    DocumentContainer document;

    friend bool operator==(const DocumentObservation&, const DocumentObservation&) = default;
};

}  // namespace Platform::Recognition
