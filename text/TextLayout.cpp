#include "text/TextLayout.h"

#include "text/TextLayoutGeometry.h"
#include "text/TextLayoutSteps.h"
#include "text/TextPieceCharacters.h"

#include <QChar>

#include <algorithm>
#include <cmath>
#include <set>

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

constexpr double sideListGap = 2.0;

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

// Paragraphs with headings between them: their last lines and the headings are short,
// so only some lines span the column.
bool isRunningText(const QList<TextPiece>& side, double unit)
{
    if (side.size() < 2)
        return false;
    double left = minX(side.front().box), right = maxX(side.front().box);
    qsizetype words = 0, labels = 0;
    for (const TextPiece& piece : side) {
        left = std::min(left, minX(piece.box));
        right = std::max(right, maxX(piece.box));
        words += wordCount(piece.text);
        labels += piece.text.endsWith(u':') ? 1 : 0;
    }
    const double sideWidth = right - left;
    const auto wide = std::count_if(side.begin(), side.end(), [&](const TextPiece& piece) {
        return width(piece.box) >= 0.75 * sideWidth;
    });
    return sideWidth >= 10 * unit && double(words) / double(side.size()) >= 4.0 && wide > 1 &&
           2 * labels < side.size();
}

// A page's navigation or contents beside its running text: short items stacked one
// per row, which are not the labels of the text's rows. A label of a table of long
// cells stands level with a row of the text beside it, and that row begins a cell: it
// is the text's first row, one after a wider space, or the text has about one row per
// label.
bool isSideList(const QList<TextPiece>& side, const QList<TextPiece>& text, double unit)
{
    const QList<Extent> sideRows = rowsOf(side, unit);
    // Mostly one item to a row; a speck beside an item is no second column.
    if (sideRows.size() < 3 || 5 * sideRows.size() < 4 * side.size())
        return false;
    const QList<Extent> textRows = rowsOf(text, unit);
    if (textRows.size() < 2)
        return false;
    QList<double> spaces;
    for (qsizetype i = 1; i < textRows.size(); ++i)
        spaces.append(textRows.at(i).start - textRows.at(i - 1).end);
    const double usual = medianOf(spaces).value_or(0);
    auto centre = [](const Extent& row) { return (row.start + row.end) / 2; };
    qsizetype level = 0, levelWithStart = 0;
    for (const Extent& row : sideRows) {
        for (qsizetype i = 0; i < textRows.size(); ++i) {
            if (std::abs(centre(row) - centre(textRows.at(i))) >= 0.35 * unit)
                continue;
            ++level;
            const bool starts = i == 0 || textRows.at(i).start - textRows.at(i - 1).end > usual + 0.3 * unit;
            levelWithStart += starts ? 1 : 0;
            break;
        }
    }
    const bool levelRows = 5 * level >= 4 * sideRows.size();
    const bool rowPerLabel = 4 * textRows.size() <= 5 * sideRows.size();
    const bool labelsStartCells = 5 * levelWithStart >= 4 * sideRows.size();
    return !(levelRows && (rowPerLabel || labelsStartCells));
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
        const bool leftText = isColumnGroup(left, unit, depth);
        const bool rightText = isColumnGroup(right, unit, depth);
        if (leftText && rightText && !formsGrid(left, right, unit))
            return std::pair{left, right};
        // A side list stands well apart from the text; a narrow gap is a space in a row.
        if (gap.end - gap.start < sideListGap * unit)
            continue;
        if (((leftText || isRunningText(left, unit)) && isSideList(right, left, unit)) ||
            ((rightText || isRunningText(right, unit)) && isSideList(left, right, unit)))
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

namespace {

bool sharesRow(const QRectF& last, const QRectF& next);

// A band that is one visual line of cells with wide gaps between them.
bool isCellRow(const QList<TextPiece>& band, double unit)
{
    if (band.size() < 2)
        return false;
    QList<TextPiece> sorted = band;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TextPiece& a, const TextPiece& b) { return minX(a.box) < minX(b.box); });
    bool wideGap = false;
    for (qsizetype i = 1; i < sorted.size(); ++i) {
        if (!sharesRow(sorted.front().box, sorted.at(i).box))
            return false;
        wideGap = wideGap || minX(sorted.at(i).box) - maxX(sorted.at(i - 1).box) >= 1.5 * unit;
    }
    return wideGap;
}

// Most cells of the lower row stand under cells of the upper one, each under its own.
bool continuesTable(const QList<TextPiece>& upper, const QList<TextPiece>& lower)
{
    QList<bool> taken(upper.size(), false);
    qsizetype under = 0;
    for (const TextPiece& cell : lower) {
        for (qsizetype i = 0; i < upper.size(); ++i) {
            const TextPiece& above = upper.at(i);
            if (!taken.at(i) && minX(cell.box) < maxX(above.box) && minX(above.box) < maxX(cell.box)) {
                taken[i] = true;
                ++under;
                break;
            }
        }
    }
    return under >= 2 && 5 * under >= 4 * lower.size();
}

}  // namespace

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
        // The rows of a table stand apart like paragraphs, but they are one block: a
        // run of them stays together and is not split again.
        QList<QList<TextPiece>> groups;
        for (qsizetype i = 0; i < bands.size();) {
            qsizetype end = i + 1;
            if (isCellRow(bands.at(i), unit))
                while (end < bands.size() && isCellRow(bands.at(end), unit) &&
                       continuesTable(bands.at(end - 1), bands.at(end)))
                    ++end;
            if (end - i >= 2) {
                QList<TextPiece> table;
                for (qsizetype k = i; k < end; ++k)
                    table += bands.at(k);
                groups.append(table);
            } else {
                groups += splitGroups(bands.at(i), unit);
            }
            i = end;
        }
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

// A point's ink stands alone in the middle of its cell, and the recognizer can take the
// room around it for a space: "page.log" comes back "page. log" or "page .log". A piece
// whose text holds more characters than its ink spans cells has such a space too many.
QString withoutSpacesAtPoints(QString text, const QRectF& box, double cell)
{
    // Ink stops short of its cells by about half a cell in all.
    const double spanned = width(box) / cell + 0.5;
    qsizetype extra = qsizetype(std::floor(double(Characters::count(text)) - spanned + 0.4));
    for (qsizetype i = 1; extra > 0 && i + 1 < text.size(); ++i) {
        if (text.at(i) != u' ')
            continue;
        const QChar before = text.at(i - 1);
        const QChar after = text.at(i + 1);
        const bool afterPoint = before == u'.' && after.isLetterOrNumber();
        const bool beforePoint = after == u'.' && before.isLetterOrNumber() && i + 2 < text.size() &&
                                 text.at(i + 2).isLetterOrNumber();
        if (afterPoint || beforePoint) {
            text.remove(i, 1);
            --extra;
        }
    }
    return text;
}

// A row of terminal text as one piece: the spaces between its pieces are as many as the
// character cells they span, so aligned columns stay spaces and never become tabs.
TextLayout::Row terminalRow(QList<TextPiece> pieces, double cell)
{
    for (TextPiece& piece : pieces)
        piece.text = withoutSpacesAtPoints(piece.text, piece.box, cell);
    std::stable_sort(pieces.begin(), pieces.end(), [](const TextPiece& a, const TextPiece& b) {
        return minX(a.box) < minX(b.box);
    });
    QString text = pieces.front().text;
    QList<QRectF> boxes{pieces.front().box};
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        // The ink on either side of the spaces stops short of its cells by about half
        // a cell together. Ink less than most of a cell apart has no blank cell between:
        // the recognizer split one word there ("09:" and "13" of "09:13").
        const double gap = minX(pieces.at(i).box) - maxX(pieces.at(i - 1).box);
        const bool touching = gap >= 0 && gap < 0.75 * cell;
        const qsizetype spaces =
            touching ? 0 : std::clamp<qsizetype>(qsizetype(std::lround(gap / cell - 0.45)), 1, 4096);
        text += QString(spaces, u' ') + pieces.at(i).text;
        boxes.append(pieces.at(i).box);
    }
    TextLayout::Row row;
    row.box = unionOf(boxes);
    row.pieces = {TextPiece{text, row.box}};
    return row;
}

bool sharesRow(const QRectF& last, const QRectF& next)
{
    const double overlap = std::min(maxY(last), maxY(next)) - std::max(minY(last), minY(next));
    return overlap >= 0.5 * std::min(height(last), height(next));
}

// How much ink falls short of its cells depends on the font: some draw "s" and "f" right
// to their cells' edges, and a cell taken as a piece's width over its characters less
// half a cell comes out too wide, a space too few after four. Pieces of many lengths
// show the cell: their widths grow by a cell a character, less the shortfall. Both
// fitted to the pieces whose width per character is within a tenth of `typical`;
// nothing when the fit is in doubt.
// Figures are as wide as each other in most fonts; letters tell the font.
bool showsTheFont(const TextPiece& piece)
{
    const qsizetype count = Characters::count(piece.text);
    const auto letters = std::count_if(piece.text.begin(), piece.text.end(), [](QChar c) { return c.isLetter(); });
    return count >= 4 && 2 * letters >= count;
}

struct FittedCells {
    double cell = 0;
    double shortfall = 0;
};

std::optional<FittedCells> fittedCells(const QList<TextPiece>& pieces, double typical)
{
    double n = 0, sumCount = 0, sumWidth = 0, sumCountSquared = 0, sumProduct = 0;
    for (const TextPiece& piece : pieces) {
        if (!showsTheFont(piece))
            continue;
        const double count = double(Characters::count(piece.text));
        if (std::abs(width(piece.box) / (count - 0.5) - typical) > 0.1 * typical)
            continue;
        n += 1;
        sumCount += count;
        sumWidth += width(piece.box);
        sumCountSquared += count * count;
        sumProduct += count * width(piece.box);
    }
    const double spread = n * sumCountSquared - sumCount * sumCount;
    // Lengths spread over a character or more either way, or the slope is noise.
    if (n < 6 || !(spread >= n * n))
        return std::nullopt;
    const double cell = (n * sumProduct - sumCount * sumWidth) / spread;
    const double shortfall = (cell * sumCount - sumWidth) / (n * cell);
    if (!(cell > 0.9 * typical && cell < 1.1 * typical) || shortfall < -0.25 || shortfall > 1.0)
        return std::nullopt;
    return FittedCells{cell, shortfall};
}

}  // namespace

std::optional<CharacterGrid> characterGrid(const QList<TextPiece>& pieces)
{
    // A proportional font gives its short pieces away ("NAME" is wider than "list"),
    // so some are needed. A space the recognizer lost leaves a piece off the grid.
    QList<double> ratios;
    double widths = 0, characters = 0;
    qsizetype shortPieces = 0;
    std::set<qsizetype> lengths;
    double origin = 0;
    for (const TextPiece& piece : pieces) {
        origin = ratios.isEmpty() ? minX(piece.box) : std::min(origin, minX(piece.box));
        if (!showsTheFont(piece))
            continue;
        const qsizetype count = Characters::count(piece.text);
        // Ink stops short of the cell edges, by about half a cell in all.
        ratios.append(width(piece.box) / (double(count) - 0.5));
        widths += width(piece.box);
        characters += double(count) - 0.5;
        shortPieces += count <= 12 ? 1 : 0;
        lengths.insert(count);
    }
    // Pieces of one length ("Item1", "Item2") are as wide as each other in any font.
    if (ratios.size() < 3 || shortPieces < 2 || lengths.size() < 3)
        return std::nullopt;
    const double typical = *medianOf(ratios);
    if (!(typical > 0))
        return std::nullopt;
    // Against the fitted shortfall, the pieces read right are as wide as their cells
    // whatever their length; only those the recognizer misread are off.
    const std::optional<FittedCells> fitted = fittedCells(pieces, typical);
    qsizetype even = 0;
    for (const TextPiece& piece : pieces) {
        if (!showsTheFont(piece))
            continue;
        const double count = double(Characters::count(piece.text));
        const double cell = fitted ? fitted->cell : typical;
        const double spanned = count - (fitted ? fitted->shortfall : 0.5);
        // A long piece may be off by a twentieth of its width, where a cell width a
        // little off adds up. Against a fitted grid a short one may be off by a third of
        // a cell, which is how far the bearings of its end glyphs ("N" against "l") move
        // its ink; a few short pieces alone prove no grid with that much leeway.
        const double leeway = std::max(0.05 * spanned, fitted ? 0.35 : 0.0) * cell;
        const bool onGrid = std::abs(width(piece.box) - spanned * cell) <= leeway;
        even += onGrid ? 1 : 0;
    }
    if (20 * even < 17 * ratios.size())
        return std::nullopt;
    for (const TextPiece& piece : pieces)
        origin = std::min(origin, minX(piece.box));
    CharacterGrid grid{widths / characters, origin};
    if (fitted)
        grid.cell = fitted->cell;
    return grid;
}

TextLayout::Block makeBlock(const QList<TextPiece>& group, double unit)
{
    return makeBlock(group, unit, characterGrid(group));
}

TextLayout::Block makeBlock(const QList<TextPiece>& group, double unit, std::optional<CharacterGrid> grid)
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
    if (grid) {
        block.cellWidth = grid->cell;
        block.columnOrigin = grid->origin;
        for (const QList<TextPiece>& pieces : rowPieces)
            block.rows.append(terminalRow(pieces, grid->cell));
    } else {
        for (const QList<TextPiece>& pieces : rowPieces)
            block.rows.append(makeRow(pieces, unit));
    }

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
    // A whole terminal: its paragraphs keep their indentation from the window's edge.
    const auto grid = LayoutSteps::characterGrid(kept);
    for (const QList<TextPiece>& group : LayoutSteps::splitGroups(kept, unit))
        blocks.append(grid ? LayoutSteps::makeBlock(group, unit, grid) : LayoutSteps::makeBlock(group, unit));
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
