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

// How far each row starts right of the block's leftmost row, in spaces of the block's
// average character width: code keeps its indentation this way, and a nested list its
// levels.
QList<qsizetype> rowIndents(const TextLayout::Block& block)
{
    if (block.isMonospace()) {
        QList<qsizetype> indents;
        // A row's ink starts its first glyph's bearing right of its cell's edge: a quote
        // or a point sits mid-cell, about half a cell further right than a letter's ink,
        // while no glyph's ink starts much further left than a letter's.
        for (const TextLayout::Row& row : block.rows) {
            const double columns = std::round((minX(row.box) - block.columnOrigin) / block.cellWidth - 0.2);
            indents.append(columns >= 1 ? qsizetype(std::min(columns, maximumIndent)) : 0);
        }
        return indents;
    }
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
    double characterWidth = characters < 1 ? 1.0 : widths / double(characters);
    // Code is set in a fixed-width font even where too few rows prove it: the average
    // above counts a lone brace as a whole cell of ink and comes out short, which deep
    // indents multiply. Each word's ink stops short of its cells by about half a cell.
    if (block.isCode) {
        QList<double> cells;
        for (const TextLayout::Row& row : block.rows)
            for (const TextPiece& piece : row.pieces)
                if (const qsizetype count = Characters::count(piece.text); count >= 4)
                    cells.append(width(piece.box) / (double(count) - 0.5));
        if (cells.size() >= 3)
            characterWidth = *LayoutSteps::medianOf(cells);
    }

    QList<qsizetype> indents;
    for (const TextLayout::Row& row : block.rows)
        indents.append(indentOf(minX(row.box) - left, characterWidth));
    return indents;
}

QStringList indentedLines(const TextLayout::Block& block)
{
    const QList<qsizetype> indents = rowIndents(block);
    QStringList lines;
    for (qsizetype i = 0; i < block.rows.size(); ++i)
        lines.append(QString(indents.at(i), u' ') + block.rows.at(i).text());
    return lines;
}

bool isNestedList(const TextLayout::Block& block)
{
    const double left = minX(block.rows.front().box);
    return std::any_of(block.rows.begin(), block.rows.end(), [&](const TextLayout::Row& row) {
        return minX(row.box) != left && LayoutSteps::isListLine(row.text());
    });
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
    if (isCode || isMonospace() || isNestedList(*this))
        return indentedLines(*this);
    QStringList result;
    for (const Row& row : rows)
        result.append(row.text());
    return result;
}

namespace {

double widestRow(const TextLayout::Block& block)
{
    double widest = 0;
    for (const TextLayout::Row& row : block.rows)
        widest = std::max(widest, width(row.box));
    return widest;
}

// Lines that mostly end far short of the widest one are items (a menu, a contents list,
// the senders and messages of a chat), not the wrapped lines of a paragraph, whose
// lines but the last run nearly to its edge.
bool isLineList(const TextLayout::Block& block, double widest)
{
    const qsizetype wrapped = block.rows.size() - 1;
    if (wrapped < 2)
        return false;
    const auto shortRows = std::count_if(block.rows.begin(), block.rows.end() - 1, [&](const TextLayout::Row& row) {
        return width(row.box) < 0.75 * widest;
    });
    return 2 * shortRows > wrapped;
}

// `measure`: how wide a full line of the block's column is.
QString paragraphOf(const TextLayout::Block& block, double measure)
{
    const QList<TextLayout::Row>& rows = block.rows;
    if (rows.isEmpty())
        return {};
    const double widest = std::max(widestRow(block), measure);
    const bool lineList = isLineList(block, widest);

    // A line that starts anew keeps its level in a nested list or on a terminal.
    const QList<qsizetype> indents =
        block.isMonospace() || isNestedList(block) ? rowIndents(block) : QList<qsizetype>(rows.size(), 0);
    QString previousText = rows.front().text();
    QString result = QString(indents.front(), u' ') + previousText;
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const TextLayout::Row& previous = rows.at(i - 1);
        const TextLayout::Row& row = rows.at(i);
        const QString rowText = row.text();
        const bool keepsBreak = lineList || previous.tabbed || row.tabbed || LayoutSteps::isListLine(rowText)
                                || endedShort(previous, previousText, rowText, widest);
        if (keepsBreak) {
            result += u'\n';
            result += QString(indents.at(i), u' ');
            result += rowText;
        } else {
            result = joinLines(result, rowText);
        }
        previousText = rowText;
    }
    return result;
}

// A block of one or two lines cannot tell whether its first line is full: the column
// can. A neighbouring block of several lines that starts at the same edge shows how wide
// the column's full lines are (two footnotes under a paragraph, each a line of its own).
// Blocks of two lines one after another at that edge (a chat's messages under their
// senders) show it together; a first line that ends a quarter of that short of it (a
// sender's name and time) was not wrapped.
double columnMeasure(const QList<TextLayout::Block>& blocks, qsizetype index)
{
    const TextLayout::Block& block = blocks.at(index);
    if (block.rows.size() != 2)
        return 0;
    const double left = minX(block.rows.front().box);
    const double tolerance = 0.5 * height(block.rows.front().box);
    const auto sameEdge = [&](const TextLayout::Block& other) {
        return !other.isCode && std::all_of(other.rows.begin(), other.rows.end(), [&](const TextLayout::Row& row) {
            return std::abs(minX(row.box) - left) <= tolerance;
        });
    };
    double measure = 0;
    for (const qsizetype neighbour : {index - 1, index + 1}) {
        if (neighbour >= 0 && neighbour < blocks.size() && blocks.at(neighbour).rows.size() >= 3
            && sameEdge(blocks.at(neighbour)))
            measure = std::max(measure, widestRow(blocks.at(neighbour)));
    }
    double pairs = 0;
    for (const qsizetype step : {qsizetype(-1), qsizetype(1)}) {
        for (qsizetype neighbour = index + step; neighbour >= 0 && neighbour < blocks.size(); neighbour += step) {
            const TextLayout::Block& other = blocks.at(neighbour);
            if (other.rows.size() != 2 || !sameEdge(other))
                break;
            pairs = std::max(pairs, widestRow(other));
        }
    }
    if (width(block.rows.front().box) < 0.75 * pairs)
        measure = std::max(measure, pairs);
    return measure;
}

}  // namespace

QString TextLayout::Block::paragraph() const
{
    return paragraphOf(*this, 0);
}

QString TextLayout::text(LineMode mode) const
{
    QStringList texts;
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        const Block& block = blocks.at(i);
        if (mode == LineMode::keep || block.isCode)
            texts.append(block.lines().join(u'\n'));
        else
            texts.append(paragraphOf(block, columnMeasure(blocks, i)));
    }
    return texts.join(QStringLiteral("\n\n"));
}

}  // namespace ZantrelText
