// Tables drawn with rules: connected horizontal and vertical rules make a grid, each rule
// cuts the rows or columns it crosses, and a rule missing between two grid positions
// merges them into one cell.

#include "platform/recognition/TableFinderSteps.h"

#include <algorithm>
#include <numeric>
#include <set>

namespace Platform::Recognition::TableFinder::detail {

namespace {

constexpr double reach = 4;  // how far a rule may stop short of the one it meets

struct Grid {
    std::vector<Rule> horizontal;
    std::vector<Rule> vertical;
};

bool cross(const Rule& horizontal, const Rule& vertical) {
    const double slack = reach + std::max(horizontal.thickness, vertical.thickness);
    return vertical.position >= horizontal.start - slack && vertical.position <= horizontal.end + slack &&
           horizontal.position >= vertical.start - slack && horizontal.position <= vertical.end + slack;
}

std::vector<Grid> gridsOf(const Rulings& rulings) {
    const std::size_t hs = rulings.horizontal.size();
    const std::size_t count = hs + rulings.vertical.size();
    std::vector<std::size_t> parent(count);
    std::iota(parent.begin(), parent.end(), std::size_t{0});
    auto find = [&](std::size_t i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    for (std::size_t h = 0; h < hs; ++h)
        for (std::size_t v = 0; v < rulings.vertical.size(); ++v)
            if (cross(rulings.horizontal[h], rulings.vertical[v]))
                parent[find(h)] = find(hs + v);
    std::vector<Grid> grids;
    std::vector<int> gridOfRoot(count, -1);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t root = find(i);
        if (gridOfRoot[root] < 0) {
            gridOfRoot[root] = static_cast<int>(grids.size());
            grids.emplace_back();
        }
        Grid& grid = grids[static_cast<std::size_t>(gridOfRoot[root])];
        if (i < hs)
            grid.horizontal.push_back(rulings.horizontal[i]);
        else
            grid.vertical.push_back(rulings.vertical[i - hs]);
    }
    std::erase_if(grids, [](const Grid& grid) { return grid.horizontal.empty() || grid.vertical.empty(); });
    return grids;
}

// Edge positions from the rules and the grid's outer bounds; edges closer than `closest`
// are one edge (a double rule, or a rule on the outer bound).
std::vector<double> edgesOf(std::vector<double> positions, double closest) {
    std::sort(positions.begin(), positions.end());
    std::vector<double> edges;
    for (double position : positions) {
        if (!edges.empty() && position - edges.back() < closest)
            continue;
        edges.push_back(position);
    }
    return edges;
}

int bandOf(const std::vector<double>& edges, double position) {
    const auto upper = std::upper_bound(edges.begin(), edges.end(), position);
    return static_cast<int>(upper - edges.begin()) - 1;
}

struct GridTable {
    DocumentTable table;
    std::vector<const TableWord*> words;
};

std::optional<GridTable> tableOf(const Grid& grid, const std::vector<const TableWord*>& words,
                                 const QSizeF& pictureSize) {
    double top = grid.horizontal.front().position, bottom = top;
    double left = grid.vertical.front().position, right = left;
    std::vector<double> ys{}, xs{};
    for (const Rule& rule : grid.horizontal) {
        left = std::min(left, rule.start);
        right = std::max(right, rule.end);
        top = std::min(top, rule.position);
        bottom = std::max(bottom, rule.position);
        ys.push_back(rule.position);
    }
    for (const Rule& rule : grid.vertical) {
        top = std::min(top, rule.start);
        bottom = std::max(bottom, rule.end);
        left = std::min(left, rule.position);
        right = std::max(right, rule.position);
        xs.push_back(rule.position);
    }
    const QRectF bounds(QPointF(left, top), QPointF(right, bottom));
    std::vector<const TableWord*> inside;
    for (const TableWord* word : words)
        if (bounds.contains(word->box.center()))
            inside.push_back(word);
    if (inside.size() < 2)
        return std::nullopt;
    // No text line fits between rules closer than this.
    const double closest = std::max(6.0, 0.6 * medianHeight(inside, 10));
    ys.push_back(top);
    ys.push_back(bottom);
    xs.push_back(left);
    xs.push_back(right);
    const std::vector<double> rowEdges = edgesOf(ys, closest);
    const std::vector<double> columnEdges = edgesOf(xs, closest);
    const int rows = static_cast<int>(rowEdges.size()) - 1;
    const int columns = static_cast<int>(columnEdges.size()) - 1;
    if (rows < 2 || columns < 2)
        return std::nullopt;

    auto near = [](const Rule& rule, double edge) { return std::abs(rule.position - edge) <= reach + rule.thickness; };
    auto spans = [](const Rule& rule, double point) {
        return point >= rule.start - reach - rule.thickness && point <= rule.end + reach + rule.thickness;
    };
    // Whether a rule separates column c-1 from c in row r, and row r-1 from r in column c.
    auto columnCut = [&](int r, int c) {
        const double middle = (rowEdges[r] + rowEdges[r + 1]) / 2;
        return std::any_of(grid.vertical.begin(), grid.vertical.end(), [&](const Rule& rule) {
            return near(rule, columnEdges[c]) && spans(rule, middle);
        });
    };
    auto rowCut = [&](int r, int c) {
        const double middle = (columnEdges[c] + columnEdges[c + 1]) / 2;
        return std::any_of(grid.horizontal.begin(), grid.horizontal.end(), [&](const Rule& rule) {
            return near(rule, rowEdges[r]) && spans(rule, middle);
        });
    };

    struct Span {
        IndexRange rows;
        IndexRange columns;
        std::vector<const TableWord*> words;
    };
    std::vector<Span> cells;
    std::vector<std::vector<int>> owner(rows, std::vector<int>(columns, -1));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (owner[r][c] >= 0)
                continue;
            int lastColumn = c;
            while (lastColumn + 1 < columns && owner[r][lastColumn + 1] < 0 && !columnCut(r, lastColumn + 1))
                ++lastColumn;
            int lastRow = r;
            auto openBelow = [&](int below) {
                for (int k = c; k <= lastColumn; ++k)
                    if (owner[below][k] >= 0 || rowCut(below, k))
                        return false;
                return true;
            };
            while (lastRow + 1 < rows && openBelow(lastRow + 1))
                ++lastRow;
            for (int i = r; i <= lastRow; ++i)
                for (int k = c; k <= lastColumn; ++k)
                    owner[i][k] = static_cast<int>(cells.size());
            cells.push_back(Span{{r, lastRow}, {c, lastColumn}, {}});
        }
    }
    std::set<int> rowsWithText, columnsWithText;
    for (const TableWord* word : inside) {
        const int r = std::clamp(bandOf(rowEdges, word->box.center().y()), 0, rows - 1);
        const int c = std::clamp(bandOf(columnEdges, word->box.center().x()), 0, columns - 1);
        rowsWithText.insert(r);
        columnsWithText.insert(c);
        cells[static_cast<std::size_t>(owner[r][c])].words.push_back(word);
    }
    if (rowsWithText.size() < 2 || columnsWithText.size() < 2)
        return std::nullopt;

    // A row with no column rules that holds rows of ink under the columns becomes those rows.
    std::vector<std::vector<std::vector<const TableWord*>>> split(cells.size());
    std::vector<int> firstOutput(static_cast<std::size_t>(rows) + 1, 0);
    std::vector<int> outputRows(static_cast<std::size_t>(rows), 1);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const Span& span = cells[i];
        const int row = span.rows.lowerBound;
        if (row != span.rows.upperBound || span.columns.lowerBound == span.columns.upperBound || outputRows[row] > 1)
            continue;
        const std::vector<double> spanned(columnEdges.begin() + span.columns.lowerBound,
                                          columnEdges.begin() + span.columns.upperBound + 2);
        split[i] = inkRows(span.words, spanned);
        outputRows[static_cast<std::size_t>(row)] = std::max(1, int(split[i].size()));
    }
    for (int r = 0; r < rows; ++r)
        firstOutput[r + 1] = firstOutput[r] + outputRows[r];
    // A frame round a block of text (a form's group box) with a row of buttons under it
    // makes a grid too: the block's lines follow no columns and outnumber the rows that do.
    std::size_t blockLines = 0;
    std::set<int> blockRows;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const Span& span = cells[i];
        if (!split[i].empty() || span.rows.lowerBound != span.rows.upperBound ||
            span.columns.lowerBound == span.columns.upperBound)
            continue;
        const std::size_t lines = visualLines(span.words).size();
        if (lines >= 2) {
            blockLines += lines;
            blockRows.insert(span.rows.lowerBound);
        }
    }
    std::size_t otherRows = 0;
    for (const int r : rowsWithText)
        if (!blockRows.contains(r))
            otherRows += static_cast<std::size_t>(outputRows[r]);
    if (blockLines > otherRows)
        return std::nullopt;

    GridTable result;
    result.words = inside;
    result.table.rows.resize(static_cast<std::size_t>(firstOutput[rows]));
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const Span& span = cells[i];
        const int first = firstOutput[span.rows.lowerBound];
        for (std::size_t line = 0; line < split[i].size(); ++line) {
            const int row = first + static_cast<int>(line);
            const QRectF lineBox = unitedBox(split[i][line]);
            for (int c = span.columns.lowerBound; c <= span.columns.upperBound; ++c) {
                std::vector<const TableWord*> inColumn;
                for (const TableWord* word : split[i][line])
                    if (bandOf(columnEdges, word->box.center().x()) == c)
                        inColumn.push_back(word);
                const QRectF area(QPointF(columnEdges[c], lineBox.top()),
                                  QPointF(columnEdges[c + 1], lineBox.bottom()));
                result.table.rows[static_cast<std::size_t>(row)].push_back(
                    makeCell({row, row}, {c, c}, inColumn, area, pictureSize));
            }
        }
        if (!split[i].empty())
            continue;
        const QRectF area(QPointF(columnEdges[span.columns.lowerBound], rowEdges[span.rows.lowerBound]),
                          QPointF(columnEdges[span.columns.upperBound + 1], rowEdges[span.rows.upperBound + 1]));
        const IndexRange outputRange{first, firstOutput[span.rows.upperBound + 1] - 1};
        result.table.rows[static_cast<std::size_t>(first)].push_back(
            makeCell(outputRange, span.columns, span.words, area, pictureSize));
    }
    return result;
}

}  // namespace

std::vector<DocumentTable> ruledTables(const std::vector<const TableWord*>& words, const Rulings& rulings,
                                       const QSizeF& pictureSize, std::vector<const TableWord*>& remaining) {
    std::vector<DocumentTable> tables;
    std::set<const TableWord*> taken;
    for (const Grid& grid : gridsOf(rulings)) {
        std::optional<GridTable> found = tableOf(grid, words, pictureSize);
        if (!found)
            continue;
        tables.push_back(std::move(found->table));
        taken.insert(found->words.begin(), found->words.end());
    }
    remaining.clear();
    for (const TableWord* word : words)
        if (!taken.contains(word))
            remaining.push_back(word);
    return tables;
}

}  // namespace Platform::Recognition::TableFinder::detail

