#pragma once

// Cells of a table that deserve a second, narrower reading. The recognizer reads a lone
// short cell with the whole alphabet in mind and slips on look-alikes ("Ql" for "Q1",
// "1,2O4" for "1,204"); read again with only the characters the column or row uses,
// such a cell comes out right.

#include "platform/recognition/DocumentObservation.h"

#include <QString>

#include <vector>

namespace Platform::Recognition {

struct CellReread {
    enum class Kind { number, code };
    Kind kind = Kind::number;
    std::size_t row = 0;   // index into DocumentTable::rows
    std::size_t cell = 0;  // index into that row
    // The only characters the second reading may give.
    QString characters;

    friend bool operator==(const CellReread&, const CellReread&) = default;
};

// Digits with the signs of amounts, dates and times: "1,204", "3.40", "12:30", "-5%".
bool isNumericText(const QString& text);

// A short code of capitals and digits, such as "Q1", "H2" or "FY24".
bool isCodeText(const QString& text);

// The characters a second reading of numeric cells may give.
QString numericCharacters();

// The cells to read again: in a column whose body cells are mostly numbers, those that
// are mostly digits but not clean numbers; in a row holding codes such as "Q2" and "Q4",
// the cells of about their length that are not codes, with only the capitals those
// codes use and digits.
std::vector<CellReread> cellsToReread(const DocumentTable& table);

// Whether a second reading may replace the first.
bool acceptsReread(const CellReread& reread, const QString& text);

}  // namespace Platform::Recognition
