#include "ZantrelKit/ListSelection.h"

#include <QString>

#include <gtest/gtest.h>

using namespace ZantrelKit;

namespace {

using Selection = ListSelection<QString>;
using Kind = Selection::Kind;

const QString a = QStringLiteral("a"), b = QStringLiteral("b"), c = QStringLiteral("c"), d = QStringLiteral("d"),
              e = QStringLiteral("e"), ghost = QStringLiteral("ghost");

Selection withRows(Kind kind, std::vector<QString> rows) {
    Selection selection(kind);
    selection.setRows(std::move(rows));
    return selection;
}

Selection abcde(Kind kind) { return withRows(kind, {a, b, c, d, e}); }

Selection::RowSet set(std::initializer_list<QString> rows) { return Selection::RowSet(rows); }

TEST(ListSelection, ShiftClickReplacesAHighlightFromTheAnchor) {
    Selection s = abcde(Kind::highlight);
    s.click(c, false, false);
    s.click(e, true, false);
    EXPECT_EQ(s.selected(), set({c, d, e}));
    EXPECT_EQ(s.current(), e);
    EXPECT_EQ(s.anchor(), c);
    s.click(a, true, false);
    EXPECT_EQ(s.selected(), set({a, b, c}));
    EXPECT_EQ(s.anchor(), c);
    EXPECT_EQ(s.selectedRows(), (std::vector<QString>{a, b, c}));
}

TEST(ListSelection, RangesAccumulateOnATickList) {
    Selection s = abcde(Kind::ticks);
    s.click(c, false, false);  // a plain click moves the focus and ticks nothing
    EXPECT_TRUE(s.selected().empty());
    EXPECT_EQ(s.current(), c);
    EXPECT_EQ(s.anchor(), c);
    s.click(e, true, false);
    EXPECT_EQ(s.selected(), set({c, d, e}));
    s.click(a, true, false);
    EXPECT_EQ(s.selected(), set({a, b, c, d, e}));
    s.toggle(d);
    EXPECT_EQ(s.selected(), set({a, b, c, e}));
    EXPECT_EQ(s.anchor(), d);
}

TEST(ListSelection, CommandClickInAHighlight) {
    Selection only = abcde(Kind::highlight);
    only.click(b, false, false);
    only.toggle(b);  // the last selected row stays
    EXPECT_EQ(only.selected(), set({b}));

    Selection three = withRows(Kind::highlight, {a, b, c});
    three.setSelected(set({a, b, c}));
    three.setCurrent(b);
    three.toggle(b);  // a and c are as near: the earlier wins
    EXPECT_EQ(three.selected(), set({a, c}));
    EXPECT_EQ(three.current(), a);
    EXPECT_EQ(three.anchor(), a);

    Selection far = abcde(Kind::highlight);
    far.setSelected(set({a, d, e}));
    far.toggle(e);
    EXPECT_EQ(far.current(), d);
    far.toggle(b);  // not selected: added, and focused
    EXPECT_EQ(far.selected(), set({a, b, d}));
    EXPECT_EQ(far.current(), b);
}

TEST(ListSelection, KeyboardStepsClampAndStartFromTheTop) {
    Selection s = abcde(Kind::highlight);
    s.move(+1, false);
    EXPECT_EQ(s.current(), b);  // no current row: counted from the first
    Selection up = abcde(Kind::highlight);
    up.move(-1, false);
    EXPECT_EQ(up.current(), a);
    s.move(+10, false);
    EXPECT_EQ(s.current(), e);
    s.move(-10, true);
    EXPECT_EQ(s.current(), a);
    EXPECT_EQ(s.selected(), set({a, b, c, d, e}));
    s.jump(false, false);
    EXPECT_EQ(s.selected(), set({e}));
    s.setCurrent(ghost);  // a current row that left counts as none
    s.move(+1, false);
    EXPECT_EQ(s.current(), b);

    Selection empty(Kind::highlight);
    empty.move(+1, true);
    empty.jump(true, false);
    EXPECT_EQ(empty, Selection(Kind::highlight));
}

TEST(ListSelection, ExtendingWithoutAnAnchorTakesTheRowAlone) {
    for (const Kind kind : {Kind::highlight, Kind::ticks}) {
        Selection s = abcde(kind);
        s.focus(c, true);
        EXPECT_EQ(s.selected(), set({c}));
        EXPECT_EQ(s.anchor(), std::nullopt);
        EXPECT_EQ(s.current(), c);
    }
    // An anchor that left the list falls back to a plain focus.
    Selection s = abcde(Kind::highlight);
    s.setAnchor(ghost);
    s.focus(d, true);
    EXPECT_EQ(s.selected(), set({d}));
    EXPECT_EQ(s.anchor(), d);
}

TEST(ListSelection, ClicksOnRowsNotInTheListChangeNothing) {
    for (const Kind kind : {Kind::highlight, Kind::ticks}) {
        Selection s = abcde(kind);
        s.click(b, false, false);
        const Selection before = s;
        for (const bool extending : {false, true})
            for (const bool toggling : {false, true})
                s.click(ghost, extending, toggling);
        s.select(ghost);
        EXPECT_EQ(s, before);
    }
}

TEST(ListSelection, ReplacingRowsOfAHighlight) {
    Selection s = abcde(Kind::highlight);
    s.setSelected(set({b, c, d}));
    s.setCurrent(c);
    s.setAnchor(b);
    s.replaceRows({a, c, d});
    EXPECT_EQ(s.selected(), set({c, d}));
    EXPECT_EQ(s.current(), c);
    EXPECT_EQ(s.anchor(), b);

    s.setSelected(set({a}));
    s.replaceRows({c, e});  // a left, c stays: c alone
    EXPECT_EQ(s.selected(), set({c}));

    s.replaceRows({e, d});  // the current row left
    EXPECT_EQ(s.current(), e);
    EXPECT_EQ(s.anchor(), e);
    EXPECT_EQ(s.selected(), set({e}));

    s.replaceRows({});
    EXPECT_EQ(s.current(), std::nullopt);
    EXPECT_TRUE(s.selected().empty());
}

TEST(ListSelection, ReplacingRowsKeepsTicksOfRowsThatLeft) {
    Selection s = abcde(Kind::ticks);
    s.setSelected(set({a, e}));
    s.setCurrent(b);
    s.replaceRows({b, c});
    EXPECT_EQ(s.selected(), set({a, e}));
    EXPECT_EQ(s.current(), b);
    s.replaceRows({c, d});
    EXPECT_EQ(s.current(), c);
    EXPECT_EQ(s.anchor(), c);
    EXPECT_TRUE(s.selectedRows().empty());
}

TEST(ListSelection, InvertFlipsRowsAndKeepsStrayEntries) {
    Selection all = withRows(Kind::highlight, {a, b, c});
    all.setSelected(set({a, b, c}));
    all.setCurrent(b);
    all.setAnchor(a);
    all.invert();
    EXPECT_TRUE(all.selected().empty());
    EXPECT_EQ(all.current(), std::nullopt);
    EXPECT_EQ(all.anchor(), std::nullopt);

    Selection ticks = withRows(Kind::ticks, {a, b, c});
    ticks.setSelected(set({a, ghost}));
    ticks.setCurrent(a);
    ticks.invert();
    EXPECT_EQ(ticks.selected(), set({b, c, ghost}));
    EXPECT_EQ(ticks.current(), a);  // a tick list keeps its focus
    EXPECT_EQ(ticks.anchor(), a);

    Selection some = withRows(Kind::highlight, {a, b, c});
    some.setSelected(set({a}));
    some.setCurrent(a);
    some.invert();
    EXPECT_EQ(some.current(), b);
}

TEST(ListSelection, SelectAllAndNone) {
    Selection ticks = abcde(Kind::ticks);
    ticks.setSelected(set({a}));
    ticks.selectAll([&](const QString& row) { return row == c || row == d; });
    EXPECT_EQ(ticks.selected(), set({a, c, d}));  // never removes a tick
    EXPECT_EQ(ticks.current(), a);
    EXPECT_EQ(ticks.anchor(), std::nullopt);
    ticks.selectNone();
    EXPECT_TRUE(ticks.selected().empty());
    EXPECT_EQ(ticks.anchor(), a);

    Selection highlight = abcde(Kind::highlight);
    highlight.setCurrent(e);
    highlight.setSelected(set({a}));
    highlight.selectAll([](const QString&) { return true; });
    EXPECT_EQ(highlight.selected(), set({a, b, c, d, e}));
    EXPECT_EQ(highlight.current(), e);  // an existing current row stays
    highlight.selectNone();
    EXPECT_EQ(highlight.selected(), set({e}));
    EXPECT_EQ(highlight.anchor(), e);
}

TEST(ListSelection, PositionIsTheFirstEqualRow) {
    Selection s = withRows(Kind::highlight, {a, b, a, c});
    s.click(c, false, false);
    s.click(a, true, false);
    EXPECT_EQ(s.selected(), set({a, b, c}));
    EXPECT_EQ(s.position(a), 0u);
}

}  // namespace
