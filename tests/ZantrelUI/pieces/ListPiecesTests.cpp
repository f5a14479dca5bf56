#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/pieces/BulkBar.h"
#include "ZantrelUI/pieces/SelectableList.h"
#include "ZantrelUI/desktop/StandardMenus.h"

#include "tests/ZantrelUI/DesignFixture.h"
#include "tests/ZantrelUI/ProportionalDigits.h"

#include <QApplication>
#include <QLabel>
#include <QShortcut>
#include <QTest>

namespace DesignTest {
namespace {

using namespace ZantrelUI;
using Selection = ZantrelKit::ListSelection<int>;

class BulkBarTests : public DesignFixture {};

TEST_F(BulkBarTests, UntickAllIsThereButDisabledUntilSomethingIsTicked) {
    int unticks = 0;
    BulkBar none(0, 7, std::nullopt, [] {}, [&] { ++unticks; });
    ASSERT_NE(none.untickAllButton(), nullptr);
    EXPECT_FALSE(none.untickAllButton()->isEnabled());
    EXPECT_EQ(none.line(), u"0 of 7 ticked");
    BulkBar one(1, 7, std::nullopt, [] {}, [&] { ++unticks; });
    EXPECT_TRUE(one.untickAllButton()->isEnabled());
    one.untickAllButton()->click();
    EXPECT_EQ(unticks, 1);
}

TEST_F(BulkBarTests, TheCountStartsFlushWithoutTickAllShownAndTakesTheSizeText) {
    BulkBar flush(2, 7, QStringLiteral("3.4 MB"), {}, [] {});
    EXPECT_EQ(flush.tickAllShownButton(), nullptr);
    EXPECT_EQ(flush.lineInset(), 0);
    EXPECT_EQ(flush.line(), u"2 of 7 ticked, 3.4 MB");
    BulkBar inset(2, 7, std::nullopt, [] {}, {});
    EXPECT_EQ(inset.lineInset(), 4);
    EXPECT_EQ(inset.untickAllButton(), nullptr);
    EXPECT_EQ(inset.lineLabel()->textFormat(), Qt::PlainText);
}

TEST_F(BulkBarTests, ASelectionBarShowsOnlyTheFirstThreeActions) {
    QStringList ran;
    QList<BulkBar::Action> actions;
    for (const char* title : {"Open", "Copy", "Move", "Delete", "Share"})
        actions.push_back({QString::fromLatin1(title), [&ran, title] { ran << QString::fromLatin1(title); }});
    BulkBar bar(3, actions);
    EXPECT_EQ(bar.line(), u"3 selected");
    ASSERT_EQ(bar.actionButtons().size(), 3);
    EXPECT_EQ(bar.actionButtons()[2]->text(), u"Move");
    bar.actionButtons()[1]->click();
    EXPECT_EQ(ran, QStringList{QStringLiteral("Copy")});
    EXPECT_EQ(bar.untickAllButton(), nullptr);
}

TEST_F(BulkBarTests, TheCountKeepsItsDigitsOneWidthWhereTheDesktopsFontDoesNot) {
    ProportionalDigits font;
    if (!font.family())
        GTEST_SKIP() << "no installed face with digits of different widths";
    BulkBar ticks(11, 80, QStringLiteral("1.8 MB"), [] {}, [] {});
    BulkBar selected(7, {});
    for (const BulkBar* bar : {&ticks, &selected})
        EXPECT_TRUE(Fonts::sameAdvances(bar->lineLabel()->font(), QStringLiteral("0123456789"))) << font.family()->toStdString();
}

class SelectableListTests : public DesignFixture {
protected:
    static Selection rows(int n, Selection::Kind kind = Selection::Kind::highlight) {
        Selection s(kind);
        std::vector<int> list(n);
        for (int i = 0; i < n; ++i)
            list[i] = i;
        s.setRows(list);
        return s;
    }
    static bool key(Selection& s, ListKey::Key k, ListLayout layout, bool command = false, bool shift = false,
                    const ListKeyActions<int>& actions = {}) {
        return handleListKey(s, ListKey{k, command, shift}, layout, actions);
    }
    using K = ListKey::Key;
};

TEST_F(SelectableListTests, GridArrowsMoveByTheColumnCountAndStopAtTheEnds) {
    Selection s = rows(10);
    s.select(2);
    EXPECT_TRUE(key(s, K::down, ListLayout::grid(4)));
    EXPECT_EQ(s.current(), 6);
    s.select(7);
    key(s, K::down, ListLayout::grid(4));
    EXPECT_EQ(s.current(), 9);
    key(s, K::right, ListLayout::grid(4));
    EXPECT_EQ(s.current(), 9) << "no wrap-around";
    s.select(5);
    key(s, K::up, ListLayout::grid(1));
    EXPECT_EQ(s.current(), 4);

    Selection fresh = rows(10);
    key(fresh, K::down, ListLayout::column());
    EXPECT_EQ(fresh.current(), 1) << "no current row: down lands on the second";
    Selection fresh2 = rows(10);
    key(fresh2, K::up, ListLayout::column());
    EXPECT_EQ(fresh2.current(), 0);
    Selection empty = rows(0);
    EXPECT_TRUE(key(empty, K::down, ListLayout::column()));
    EXPECT_FALSE(empty.current().has_value());
}

TEST_F(SelectableListTests, ArrowsAcrossTheLayoutPassThrough) {
    Selection s = rows(5);
    EXPECT_FALSE(key(s, K::left, ListLayout::column()));
    EXPECT_FALSE(key(s, K::right, ListLayout::column()));
    EXPECT_FALSE(key(s, K::up, ListLayout::row()));
    EXPECT_FALSE(key(s, K::down, ListLayout::row()));
    EXPECT_TRUE(key(s, K::right, ListLayout::row()));
}

TEST_F(SelectableListTests, CtrlJumpsToTheEndsAndShiftExtends) {
    Selection s = rows(6);
    s.select(3);
    key(s, K::down, ListLayout::column(), true);
    EXPECT_EQ(s.current(), 5);
    EXPECT_EQ(s.selectedRows(), std::vector<int>{5});
    key(s, K::up, ListLayout::column(), true, true);
    EXPECT_EQ(s.current(), 0);
    EXPECT_EQ(s.selectedRows(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST_F(SelectableListTests, SpaceTicksOnlyTickableRowsButAlwaysUnticksAndIsHandled) {
    Selection s = rows(4, Selection::Kind::ticks);
    ListKeyActions<int> actions{[](const int& row) { return row != 2; }, {}, {}, {}};
    s.setCurrent(2);
    EXPECT_TRUE(key(s, K::space, ListLayout::column(), false, false, actions));
    EXPECT_TRUE(s.selected().empty());
    s.setSelected({2});
    key(s, K::space, ListLayout::column(), false, false, actions);
    EXPECT_TRUE(s.selected().empty()) << "a ticked row that may no longer be ticked can be unticked";
    s.setCurrent(1);
    key(s, K::space, ListLayout::column(), false, false, actions);
    EXPECT_TRUE(s.selected().contains(1));

    key(s, K::a, ListLayout::column(), true, false, actions);
    EXPECT_EQ(s.selectedRows(), (std::vector<int>{0, 1, 3}));
    key(s, K::a, ListLayout::column(), true, true, actions);
    EXPECT_TRUE(s.selected().empty()) << "Ctrl+Shift+A empties the ticks";
    EXPECT_FALSE(key(s, K::a, ListLayout::column(), false, false, actions));

    int spaces = 0;
    Selection highlight = rows(3);
    EXPECT_FALSE(key(highlight, K::space, ListLayout::column()));
    EXPECT_TRUE(key(highlight, K::space, ListLayout::column(), false, false, {{}, {}, {}, [&] { ++spaces; }}));
    EXPECT_EQ(spaces, 1);
}

TEST_F(SelectableListTests, EscapeCollapsesOnlyASeveralRowHighlight) {
    Selection s = rows(5);
    s.select(1);
    EXPECT_FALSE(key(s, K::escape, ListLayout::column()));
    key(s, K::down, ListLayout::column(), false, true);
    key(s, K::down, ListLayout::column(), false, true);
    EXPECT_EQ(s.selected().size(), 3u);
    EXPECT_TRUE(key(s, K::escape, ListLayout::column()));
    EXPECT_EQ(s.selectedRows(), std::vector<int>{3});
}

TEST_F(SelectableListTests, RealKeysReachTheOwnerAndUnhandledOnesGoToTheWindow) {
    QWidget window;
    auto* content = new QWidget(&window);
    auto selection = Bound<Selection>::make(rows(10));
    int returns = 0;
    int deletes = 0;
    selectableList<int>(content, selection, {}, {}, [&] { ++deletes; }, {}, ListLayout::grid(4));
    int defaultButton = 0;
    auto* enter = new QShortcut(QKeySequence(Qt::Key_Return), &window);
    QObject::connect(enter, &QShortcut::activated, [&] { ++defaultButton; });
    auto* selectAllElsewhere = new QShortcut(QKeySequence::SelectAll, &window);
    int windowSelectAll = 0;
    QObject::connect(selectAllElsewhere, &QShortcut::activated, [&] { ++windowSelectAll; });
    window.show();
    QApplication::setActiveWindow(&window);
    content->setFocus();

    QTest::keyClick(content, Qt::Key_Down);
    EXPECT_EQ(selection->get().current(), 4);
    QTest::keyClick(content, Qt::Key_Return);
    EXPECT_EQ(returns, 0);
    EXPECT_EQ(defaultButton, 1) << "without onReturn the window's default still fires";
    QTest::keyClick(content, Qt::Key_Backspace);
    QTest::keyClick(content, Qt::Key_Delete);
    EXPECT_EQ(deletes, 2);
    QTest::keyClick(content, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(windowSelectAll, 0) << "the list takes Ctrl+A";
    EXPECT_EQ(selection->get().selected().size(), 10u);
}

TEST_F(SelectableListTests, WhatTheOwnersReturnDeleteAndSpaceDoToTheSelectionStays) {
    QWidget window;
    auto* content = new QWidget(&window);
    auto selection = Bound<Selection>::make(rows(6));
    // Delete removes the current row, Return selects every row, Space goes to the first one.
    const auto removeCurrent = [&] {
        selection->edit([](Selection& s) {
            std::vector<int> left;
            for (int row : {0, 1, 2, 3, 4, 5})
                if (row != s.current())
                    left.push_back(row);
            s.replaceRows(left);
            s.select(left.front());
        });
    };
    const auto selectEvery = [&] { selection->edit([](Selection& s) { s.selectAll([](const int&) { return true; }); }); };
    const auto toFirst = [&] { selection->edit([](Selection& s) { s.select(0); }); };
    selectableList<int>(content, selection, {}, selectEvery, removeCurrent, toFirst, ListLayout::column());
    window.show();
    QApplication::setActiveWindow(&window);
    content->setFocus();

    QTest::keyClick(content, Qt::Key_Down);
    ASSERT_EQ(selection->get().current(), 1);
    QTest::keyClick(content, Qt::Key_Delete);
    EXPECT_EQ(selection->get().rows(), (std::vector<int>{0, 2, 3, 4, 5}));
    EXPECT_EQ(selection->get().current(), 0);
    EXPECT_EQ(selection->get().selectedRows(), std::vector<int>{0});

    QTest::keyClick(content, Qt::Key_Return);
    EXPECT_EQ(selection->get().selectedRows(), (std::vector<int>{0, 2, 3, 4, 5}));
    QTest::keyClick(content, Qt::Key_Down);
    QTest::keyClick(content, Qt::Key_Space);
    EXPECT_EQ(selection->get().current(), 0);
    EXPECT_EQ(selection->get().selectedRows(), std::vector<int>{0});
}

TEST_F(SelectableListTests, ShiftAndCtrlClicksBuildRanges) {
    QWidget content;
    auto selection = Bound<Selection>::make(rows(8));
    auto* list = selectableList<int>(&content, selection, {}, {}, {}, {}, ListLayout::column());
    list->click(2, Qt::NoModifier);
    list->click(5, Qt::ShiftModifier);
    EXPECT_EQ(selection->get().selectedRows(), (std::vector<int>{2, 3, 4, 5}));
    list->click(3, Qt::ControlModifier);
    EXPECT_EQ(selection->get().selectedRows(), (std::vector<int>{2, 4, 5}));
    list->click(7, Qt::NoModifier);
    EXPECT_EQ(selection->get().selectedRows(), std::vector<int>{7});
}

TEST_F(SelectableListTests, TheEditMenusSelectAllReachesTheFocusedList) {
    QWidget window;
    auto* content = new QWidget(&window);
    auto selection = Bound<Selection>::make(rows(4, Selection::Kind::ticks));
    selectableList<int>(content, selection, [](const int& row) { return row % 2 == 0; }, {}, {}, {},
                        ListLayout::column());
    window.show();
    QApplication::setActiveWindow(&window);
    content->setFocus();
    ASSERT_TRUE(StandardMenus::Responder::canPerform("selectAll"));
    EXPECT_TRUE(StandardMenus::Responder::perform("selectAll"));
    EXPECT_EQ(selection->get().selectedRows(), (std::vector<int>{0, 2})) << "select all takes only tickable rows";
}

}  // namespace
}  // namespace DesignTest
