#pragma once

// The value behind a selectable list: the focused row, the selected (or ticked) rows and
// the row a range extension starts from. Highlight lists replace the selection with a
// range; tick lists add ranges to their ticks. Every operation is a plain change of the
// value; none fails.

#include <QHashFunctions>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <optional>
#include <type_traits>
#include <unordered_set>
#include <vector>

namespace ZantrelKit {

// The standard hash where there is one, else Qt's (QString has only Qt's here).
struct RowHash {
    template <class Row>
    std::size_t operator()(const Row& row) const {
        if constexpr (std::is_default_constructible_v<std::hash<Row>>)
            return std::hash<Row>{}(row);
        else
            return static_cast<std::size_t>(qHash(row));
    }
};

template <class Row, class Hash = RowHash>
class ListSelection {
public:
    enum class Kind { highlight, ticks };
    using RowSet = std::unordered_set<Row, Hash>;

    explicit ListSelection(Kind kind) : kind_(kind) {}

    Kind kind() const { return kind_; }
    const std::vector<Row>& rows() const { return rows_; }
    const std::optional<Row>& current() const { return current_; }
    const RowSet& selected() const { return selected_; }
    const std::optional<Row>& anchor() const { return anchor_; }

    void setRows(std::vector<Row> rows) { rows_ = std::move(rows); }
    void setCurrent(std::optional<Row> row) { current_ = std::move(row); }
    void setSelected(RowSet rows) { selected_ = std::move(rows); }
    void setAnchor(std::optional<Row> row) { anchor_ = std::move(row); }

    // The first index at which an equal row stands.
    std::optional<std::size_t> position(const Row& row) const {
        const auto found = std::find(rows_.begin(), rows_.end(), row);
        if (found == rows_.end())
            return std::nullopt;
        return static_cast<std::size_t>(found - rows_.begin());
    }

    void focus(Row row, bool extending) {
        current_ = row;
        if (extending) {
            const Row& from = anchor_ ? *anchor_ : row;
            const std::optional<std::size_t> start = position(from);
            const std::optional<std::size_t> end = position(row);
            if (start && end) {
                const std::size_t low = std::min(*start, *end);
                const std::size_t high = std::max(*start, *end);
                RowSet range(rows_.begin() + static_cast<std::ptrdiff_t>(low),
                             rows_.begin() + static_cast<std::ptrdiff_t>(high) + 1);
                if (kind_ == Kind::highlight)
                    selected_ = std::move(range);
                else
                    selected_.insert(range.begin(), range.end());
                return;
            }
        }
        anchor_ = row;
        if (kind_ == Kind::highlight)
            selected_ = RowSet{row};
    }

    // A keyboard step; with no current row the step counts from the first row.
    void move(std::ptrdiff_t offset, bool extending) {
        if (rows_.empty())
            return;
        const std::optional<std::size_t> currentPosition = current_ ? position(*current_) : std::nullopt;
        const auto base = static_cast<std::ptrdiff_t>(currentPosition.value_or(0));
        const auto last = static_cast<std::ptrdiff_t>(rows_.size()) - 1;
        const std::ptrdiff_t target = std::max<std::ptrdiff_t>(std::min(base + offset, last), 0);
        focus(rows_[static_cast<std::size_t>(target)], extending);
    }

    void jump(bool toFirst, bool extending) {
        if (rows_.empty())
            return;
        focus(toFirst ? rows_.front() : rows_.back(), extending);
    }

    // A pointer click; extending as with Shift held, toggling as with Command held.
    void click(Row row, bool extending, bool toggling) {
        const std::optional<std::size_t> rowPosition = position(row);
        if (!rowPosition)
            return;
        if (extending) {
            focus(row, true);
            return;
        }
        if (!toggling) {
            focus(row, false);
            return;
        }
        if (kind_ == Kind::ticks) {
            if (!selected_.erase(row))
                selected_.insert(row);
            current_ = row;
            anchor_ = row;
            return;
        }
        const bool onlySelected = selected_.size() == 1 && selected_.contains(row);
        if (!selected_.contains(row) || onlySelected) {
            // The last selected row never goes by a toggle.
            selected_.insert(row);
            current_ = row;
            anchor_ = row;
            return;
        }
        selected_.erase(row);
        current_ = nearestSelected(*rowPosition);
        anchor_ = current_;
    }

    void toggle(Row row) { click(std::move(row), false, true); }

    void select(const Row& row) {
        if (position(row))
            focus(row, false);
    }

    template <class Predicate>
    void selectAll(Predicate matches) {
        RowSet matching;
        for (const Row& row : rows_)
            if (std::invoke(matches, row))
                matching.insert(row);
        if (kind_ == Kind::highlight)
            selected_ = std::move(matching);
        else
            selected_.insert(matching.begin(), matching.end());
        if (!current_)
            current_ = firstRow();
    }

    void selectNone() {
        selected_.clear();
        if (kind_ == Kind::highlight && current_)
            selected_.insert(*current_);
        anchor_ = current_;
    }

    // Every row flips; selected entries that are not rows stay.
    void invert() {
        const RowSet all(rows_.begin(), rows_.end());
        RowSet flipped;
        for (const Row& row : all)
            if (!selected_.contains(row))
                flipped.insert(row);
        for (const Row& row : selected_)
            if (!all.contains(row))
                flipped.insert(row);
        selected_ = std::move(flipped);
        if (kind_ == Kind::highlight && (!current_ || !selected_.contains(*current_))) {
            current_.reset();
            for (const Row& row : rows_)
                if (selected_.contains(row)) {
                    current_ = row;
                    break;
                }
        }
        anchor_ = current_;
    }

    // Ticks survive a row leaving the list; a highlight keeps only the rows still there.
    void replaceRows(std::vector<Row> rows) {
        rows_ = std::move(rows);
        const bool currentStays = current_ && position(*current_);
        if (kind_ == Kind::ticks) {
            if (!currentStays) {
                current_ = firstRow();
                anchor_ = current_;
            }
            return;
        }
        std::erase_if(selected_, [this](const Row& row) { return !position(row); });
        if (currentStays) {
            if (selected_.empty())
                selected_.insert(*current_);
            return;
        }
        current_ = firstRow();
        anchor_ = current_;
        selected_.clear();
        if (current_)
            selected_.insert(*current_);
    }

    // The selected rows in row order.
    std::vector<Row> selectedRows() const {
        std::vector<Row> result;
        for (const Row& row : rows_)
            if (selected_.contains(row))
                result.push_back(row);
        return result;
    }

    friend bool operator==(const ListSelection& a, const ListSelection& b) {
        return a.kind_ == b.kind_ && a.rows_ == b.rows_ && a.current_ == b.current_ &&
               a.selected_ == b.selected_ && a.anchor_ == b.anchor_;
    }

private:
    std::optional<Row> firstRow() const {
        if (rows_.empty())
            return std::nullopt;
        return rows_.front();
    }

    // The selected row whose position is nearest; on a tie the earlier one.
    std::optional<Row> nearestSelected(std::size_t from) const {
        std::optional<Row> nearest;
        std::size_t bestDistance = 0;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            const Row& row = rows_[i];
            if (!selected_.contains(row) || position(row) != i)
                continue;
            const std::size_t distance = i > from ? i - from : from - i;
            if (!nearest || distance < bestDistance) {
                nearest = row;
                bestDistance = distance;
            }
        }
        return nearest;
    }

    Kind kind_;
    std::vector<Row> rows_;
    std::optional<Row> current_;
    RowSet selected_;
    std::optional<Row> anchor_;
};

}  // namespace ZantrelKit
