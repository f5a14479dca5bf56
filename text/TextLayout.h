#pragma once

// Loose recognized pieces put in reading order: text columns and bands found
// recursively, rows inside each group, and a code decision per group.

#include "text/LineMode.h"
#include "text/TextPiece.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

namespace ZantrelText {

class TextLayout {
public:
    // One visual line.
    struct Row {
        // Left to right by the left edge of their boxes.
        QList<TextPiece> pieces;
        // At least one wide gap.
        bool tabbed = false;
        // The union of the pieces' boxes.
        QRectF box;
        // One per pair of neighbouring pieces: the space between them is wide (a tab).
        QList<bool> gaps;

        // The pieces' texts, separated by "\t" at a wide gap and by " " otherwise.
        QString text() const;

        friend bool operator==(const Row&, const Row&) = default;
    };

    // One paragraph-like group.
    struct Block {
        // Top to bottom.
        QList<Row> rows;
        // Code keeps its lines and indentation in every line mode.
        bool isCode = false;
        // Text in character cells (a terminal) has a cell width and the x where its
        // columns start; its rows keep their indentation in those cells. 0 otherwise.
        double cellWidth = 0;
        double columnOrigin = 0;

        bool isMonospace() const { return cellWidth > 0; }

        // The join-mode text: rows glued into running text, except where a break must stay
        // (lists, tab-like rows, short lines).
        QString paragraph() const;
        // The keep-mode lines: one per row, indented for a code block.
        QStringList lines() const;

        friend bool operator==(const Block&, const Block&) = default;
    };

    TextLayout() = default;
    // Pieces in the recognizer's order; blank and flat pieces are dropped.
    explicit TextLayout(const QList<TextPiece>& pieces);

    bool isEmpty() const { return blocks.isEmpty(); }

    // Blocks joined with one empty line between them; each block kept line by line
    // (always for code) or as a paragraph.
    QString text(LineMode mode) const;

    // In reading order.
    QList<Block> blocks;

    friend bool operator==(const TextLayout&, const TextLayout&) = default;
};

}  // namespace ZantrelText
