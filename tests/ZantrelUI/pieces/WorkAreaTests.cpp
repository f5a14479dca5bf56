#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/design/LoopPieces.h"
#include "ZantrelUI/design/MotionPieces.h"
#include "ZantrelUI/pieces/WorkArea.h"

#include "tests/ZantrelUI/DesignFixture.h"

#include <QApplication>
#include <QTest>

namespace DesignTest {
namespace {

using namespace ZantrelUI;

std::vector<FlowArea<int>> areas(int n) {
    std::vector<FlowArea<int>> list;
    for (int i = 0; i < n; ++i)
        list.push_back({i, QStringLiteral("Area %1").arg(i), QStringLiteral("doc.on.doc"), std::nullopt, std::nullopt,
                        QString(), 0});
    return list;
}

class AreaSidebarTests : public DesignFixture {
protected:
    BoundPtr<int> selection = Bound<int>::make(0);
};

TEST_F(AreaSidebarTests, CtrlDigitsSelectTheFirstNineAreasAndTheTenthOnlyByClick) {
    QWidget window;
    auto* sidebar = new AreaSidebar<int>(areas(10), selection, std::nullopt, {}, &window);
    window.resize(300, 900);
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_EQ(sidebar->width(), AreaSidebar<int>::columnWidth);
    QTest::keyClick(&window, Qt::Key_9, Qt::ControlModifier);
    EXPECT_EQ(selection->get(), 8);
    QTest::keyClick(&window, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(selection->get(), 2);
    EXPECT_EQ(sidebar->shortcutAt(9), nullptr);
    QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(selection->get(), 2);
    sidebar->tileAt(9)->click();
    EXPECT_EQ(selection->get(), 9);
    EXPECT_TRUE(sidebar->tileAt(9)->isSelected());
    EXPECT_FALSE(sidebar->tileAt(2)->isSelected());
}

TEST_F(AreaSidebarTests, TheBarClampsAndOnlyAMovingAreaShowsDashes) {
    EXPECT_DOUBLE_EQ(AreaSidebarText::barWidth(0.05), 3);
    EXPECT_DOUBLE_EQ(AreaSidebarText::barWidth(1.7), 24);
    EXPECT_DOUBLE_EQ(AreaSidebarText::barWidth(0.5), 12);

    auto list = areas(3);
    list[1].busy = AreaBusy::fraction(0.05);
    list[2].busy = AreaBusy::unknown();
    AreaSidebar<int> sidebar(list, selection);
    EXPECT_EQ(sidebar.tileAt(0)->barWidth(), 0);
    EXPECT_DOUBLE_EQ(sidebar.tileAt(0)->lift().value(), 0) << "an idle symbol sits in the middle";
    EXPECT_DOUBLE_EQ(sidebar.tileAt(1)->barWidth(), 3);
    EXPECT_DOUBLE_EQ(sidebar.tileAt(1)->lift().value(), 1);
    EXPECT_EQ(sidebar.tileAt(1)->dashes(), nullptr);
    ASSERT_NE(sidebar.tileAt(2)->dashes(), nullptr);

    list[2].busy.reset();
    sidebar.setAreas(list);
    EXPECT_EQ(sidebar.tileAt(2)->dashes(), nullptr);
    EXPECT_TRUE(sidebar.tileAt(2)->lift().isAnimating()) << "the symbol springs back down";
}

TEST_F(AreaSidebarTests, TheSpokenValueJoinsTheBusyTextAndTheShownCount) {
    EXPECT_EQ(AreaSidebarText::spoken(std::nullopt), QString());
    EXPECT_EQ(AreaSidebarText::spoken(AreaBusy::unknown()), u"In progress");
    EXPECT_EQ(AreaSidebarText::spoken(AreaBusy::fraction(0.426)), u"43% done");
    EXPECT_EQ(AreaSidebarText::spoken(AreaBusy::fraction(0.125)), u"13% done") << "halves round away from zero";
    EXPECT_EQ(AreaSidebarText::value(AreaBusy::fraction(0.426), 3, QStringLiteral("3 files")), u"43% done, 3 files");
    EXPECT_EQ(AreaSidebarText::value(AreaBusy::fraction(0.426), 0, QStringLiteral("no files")), u"43% done");
    EXPECT_EQ(AreaSidebarText::value(std::nullopt, 0, QStringLiteral("no files")), QString());
    EXPECT_EQ(AreaBusy::fraction(0.5), AreaBusy::fraction(0.5));
    EXPECT_NE(AreaBusy::fraction(0.5), AreaBusy::unknown());
}

TEST_F(AreaSidebarTests, ANewShareOfTheWorkMovesTheBarRatherThanJumping) {
    auto list = areas(1);
    list[0].busy = AreaBusy::fraction(0.25);
    AreaSidebar<int> sidebar(list, selection);
    AreaTile& tile = *sidebar.tileAt(0);
    EXPECT_DOUBLE_EQ(tile.barWidth(), 6);
    list[0].busy = AreaBusy::fraction(1.0);
    sidebar.setAreas(list);
    EXPECT_DOUBLE_EQ(tile.barWidth(), 6);
    ASSERT_TRUE(tile.bar().animation().has_value());
    EXPECT_EQ(tile.bar().animation()->kind, Motion::Animation::Kind::spring);
    advance(0.1);
    EXPECT_GT(tile.barWidth(), 6);
    EXPECT_LE(tile.barWidth(), 24);
    advance(2);
    EXPECT_DOUBLE_EQ(tile.barWidth(), 24);

    // Under reduced motion the reduced ease moves it.
    Environment::setReduceMotionOverride(&sidebar, true);
    list[0].busy = AreaBusy::fraction(0.5);
    sidebar.setAreas(list);
    ASSERT_TRUE(tile.bar().animation().has_value());
    EXPECT_EQ(tile.bar().animation()->kind, Motion::Animation::Kind::timing);
    advance(0.2);
    EXPECT_DOUBLE_EQ(tile.barWidth(), 12);
}

TEST_F(AreaSidebarTests, SelectingUnderReducedMotionEasesInsteadOfSpringing) {
    AreaSidebar<int> sidebar(areas(2), selection);
    Environment::setReduceMotionOverride(&sidebar, true);
    sidebar.tileAt(1)->click();
    const auto& animation = sidebar.tileAt(1)->lit().animation();
    ASSERT_TRUE(animation.has_value());
    EXPECT_EQ(animation->kind, Motion::Animation::Kind::timing);
    EXPECT_DOUBLE_EQ(animation->duration, 0.15);

    Environment::setReduceMotionOverride(&sidebar, false);
    sidebar.tileAt(0)->click();
    ASSERT_TRUE(sidebar.tileAt(0)->lit().animation().has_value());
    EXPECT_EQ(sidebar.tileAt(0)->lit().animation()->kind, Motion::Animation::Kind::spring);
}

TEST_F(AreaSidebarTests, OnlyTheTileWhoseBumpsRoseShowsAPop) {
    auto list = areas(2);
    AreaSidebar<int> sidebar(list, selection);
    sidebar.show();
    list[1].bumps = 1;
    sidebar.setAreas(list);
    EXPECT_FALSE(sidebar.tileAt(0)->bump()->isBumping());
    EXPECT_TRUE(sidebar.tileAt(1)->bump()->isBumping());
    advance(1);
    sidebar.setAreas(list);
    EXPECT_FALSE(sidebar.tileAt(1)->bump()->isBumping()) << "the same count draws no second pop";
}

TEST_F(AreaSidebarTests, FramesAreReportedOnlyInANamedSpace) {
    QWidget window;
    window.setObjectName(QStringLiteral("dock"));
    int calls = 0;
    std::map<int, QRectF> frames;
    auto* without = new AreaSidebar<int>(areas(2), selection, std::nullopt,
                                         [&](const int&, const QRectF&) { ++calls; }, &window);
    auto* with = new AreaSidebar<int>(areas(2), selection, QStringLiteral("dock"),
                                      [&](const int& id, const QRectF& frame) { frames[id] = frame; }, &window);
    with->move(100, 0);
    window.resize(300, 400);
    window.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 0);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].size(), QSizeF(40, 32));
    EXPECT_GE(frames[0].left(), 100);
    EXPECT_GT(frames[1].top(), frames[0].top());
    with->move(150, 0);
    QCoreApplication::processEvents();
    EXPECT_GE(frames[0].left(), 150) << "moving the sidebar reports the tiles' new frames";
    (void)without;
}

TEST_F(AreaSidebarTests, ACountShowsOnlyAboveZeroAndTheTileSpeaksItsState) {
    auto list = areas(1);
    list[0].count = 0;
    list[0].countSpoken = QStringLiteral("none");
    AreaSidebar<int> sidebar(list, selection);
    AreaTile* tile = sidebar.tileAt(0);
    EXPECT_TRUE(tile->countView() == nullptr || tile->countView()->isHidden());
    list[0].count = 4;
    list[0].countSpoken = QStringLiteral("4 files");
    sidebar.setAreas(list);
    ASSERT_NE(tile->countView(), nullptr);
    EXPECT_FALSE(tile->countView()->isHidden());
    EXPECT_EQ(tile->countView()->text(), u"4");
    EXPECT_EQ(tile->accessibleText(QAccessible::Name), u"Area 0");
    EXPECT_EQ(tile->accessibleText(QAccessible::Value), u"4 files");
    QAccessible::State state;
    tile->addAccessibleState(state);
    EXPECT_TRUE(state.selected);
}

}  // namespace
}  // namespace DesignTest
