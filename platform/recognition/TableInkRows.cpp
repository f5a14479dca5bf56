// A ruled row with no rules inside it may still hold several rows of a table: a list view
// draws rules round its header only, and its items are rows of ink under the header's
// columns.

#include "platform/recognition/TableFinderSteps.h"

#include <algorithm>
#include <set>

namespace Platform::Recognition::TableFinder::detail {

std::vector<std::vector<const TableWord*>> inkRows(const std::vector<const TableWord*>& words,
                                                   const std::vector<double>& columnEdges) {
    std::vector<std::vector<const TableWord*>> lines = visualLines(words);
    if (lines.size() < 2 || columnEdges.size() < 3)
        return {};
    // A word reaching over a column edge is running text or a heading across the row.
    const double slack = 0.25 * medianHeight(words, 10);
    bool twoColumns = false;
    for (const auto& line : lines) {
        std::set<long> columns;
        for (const TableWord* word : line) {
            const auto upper = std::upper_bound(columnEdges.begin(), columnEdges.end(), word->box.center().x());
            if (upper == columnEdges.begin() || upper == columnEdges.end())
                return {};
            const double left = *(upper - 1), right = *upper;
            if (word->box.left() < left - slack || word->box.right() > right + slack)
                return {};
            columns.insert(upper - columnEdges.begin());
        }
        twoColumns = twoColumns || columns.size() >= 2;
    }
    return twoColumns ? lines : std::vector<std::vector<const TableWord*>>{};
}

}  // namespace Platform::Recognition::TableFinder::detail
