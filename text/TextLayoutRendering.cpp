// The layout as text for a line mode: kept lines, joined paragraphs, indented code.

#include "text/TextLayout.h"

#include "text/TextLayoutGeometry.h"
#include "text/TextLayoutSteps.h"
#include "text/TextPieceCharacters.h"

#include <QChar>

#include <algorithm>
#include <cmath>

namespace ZantrelText {

using namespace LayoutGeometry;

namespace {

// A degenerate box (a sliver of a pixel for a long text) must not turn into pages of spaces.
constexpr double maximumIndent = 4096;

qsizetype indentOf(double offset, double characterWidth)
{
    if (!(characterWidth > 0) || !std::isfinite(characterWidth))
        return 0;
    const double columns = std::round(offset / characterWidth);
    if (!(columns >= 2))
        return 0;
    return qsizetype(std::min(columns, maximumIndent));
}

// Rows start where they stand, in spaces of the block's average character width: code
// keeps its indentation this way, and a nested list its levels.
QStringList indentedLines(const TextLayout::Block& block)
{
    double left = minX(block.rows.front().box);
    double widths = 0;
    qsizetype characters = 0;
    for (const TextLayout::Row& row : block.rows) {
        left = std::min(left, minX(row.box));
        for (const TextPiece& piece : row.pieces) {
            widths += width(piece.box);
            characters += Characters::count(piece.text);
        }
    }
    const double characterWidth = characters < 1 ? 1.0 : widths / double(characters);

    QStringList lines;
    for (const TextLayout::Row& row : block.rows) {
        const qsizetype indent = indentOf(minX(row.box) - left, characterWidth);
        lines.append(QString(indent, u' ') + row.text());
    }
    return lines;
}

qsizetype firstWordLength(const QString& text)
{
    qsizetype end = 0;
    while (end < text.size() && !text.at(end).isSpace()) {
        // Surrogate pairs: test the full scalar.
        if (text.at(end).isHighSurrogate() && end + 1 < text.size()) {
            if (QChar::isSpace(QChar::surrogateToUcs4(text.at(end), text.at(end + 1))))
                break;
            end += 2;
            continue;
        }
        ++end;
    }
    return Characters::count(QStringView(text).first(end));
}

// The first word of the next line, with a space, would have fitted on the previous line:
// the previous line ended early on purpose.
bool endedShort(const TextLayout::Row& previous, const QString& previousText, const QString& nextText,
                double widest)
{
    const double lineWidth = width(previous.box);
    const double characters = double(std::max<qsizetype>(Characters::count(previousText), 1));
    const double firstWord = double(firstWordLength(nextText));
    return widest >= lineWidth + (lineWidth / characters) * (firstWord + 1);
}

}  // namespace

QStringList TextLayout::Block::lines() const
{
    if (rows.isEmpty())
        return {};
    if (isCode)
        return indentedLines(*this);
    const bool nestedList = std::any_of(rows.begin(), rows.end(), [&](const Row& row) {
        return minX(row.box) != minX(rows.front().box) && LayoutSteps::isListLine(row.text());
    });
    if (nestedList)
        return indentedLines(*this);
    QStringList result;
    for (const Row& row : rows)
        result.append(row.text());
    return result;
}

QString TextLayout::Block::paragraph() const
{
    if (rows.isEmpty())
        return {};
    double widest = 0;
    for (const Row& row : rows)
        widest = std::max(widest, width(row.box));

    QString previousText = rows.front().text();
    QString result = previousText;
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const Row& previous = rows.at(i - 1);
        const Row& row = rows.at(i);
        const QString rowText = row.text();
        const bool keepsBreak = previous.tabbed || row.tabbed || LayoutSteps::isListLine(rowText)
                                || endedShort(previous, previousText, rowText, widest);
        if (keepsBreak) {
            result += u'\n';
            result += rowText;
        } else {
            result = joinLines(result, rowText);
        }
        previousText = rowText;
    }
    return result;
}

QString TextLayout::text(LineMode mode) const
{
    QStringList texts;
    for (const Block& block : blocks) {
        if (mode == LineMode::keep || block.isCode)
            texts.append(block.lines().join(u'\n'));
        else
            texts.append(block.paragraph());
    }
    return texts.join(QStringLiteral("\n\n"));
}

}  // namespace ZantrelText
