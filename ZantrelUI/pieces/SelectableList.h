#pragma once

// Keyboard selection for any list, grid or row of items: arrows move the current row by the
// layout's geometry, Shift extends, Ctrl jumps to the ends, Ctrl+A selects all, Space ticks,
// Return and Delete run the owner's actions, Escape collapses a multiple selection. It holds
// no selection of its own: it edits the owner's `ListSelection` through a `Bound`.

#include "ZantrelKit/ListSelection.h"
#include "ZantrelUI/pieces/Bound.h"

#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace ZantrelUI {

struct ListLayout {
    enum class Kind { grid, column, row };
    Kind kind = Kind::column;
    int columns = 1;

    static ListLayout grid(int columns) { return {Kind::grid, columns}; }
    static ListLayout column() { return {Kind::column, 1}; }
    static ListLayout row() { return {Kind::row, 1}; }

    // Up and Down: none for a row of items; a grid moves by its column count (1 below 2).
    std::optional<std::ptrdiff_t> verticalStep() const {
        if (kind == Kind::row)
            return std::nullopt;
        if (kind == Kind::grid)
            return columns < 2 ? 1 : columns;
        return 1;
    }
    // Left and Right: none for a column.
    std::optional<std::ptrdiff_t> horizontalStep() const {
        if (kind == Kind::column)
            return std::nullopt;
        return 1;
    }
};

// One key press as the list sees it.
struct ListKey {
    enum class Key { up, down, left, right, a, selectAll, space, returnKey, deleteKey, escape, other };
    Key key = Key::other;
    bool command = false;  // Ctrl
    bool shift = false;

    static ListKey from(const QKeyEvent& event);
};

template <class Row>
struct ListKeyActions {
    std::function<bool(const Row&)> tickable;
    std::function<void()> onReturn;
    std::function<void()> onDelete;
    std::function<void()> onSpace;
};

// Applies one key to the selection; true when the list handled it (an ignored key goes on to
// the views around the list).
template <class Row, class Hash>
bool handleListKey(ZantrelKit::ListSelection<Row, Hash>& selection, const ListKey& press, const ListLayout& layout,
                   const ListKeyActions<Row>& actions) {
    using Key = ListKey::Key;
    const auto tickable = [&](const Row& row) { return !actions.tickable || actions.tickable(row); };
    const auto step = [&](std::optional<std::ptrdiff_t> by, int sign) {
        if (!by)
            return false;
        if (press.command)
            selection.jump(sign < 0, press.shift);
        else
            selection.move(sign * *by, press.shift);
        return true;
    };
    switch (press.key) {
    case Key::up:
        return step(layout.verticalStep(), -1);
    case Key::down:
        return step(layout.verticalStep(), +1);
    case Key::left:
        return step(layout.horizontalStep(), -1);
    case Key::right:
        return step(layout.horizontalStep(), +1);
    case Key::a:
        if (!press.command)
            return false;
        if (press.shift)
            selection.selectNone();
        else
            selection.selectAll(tickable);
        return true;
    case Key::selectAll:
        selection.selectAll(tickable);
        return true;
    case Key::space: {
        using Kind = typename ZantrelKit::ListSelection<Row, Hash>::Kind;
        if (selection.kind() == Kind::ticks && selection.current()) {
            const Row current = *selection.current();
            // A row that may no longer be ticked can still be unticked.
            if (tickable(current) || selection.selected().contains(current))
                selection.toggle(current);
            return true;
        }
        if (!actions.onSpace)
            return false;
        actions.onSpace();
        return true;
    }
    case Key::returnKey:
        if (!actions.onReturn)
            return false;
        actions.onReturn();
        return true;
    case Key::deleteKey:
        if (!actions.onDelete)
            return false;
        actions.onDelete();
        return true;
    case Key::escape: {
        using Kind = typename ZantrelKit::ListSelection<Row, Hash>::Kind;
        if (selection.kind() == Kind::highlight && selection.selected().size() > 1) {
            selection.selectNone();
            return true;
        }
        return false;
    }
    case Key::other:
        return false;
    }
    return false;
}

// The key and click handling attached to a content widget.
class SelectableListBase : public QObject {
    Q_OBJECT
public:
    explicit SelectableListBase(QWidget* content);

    QWidget* content() const { return content_; }

public Q_SLOTS:
    // The Edit menu's Select All, sent to the list while it has focus.
    void selectAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Runs the key (or, for `dryRun`, only answers whether it would be handled).
    virtual bool handle(const ListKey& key, bool dryRun) = 0;

private:
    QPointer<QWidget> content_;
};

template <class Row, class Hash = ZantrelKit::RowHash>
class SelectableList final : public SelectableListBase {
public:
    using Selection = ZantrelKit::ListSelection<Row, Hash>;

    SelectableList(QWidget* content, BoundPtr<Selection> selection, std::function<bool(const Row&)> tickable,
                   std::function<void()> onReturn, std::function<void()> onDelete, std::function<void()> onSpace,
                   ListLayout layout)
        : SelectableListBase(content),
          selection_(std::move(selection)),
          actions_{std::move(tickable), std::move(onReturn), std::move(onDelete), std::move(onSpace)},
          layout_(layout) {}

    // A pointer click on a row: Shift extends from the anchor, Ctrl toggles the row.
    void click(const Row& row, Qt::KeyboardModifiers modifiers) {
        selection_->edit([&](Selection& s) {
            s.click(row, modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier));
        });
    }

    const ListLayout& layout() const { return layout_; }

protected:
    bool handle(const ListKey& key, bool dryRun) override {
        if (dryRun) {
            Selection copy = selection_->get();
            ListKeyActions<Row> quiet = actions_;
            for (std::function<void()>* f : {&quiet.onReturn, &quiet.onDelete, &quiet.onSpace})
                if (*f)
                    *f = [] {};
            return handleListKey(copy, key, layout_, quiet);
        }
        // An owner's action may change the selection itself (Delete removes the row): the
        // copy taken before the key is stale then and must not be written back.
        bool ranOwnerAction = false;
        ListKeyActions<Row> tracked = actions_;
        for (std::function<void()>* f : {&tracked.onReturn, &tracked.onDelete, &tracked.onSpace})
            if (*f)
                *f = [&ranOwnerAction, run = *f] {
                    ranOwnerAction = true;
                    run();
                };
        Selection copy = selection_->get();
        const bool handled = handleListKey(copy, key, layout_, tracked);
        if (!ranOwnerAction)
            selection_->set(std::move(copy));
        return handled;
    }

private:
    BoundPtr<Selection> selection_;
    ListKeyActions<Row> actions_;
    ListLayout layout_;
};

// Attaches the keyboard selection to `content` (made focusable, without a focus ring).
template <class Row, class Hash = ZantrelKit::RowHash>
SelectableList<Row, Hash>* selectableList(QWidget* content,
                                          BoundPtr<ZantrelKit::ListSelection<Row, Hash>> selection,
                                          std::function<bool(const Row&)> tickable, std::function<void()> onReturn,
                                          std::function<void()> onDelete, std::function<void()> onSpace,
                                          ListLayout layout) {
    return new SelectableList<Row, Hash>(content, std::move(selection), std::move(tickable), std::move(onReturn),
                                         std::move(onDelete), std::move(onSpace), layout);
}

}  // namespace ZantrelUI
