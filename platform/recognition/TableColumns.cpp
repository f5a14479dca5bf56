// Tables without rules: rows of words broken by wide gaps into cells whose edges line up
// with the cells above and below. Most rows of a table fill every column, so the columns
// are read off the rows that have the most common number of cells; the other rows
// (empty cells, a header over two columns) are placed into those columns.

#include "platform/recognition/TableFinderSteps.h"

#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <optional>

namespace Platform::Recognition::TableFinder::detail {

namespace {

// Between words of a cell there is one space; between cells, a gap of about a letter
// height at least.
constexpr double cellGap = 1.0;
// Rows further apart than this belong to different tables.
constexpr double tableBreak = 3.5;
constexpr double proseWordsPerCell = 4.0;
// Lines of one wrapped cell sit closer together than the rows of the table.
constexpr double wrappedLineGap = 0.5;
// Rows of a table with long cells stand at least this far apart (in letter heights);
// lines of running text follow each other more closely.
constexpr double tableRowGap = 1.0;

struct Segment {
    std::vector<const TableWord*> words;
    QRectF box;
    int wordCount = 0;
    QString text;
};

struct Line {
    std::vector<Segment> segments;
    QRectF box;
};

struct Extent {
    double left;
    double right;
};

std::vector<Line> linesOf(const std::vector<const TableWord*>& words, double unit) {
    std::vector<Line> lines;
    for (const auto& wordsOfLine : visualLines(words)) {
        Line line;
        for (const TableWord* word : wordsOfLine) {
            if (line.segments.empty() || word->box.left() - line.segments.back().box.right() >= cellGap * unit)
                line.segments.emplace_back();
            Segment& segment = line.segments.back();
            segment.words.push_back(word);
            segment.box = segment.box.isNull() ? word->box : segment.box.united(word->box);
            segment.wordCount += static_cast<int>(word->text.split(QRegularExpression(QStringLiteral("\\s+")),
                                                                   Qt::SkipEmptyParts)
                                                      .size());
            segment.text = segment.text.isEmpty() ? word->text : segment.text + QLatin1Char(' ') + word->text;
            line.box = line.box.isNull() ? word->box : line.box.united(word->box);
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

// Column extents from the rows that have the most common number of cells (of rows with
// two or more; the larger count on a tie). Columns that overlap are one column.
std::vector<Extent> columnsOf(const std::vector<Line>& lines) {
    std::map<std::size_t, int> counts;
    for (const Line& line : lines)
        if (line.segments.size() >= 2)
            ++counts[line.segments.size()];
    if (counts.empty())
        return {};
    std::size_t common = 0;
    int most = 0;
    for (const auto& [count, rows] : counts)
        if (rows >= most) {
            most = rows;
            common = count;
        }
    std::vector<Extent> extents(common, Extent{1e300, -1e300});
    for (const Line& line : lines) {
        if (line.segments.size() != common)
            continue;
        for (std::size_t k = 0; k < common; ++k) {
            extents[k].left = std::min(extents[k].left, line.segments[k].box.left());
            extents[k].right = std::max(extents[k].right, line.segments[k].box.right());
        }
    }
    std::vector<Extent> columns;
    for (const Extent& extent : extents) {
        if (!columns.empty() && extent.left <= columns.back().right) {
            columns.back().right = std::max(columns.back().right, extent.right);
            continue;
        }
        columns.push_back(extent);
    }
    return columns;
}

// The columns a cell of a row covers; one in a gutter covers the columns on both sides
// (a header centred over two columns).
IndexRange columnsCovered(const QRectF& box, const std::vector<Extent>& columns, double slack) {
    int first = -1, last = -1;
    for (int k = 0; k < static_cast<int>(columns.size()); ++k) {
        if (box.right() >= columns[k].left - slack && box.left() <= columns[k].right + slack) {
            if (first < 0)
                first = k;
            last = k;
        }
    }
    if (first >= 0)
        return {first, last};
    const double middle = box.center().x();
    const int count = static_cast<int>(columns.size());
    if (middle < columns.front().left)
        return {0, 0};
    for (int k = 0; k + 1 < count; ++k)
        if (middle < columns[k + 1].left)
            return {k, k + 1};
    return {count - 1, count - 1};
}

struct PlacedCell {
    IndexRange columns;
    std::vector<const TableWord*> words;
    int wordCount = 0;
};

std::vector<PlacedCell> placed(const Line& line, const std::vector<Extent>& columns, double slack) {
    std::vector<PlacedCell> cells;
    for (const Segment& segment : line.segments) {
        const IndexRange range = columnsCovered(segment.box, columns, slack);
        if (!cells.empty() && range.lowerBound <= cells.back().columns.upperBound) {
            // Two pieces of one cell ("$" and "12.00").
            PlacedCell& previous = cells.back();
            previous.columns.upperBound = std::max(previous.columns.upperBound, range.upperBound);
            previous.words.insert(previous.words.end(), segment.words.begin(), segment.words.end());
            previous.wordCount += segment.wordCount;
            continue;
        }
        cells.push_back(PlacedCell{range, segment.words, segment.wordCount});
    }
    return cells;
}

// The median space between neighbouring lines; 0 with fewer than three spaces to go by.
double medianGapBetween(const std::vector<Line>& lines) {
    std::vector<double> gaps;
    for (std::size_t i = 1; i < lines.size(); ++i)
        gaps.push_back(lines[i].box.top() - lines[i - 1].box.bottom());
    if (gaps.size() < 3)
        return 0;
    std::sort(gaps.begin(), gaps.end());
    return gaps[gaps.size() / 2];
}

// A line of cells that each sit under a filled cell of the row above, one column each:
// the row's text wrapped onto a second line.
bool continues(const std::vector<PlacedCell>& row, const std::vector<PlacedCell>& line) {
    if (line.empty() || line.size() >= row.size())
        return false;
    return std::all_of(line.begin(), line.end(), [&](const PlacedCell& cell) {
        return std::any_of(row.begin(), row.end(), [&](const PlacedCell& above) {
            return above.columns == cell.columns && above.columns.lowerBound == above.columns.upperBound;
        });
    });
}

void appendLine(std::vector<PlacedCell>& row, const std::vector<PlacedCell>& line) {
    for (const PlacedCell& cell : line)
        for (PlacedCell& above : row)
            if (above.columns == cell.columns) {
                above.words.insert(above.words.end(), cell.words.begin(), cell.words.end());
                above.wordCount += cell.wordCount;
            }
}

bool sideBySide(const QRectF& a, const QRectF& b) { return a.right() <= b.left() || b.right() <= a.left(); }

void rebox(Line& line) {
    std::sort(line.segments.begin(), line.segments.end(),
              [](const Segment& a, const Segment& b) { return a.box.left() < b.box.left(); });
    line.box = QRectF();
    for (const Segment& segment : line.segments)
        line.box = line.box.isNull() ? segment.box : line.box.united(segment.box);
}

// Cells centred in the height of a row whose other cell wraps onto a second line stand
// between that cell's lines, and the line finder puts them with either line or with
// neither. A reader takes them with the first line and the wrapped line after it: they
// move up to the first line, and the flags mark the wrapped lines that start a row.
std::vector<bool> levelCentredCells(std::vector<Line>& lines, double closeGap) {
    std::vector<bool> startsRow(lines.size(), false);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        for (std::size_t j = i + 1; j <= i + 2 && j < lines.size(); ++j) {
            // The wrapped cell: a piece of line j right under one of line i, close to it.
            std::optional<std::pair<double, double>> centres;
            for (const Segment& upper : lines[i].segments)
                for (const Segment& lower : lines[j].segments)
                    if (!centres && !sideBySide(upper.box, lower.box) &&
                        lower.box.top() - upper.box.bottom() < closeGap &&
                        lower.box.center().y() > upper.box.center().y())
                        centres = std::pair(upper.box.center().y(), lower.box.center().y());
            if (!centres)
                continue;
            const double quarter = (centres->second - centres->first) / 4;
            auto centred = [&](const Segment& segment) {
                const double middle = segment.box.center().y();
                if (middle <= centres->first + quarter || middle >= centres->second - quarter)
                    return false;
                for (const std::size_t other : {i, j})
                    for (const Segment& beside : lines[other].segments)
                        if (&beside != &segment && !sideBySide(beside.box, segment.box))
                            return false;
                return true;
            };
            // Once one cell shows the row is centred, the wrapped line's other cells (in
            // columns the first line leaves empty) are centred too, whatever their boxes say:
            // the recognizer may box a word as tall as the wrapped line beside it.
            auto besideFirst = [&](const Segment& segment) {
                return std::all_of(lines[i].segments.begin(), lines[i].segments.end(),
                                   [&](const Segment& upper) { return sideBySide(upper.box, segment.box); });
            };
            std::vector<std::vector<bool>> moves;
            bool any = std::any_of(lines[i].segments.begin(), lines[i].segments.end(), centred);
            for (std::size_t k = i + 1; k <= j; ++k) {
                moves.emplace_back();
                for (const Segment& segment : lines[k].segments) {
                    any = any || centred(segment);
                    moves.back().push_back(k == j ? besideFirst(segment) : centred(segment));
                }
            }
            // A line between the two must be all centred cells.
            const bool allBetween = std::find(moves.front().begin(), moves.front().end(), false) == moves.front().end();
            if (!any || (j == i + 2 && !allBetween))
                break;
            for (std::size_t k = i + 1; k <= j; ++k) {
                std::vector<Segment> stay;
                for (std::size_t s = 0; s < lines[k].segments.size(); ++s)
                    (moves[k - i - 1][s] ? lines[i].segments : stay).push_back(std::move(lines[k].segments[s]));
                lines[k].segments = std::move(stay);
            }
            rebox(lines[i]);
            if (j == i + 2) {
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i + 1));
                startsRow.erase(startsRow.begin() + static_cast<std::ptrdiff_t>(i + 1));
            }
            rebox(lines[i + 1]);
            startsRow[i + 1] = true;
            break;
        }
    }
    return startsRow;
}

const QRegularExpression& codePattern() {
    static const QRegularExpression pattern(
        QStringLiteral(R"([;{}]\s*$|^\s*(\/\/|#!|\$ |>>> )|^\s*(func|let|var|const|def|return|import|class|)"
                       R"(struct|if|for|while|public|private|fn)\b.*[(=:{]|=>|->|==|!=)"),
        QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

const QRegularExpression& listMarkerPattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^([\u2022\u25E6\u25AA\u2023\u00B7*+\\-\u2013\u2014]|\\d{1,3}[.)]|[a-zA-Z][.)])$"),
        QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}


// Rows of one table, or nothing when these rows are running text, code or a list.
std::optional<DocumentTable> tableOf(std::vector<Line> lines, double unit, const QSizeF& pictureSize) {
    const std::vector<Extent> columns = columnsOf(lines);
    if (columns.size() < 2)
        return std::nullopt;
    const double slack = 0.5 * unit;
    const int columnCount = static_cast<int>(columns.size());
    // A leading or trailing row with a single cell that starts in the first column is a
    // title or a note; one further right is a group header or a last total.
    auto outside = [&](const Line& line) {
        return line.segments.size() < 2 && columnsCovered(line.box, columns, slack).lowerBound == 0;
    };
    while (!lines.empty() && outside(lines.front()))
        lines.erase(lines.begin());
    while (!lines.empty() && outside(lines.back()))
        lines.pop_back();
    if (lines.size() < 2)
        return std::nullopt;

    int codeRows = 0;
    for (const Line& line : lines)
        if (std::any_of(line.segments.begin(), line.segments.end(),
                        [](const Segment& segment) { return codePattern().match(segment.text).hasMatch(); }))
            ++codeRows;
    std::vector<std::vector<PlacedCell>> rows;
    std::vector<QRectF> rowBoxes;
    const double usualGap = medianGapBetween(lines);
    const std::vector<bool> startsRow =
        usualGap > 0 ? levelCentredCells(lines, wrappedLineGap * usualGap) : std::vector<bool>(lines.size(), false);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::vector<PlacedCell> cells = placed(lines[i], columns, slack);
        const double gap = i == 0 ? 0 : lines[i].box.top() - lines[i - 1].box.bottom();
        const bool close = i > 0 && usualGap > 0 && gap < wrappedLineGap * usualGap;
        if (close && !startsRow[i] && continues(rows.back(), cells)) {
            appendLine(rows.back(), cells);
            rowBoxes.back() = rowBoxes.back().united(lines[i].box);
            continue;
        }
        rows.push_back(std::move(cells));
        rowBoxes.push_back(lines[i].box);
    }
    const int fullRows = static_cast<int>(
        std::count_if(rows.begin(), rows.end(), [](const auto& cells) { return cells.size() >= 2; }));
    const int rowCount = static_cast<int>(rows.size());
    if (fullRows < 2 || 2 * fullRows < rowCount)
        return std::nullopt;
    if (10 * codeRows >= 4 * rowCount)
        return std::nullopt;

    // Columns of running text (many words to a cell) make an article, not a table,
    // unless their rows stand apart like a grid's.
    std::vector<int> words(columns.size(), 0), filled(columns.size(), 0);
    bool firstColumnMarkers = true;
    for (const auto& row : rows) {
        for (const PlacedCell& cell : row) {
            if (cell.columns.lowerBound != cell.columns.upperBound)
                continue;
            const auto k = static_cast<std::size_t>(cell.columns.lowerBound);
            words[k] += cell.wordCount;
            ++filled[k];
            if (k == 0 && !listMarkerPattern().match(transcriptOf(cell.words)).hasMatch())
                firstColumnMarkers = false;
        }
    }
    int proseColumns = 0;
    for (std::size_t k = 0; k < columns.size(); ++k)
        if (filled[k] > 0 && words[k] >= proseWordsPerCell * filled[k])
            ++proseColumns;
    if (2 * proseColumns > columnCount && usualGap < tableRowGap * unit)
        return std::nullopt;
    if (filled[0] > 0 && firstColumnMarkers)
        return std::nullopt;

    DocumentTable table;
    for (int r = 0; r < rowCount; ++r) {
        const QRectF& lineBox = rowBoxes[static_cast<std::size_t>(r)];
        std::vector<DocumentCell> cells;
        int nextColumn = 0;
        auto emptyUpTo = [&](int column) {
            for (; nextColumn < column; ++nextColumn) {
                const Extent& extent = columns[static_cast<std::size_t>(nextColumn)];
                const QRectF area(QPointF(extent.left, lineBox.top()), QPointF(extent.right, lineBox.bottom()));
                cells.push_back(makeCell({r, r}, {nextColumn, nextColumn}, {}, area, pictureSize));
            }
        };
        for (const PlacedCell& cell : rows[static_cast<std::size_t>(r)]) {
            emptyUpTo(cell.columns.lowerBound);
            cells.push_back(makeCell({r, r}, cell.columns, cell.words, {}, pictureSize));
            nextColumn = cell.columns.upperBound + 1;
        }
        emptyUpTo(columnCount);
        table.rows.push_back(std::move(cells));
    }
    return table;
}

// Splits the lines where a wide vertical gap or a line of running text across the whole
// width separates them.
std::vector<std::vector<Line>> groupsOf(const std::vector<Line>& lines, double unit) {
    std::vector<std::vector<Line>> groups;
    for (const Line& line : lines) {
        const bool paragraph = line.segments.size() == 1 && line.segments.front().wordCount >= proseWordsPerCell + 2;
        if (paragraph) {
            groups.emplace_back();
            continue;
        }
        if (groups.empty() || groups.back().empty() ||
            line.box.top() - groups.back().back().box.bottom() > tableBreak * unit)
            groups.emplace_back();
        groups.back().push_back(line);
    }
    std::erase_if(groups, [](const auto& group) { return group.size() < 2; });
    return groups;
}

}  // namespace

std::vector<DocumentTable> alignedTables(const std::vector<const TableWord*>& words, const QSizeF& pictureSize) {
    const double unit = medianHeight(words, 10);
    std::vector<DocumentTable> tables;
    for (auto& group : groupsOf(linesOf(words, unit), unit))
        if (std::optional<DocumentTable> table = tableOf(std::move(group), unit, pictureSize))
            tables.push_back(std::move(*table));
    return tables;
}

}  // namespace Platform::Recognition::TableFinder::detail
