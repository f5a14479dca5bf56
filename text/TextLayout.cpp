#include "text/TextLayout.h"

#include "text/TextLayoutGeometry.h"
#include "text/TextLayoutSteps.h"

#include <QChar>

#include <algorithm>
#include <cmath>

namespace ZantrelText {

using namespace LayoutGeometry;

namespace LayoutSteps {

QList<Extent> gapsBetween(QList<Extent> extents)
{
    QList<Extent> gaps;
    if (extents.size() < 2)
        return gaps;
    std::stable_sort(extents.begin(), extents.end(),
                     [](const Extent& a, const Extent& b) { return a.start < b.start; });
    double reach = extents.front().end;
    for (qsizetype i = 1; i < extents.size(); ++i) {
        const Extent& next = extents.at(i);
        if (next.start > reach)
            gaps.append({reach, next.start});
        reach = std::max(reach, next.end);
    }
    return gaps;
}

std::optional<double> medianOf(QList<double> values)
{
    if (values.isEmpty())
        return std::nullopt;
    std::stable_sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    if (values.size() % 2 == 1)
        return values.at(middle);
    return (values.at(middle - 1) + values.at(middle)) / 2;
}

namespace {

qsizetype wordCount(const QString& text)
{
    qsizetype words = 0;
    bool inWord = false;
    for (const char32_t scalar : text.toUcs4()) {
        const bool space = QChar::isSpace(scalar);
        if (!space && !inWord)
            ++words;
        inWord = !space;
    }
    return words;
}

}  // namespace

bool isTextColumn(const QList<TextPiece>& side, double unit)
{
    const qsizetype count = side.size();
    if (count < 2)
        return false;

    double left = minX(side.front().box), right = maxX(side.front().box);
    for (const TextPiece& piece : side) {
        left = std::min(left, minX(piece.box));
        right = std::max(right, maxX(piece.box));
    }
    const double sideWidth = right - left;
    if (sideWidth < 10 * unit)
        return false;

    qsizetype words = 0;
    for (const TextPiece& piece : side)
        words += wordCount(piece.text);
    if (double(words) / double(count) < 4.0)
        return false;

    const auto wide = std::count_if(side.begin(), side.end(), [&](const TextPiece& piece) {
        return width(piece.box) >= 0.75 * sideWidth;
    });
    if (!(wide > 1 && 2 * wide >= count))
        return false;

    // Mostly labels ("Name:") means a form or a table, not running text.
    const auto labels = std::count_if(side.begin(), side.end(), [](const TextPiece& piece) {
        return piece.text.endsWith(u':');
    });
    return 2 * labels < count;
}

namespace {

std::optional<std::pair<QList<TextPiece>, QList<TextPiece>>> columnSplitWithin(
    const QList<TextPiece>& pieces, double unit, int depth);

// Running text by every measure but the line widths, which a row of several columns
// cannot meet: no single line spans them all.
bool mayHoldColumns(const QList<TextPiece>& side, double unit)
{
    const qsizetype count = side.size();
    if (count < 4)
        return false;
    double left = minX(side.front().box), right = maxX(side.front().box);
    qsizetype words = 0, labels = 0;
    for (const TextPiece& piece : side) {
        left = std::min(left, minX(piece.box));
        right = std::max(right, maxX(piece.box));
        words += wordCount(piece.text);
        if (piece.text.endsWith(u':'))
            ++labels;
    }
    return right - left >= 20 * unit && double(words) / double(count) >= 4.0 && 2 * labels < count;
}

// A side that is one text column, or itself side-by-side text columns: three or more
// equal columns would otherwise never split, and their lines would be read across.
bool isColumnGroup(const QList<TextPiece>& side, double unit, int depth)
{
    if (isTextColumn(side, unit))
        return true;
    return depth > 0 && mayHoldColumns(side, unit) &&
           columnSplitWithin(side, unit, depth - 1).has_value();
}

// The rows of a side: pieces whose centres lie within half a unit of each other.
QList<Extent> rowsOf(const QList<TextPiece>& side, double unit)
{
    QList<TextPiece> sorted = side;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TextPiece& a, const TextPiece& b) { return midY(a.box) < midY(b.box); });
    QList<Extent> rows;
    double lastCentre = 0;
    for (const TextPiece& piece : sorted) {
        if (rows.isEmpty() || midY(piece.box) - lastCentre > 0.5 * unit)
            rows.append({minY(piece.box), maxY(piece.box)});
        rows.back().start = std::min(rows.back().start, minY(piece.box));
        rows.back().end = std::max(rows.back().end, maxY(piece.box));
        lastCentre = midY(piece.box);
    }
    return rows;
}

// Cells of a table: rows spaced apart more than lines of running text, and lined up
// across the gap (almost) one for one. Columns of prose share line positions too, but
// their lines follow each other closely.
bool formsGrid(const QList<TextPiece>& left, const QList<TextPiece>& right, double unit)
{
    const QList<Extent> leftRows = rowsOf(left, unit);
    const QList<Extent> rightRows = rowsOf(right, unit);
    if (leftRows.size() < 2 || rightRows.size() < 2)
        return false;
    auto spacedApart = [&](const QList<Extent>& rows) {
        QList<double> gaps;
        for (qsizetype i = 1; i < rows.size(); ++i)
            gaps.append(rows.at(i).start - rows.at(i - 1).end);
        return medianOf(gaps).value_or(0) >= 0.7 * unit;
    };
    auto partnered = [&](const QList<Extent>& rows, const QList<Extent>& others) {
        const auto matched = std::count_if(rows.begin(), rows.end(), [&](const Extent& row) {
            return std::any_of(others.begin(), others.end(), [&](const Extent& other) {
                return std::abs((row.start + row.end) / 2 - (other.start + other.end) / 2) < 0.35 * unit;
            });
        });
        return 5 * matched >= 4 * rows.size();
    };
    return spacedApart(leftRows) && spacedApart(rightRows) && partnered(leftRows, rightRows) &&
           partnered(rightRows, leftRows);
}

std::optional<std::pair<QList<TextPiece>, QList<TextPiece>>> columnSplitWithin(
    const QList<TextPiece>& pieces, double unit, int depth)
{
    QList<Extent> extents;
    extents.reserve(pieces.size());
    for (const TextPiece& piece : pieces)
        extents.append({minX(piece.box), maxX(piece.box)});

    QList<Extent> gaps = gapsBetween(extents);
    std::stable_sort(gaps.begin(), gaps.end(), [](const Extent& a, const Extent& b) {
        return (a.end - a.start) > (b.end - b.start);
    });

    for (const Extent& gap : gaps) {
        if (gap.end - gap.start < unit)
            continue;
        QList<TextPiece> left, right;
        for (const TextPiece& piece : pieces) {
            if (maxX(piece.box) <= gap.start)
                left.append(piece);
            if (minX(piece.box) >= gap.end)
                right.append(piece);
        }
        if (isColumnGroup(left, unit, depth) && isColumnGroup(right, unit, depth) && !formsGrid(left, right, unit))
            return std::pair{left, right};
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::pair<QList<TextPiece>, QList<TextPiece>>> columnSplit(
    const QList<TextPiece>& pieces, double unit)
{
    // Up to five columns side by side; deeper nesting costs more than any screen needs.
    constexpr int columnDepth = 3;
    return columnSplitWithin(pieces, unit, columnDepth);
}

QList<QList<TextPiece>> bandSplit(const QList<TextPiece>& pieces, double unit)
{
    QList<Extent> extents;
    extents.reserve(pieces.size());
    for (const TextPiece& piece : pieces)
        extents.append({minY(piece.box), maxY(piece.box)});

    const QList<Extent> gaps = gapsBetween(extents);
    QList<double> heights;
    for (const Extent& gap : gaps)
        heights.append(gap.end - gap.start);
    const double typical = medianOf(heights).value_or(0);

    QList<double> cuts;
    for (const Extent& gap : gaps) {
        const double height = gap.end - gap.start;
        const bool tall = height >= unit;
        const bool outstanding = gaps.size() >= 3 && height >= 0.5 * unit && height >= 1.6 * typical;
        if (tall || outstanding)
            cuts.append(gap.start);
    }
    if (cuts.isEmpty())
        return {pieces};

    QList<QList<TextPiece>> bands(cuts.size() + 1);
    for (const TextPiece& piece : pieces) {
        const double top = minY(piece.box);
        const auto index = std::count_if(cuts.begin(), cuts.end(), [&](double cut) { return cut <= top; });
        bands[index].append(piece);
    }
    bands.removeIf([](const QList<TextPiece>& band) { return band.isEmpty(); });
    return bands;
}

QList<QList<TextPiece>> splitGroups(const QList<TextPiece>& pieces, double unit)
{
    if (pieces.isEmpty())
        return {};
    if (pieces.size() == 1)
        return {pieces};

    if (const auto columns = columnSplit(pieces, unit))
        return splitGroups(columns->first, unit) + splitGroups(columns->second, unit);

    const QList<QList<TextPiece>> bands = bandSplit(pieces, unit);
    if (bands.size() > 1) {
        QList<QList<TextPiece>> groups;
        for (const QList<TextPiece>& band : bands)
            groups += splitGroups(band, unit);
        return groups;
    }
    return {pieces};
}

namespace {

TextLayout::Row makeRow(QList<TextPiece> pieces, double unit)
{
    std::stable_sort(pieces.begin(), pieces.end(), [](const TextPiece& a, const TextPiece& b) {
        return minX(a.box) < minX(b.box);
    });
    TextLayout::Row row;
    QList<QRectF> boxes;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        boxes.append(pieces.at(i).box);
        if (i + 1 < pieces.size()) {
            const bool wide = minX(pieces.at(i + 1).box) - maxX(pieces.at(i).box) >= 1.5 * unit;
            row.gaps.append(wide);
            row.tabbed = row.tabbed || wide;
        }
    }
    row.box = unionOf(boxes);
    row.pieces = std::move(pieces);
    return row;
}

bool sharesRow(const QRectF& last, const QRectF& next)
{
    const double overlap = std::min(maxY(last), maxY(next)) - std::max(minY(last), minY(next));
    return overlap >= 0.5 * std::min(height(last), height(next));
}

}  // namespace

TextLayout::Block makeBlock(const QList<TextPiece>& group, double unit)
{
    QList<TextPiece> ordered = group;
    std::stable_sort(ordered.begin(), ordered.end(), [](const TextPiece& a, const TextPiece& b) {
        return midY(a.box) < midY(b.box);
    });

    QList<QList<TextPiece>> rowPieces;
    for (const TextPiece& piece : ordered) {
        if (!rowPieces.isEmpty() && sharesRow(rowPieces.back().back().box, piece.box))
            rowPieces.back().append(piece);
        else
            rowPieces.append({piece});
    }

    TextLayout::Block block;
    for (const QList<TextPiece>& pieces : rowPieces)
        block.rows.append(makeRow(pieces, unit));

    const auto codeRows = std::count_if(block.rows.begin(), block.rows.end(),
                                        [](const TextLayout::Row& row) { return isCodeLine(row.text()); });
    block.isCode = block.rows.size() > 1 && double(codeRows) >= 0.4 * double(block.rows.size());
    return block;
}

}  // namespace LayoutSteps

TextLayout::TextLayout(const QList<TextPiece>& pieces)
{
    QList<TextPiece> kept;
    QList<double> heights;
    for (const TextPiece& piece : pieces) {
        TextPiece trimmed{piece.text.trimmed(), piece.box};
        // A box that is not finite cannot be placed (and would break the sorts' ordering).
        const QRectF& box = trimmed.box;
        const bool finite = std::isfinite(box.x()) && std::isfinite(box.y()) && std::isfinite(box.width())
                            && std::isfinite(box.height());
        if (trimmed.text.isEmpty() || !finite || !(height(box) > 0))
            continue;
        heights.append(height(trimmed.box));
        kept.append(std::move(trimmed));
    }
    const double unit = LayoutSteps::medianOf(heights).value_or(1.0);
    for (const QList<TextPiece>& group : LayoutSteps::splitGroups(kept, unit))
        blocks.append(LayoutSteps::makeBlock(group, unit));
}

QString TextLayout::Row::text() const
{
    QString result;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            result += (i - 1 < gaps.size() && gaps.at(i - 1)) ? u'\t' : u' ';
        result += pieces.at(i).text;
    }
    return result;
}

}  // namespace ZantrelText
