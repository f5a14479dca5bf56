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
    enum class Kind { number, code, period, letter, alone };
    Kind kind = Kind::number;
    std::size_t row = 0;   // index into DocumentTable::rows
    std::size_t cell = 0;  // index into that row
    // The only characters the second reading may give; any when empty.
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

// Besides those: in a row of periods ("Q1 2025", "H2 2026"), a cell whose code slipped
// ("Ql1 2025"), read with the codes' letters and digits; in a first row of column letters
// (a spreadsheet's), a cell of a glyph or two between two of them that is no capital
// ("(e" or "q" between "B" and "D"), read with the letters of the gap only; in a numeric
// column, a cell of one word without digits ("ples)" for "71.5") in a row of numbers,
// read alone with every character, which only a number may replace.

// Whether a second reading may replace the first.
bool acceptsReread(const CellReread& reread, const QString& text);

}  // namespace Platform::Recognition
