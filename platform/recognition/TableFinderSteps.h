#pragma once

// Steps the two table finders (ruled grids and aligned columns) share.

#include "platform/recognition/TableFinder.h"

#include <vector>

namespace Platform::Recognition::TableFinder::detail {

// The median height of the words' boxes; `fallback` without words.
double medianHeight(const std::vector<const TableWord*>& words, double fallback);

// Words that share a visual line, top to bottom, each line left to right.
std::vector<std::vector<const TableWord*>> visualLines(std::vector<const TableWord*> words);

// The lines of the words joined with spaces, the lines joined with "\n".
QString transcriptOf(const std::vector<const TableWord*>& words);

QRectF unitedBox(const std::vector<const TableWord*>& words);

DocumentCell makeCell(IndexRange rows, IndexRange columns, const std::vector<const TableWord*>& words,
                      const QRectF& emptyBox, const QSizeF& pictureSize);

// The visual lines of the words of a ruled row with no column rules, when they are rows of a
// table: each word inside one band of `columnEdges`, some line over two bands. Empty otherwise.
std::vector<std::vector<const TableWord*>> inkRows(const std::vector<const TableWord*>& words,
                                                   const std::vector<double>& columnEdges);

// Tables from grids of rules; the words they do not hold are left in `remaining`.
std::vector<DocumentTable> ruledTables(const std::vector<const TableWord*>& words, const Rulings& rulings,
                                       const QSizeF& pictureSize, std::vector<const TableWord*>& remaining);

// Tables from words aligned in columns.
std::vector<DocumentTable> alignedTables(const std::vector<const TableWord*>& words, const QSizeF& pictureSize);

}  // namespace Platform::Recognition::TableFinder::detail
