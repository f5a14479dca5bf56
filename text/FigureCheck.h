#pragma once

// Tests for table cells that hold figures (numbers, amounts, dates, times), and the
// repair of a figure in which a digit came out as an accented letter.

#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace ZantrelText::FigureCheck {

// The digits 0-9, space, ". , / : + -", the minus sign U+2212, "$ € £ ¥ %" and "( )".
const QSet<QString>& figureCharacters();

// Trimmed of spaces and tabs, holds an ASCII digit and nothing but figure characters.
bool isFigure(QStringView text);
// Holds a Latin letter with a diacritic and is a figure once those letters are removed.
bool isAccentedFigure(QStringView text);
// The characters of `text` occur in `within` in the same order, not necessarily adjacent.
bool isInOrder(QStringView text, QStringView within);
// The common candidate when the candidates agree on a figure that the text, its
// accented letters aside, is consistent with; otherwise the text unchanged.
QString repairedFigure(const QString& text, const QStringList& candidates);

}  // namespace ZantrelText::FigureCheck
