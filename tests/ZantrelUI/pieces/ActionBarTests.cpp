#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/design/LoopPieces.h"
#include "ZantrelUI/design/MotionPieces.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/pieces/ActionBar.h"
#include "ZantrelUI/pieces/BusyBar.h"
#include "platform/pasteboard/Pasteboard.h"

#include "tests/ZantrelUI/DesignFixture.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

namespace DesignTest {
namespace {

using namespace ZantrelUI;

class ActionBarTests : public DesignFixture {
protected:
    int runs = 0;
    std::unique_ptr<ActionBar> bar(bool enabled, bool returnKey, std::optional<ActionBar::Busy> busy = {}) {
        auto made = std::make_unique<ActionBar>(QStringLiteral("12 files, 3.4 MB"), QStringLiteral("Shrink"),
                                                enabled, returnKey, std::move(busy), [this] { ++runs; });
        made->resize(600, 72);
        made->show();
        QApplication::setActiveWindow(made.get());
        return made;
    }
};

TEST_F(ActionBarTests, ADisabledJobStartsByNoKeyAndNoClick) {
    auto b = bar(false, true);
    EXPECT_FALSE(b->startButton()->isEnabled());
    QTest::keyClick(b.get(), Qt::Key_Return);
    QTest::keyClick(b.get(), Qt::Key_Return, Qt::ControlModifier);
    b->startButton()->click();
    EXPECT_EQ(runs, 0);
    b->setEnabled(true);
    QTest::keyClick(b.get(), Qt::Key_Return);
    EXPECT_EQ(runs, 1);
}

TEST_F(ActionBarTests, WithoutTheReturnKeyOnlyCtrlReturnStarts) {
    auto b = bar(true, false);
    QTest::keyClick(b.get(), Qt::Key_Return);
    EXPECT_EQ(runs, 0);
    QTest::keyClick(b.get(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(b->startButton()->prominent());
    EXPECT_TRUE(b->startButton()->large());
}

TEST_F(ActionBarTests, TheLineKeepsItsDigitsOneWidthThroughRebuilds) {
    auto b = bar(true, true);
    const QString digits = QStringLiteral("0123456789");
    ASSERT_NE(b->lineLabel(), nullptr);
    EXPECT_TRUE(Fonts::sameAdvances(b->lineLabel()->font(), digits));
    EXPECT_EQ(b->lineLabel()->font().pointSizeF(), Fonts::body().pointSizeF());
    b->setLine(QStringLiteral("111 files, 888 MB"));
    EXPECT_EQ(b->lineLabel()->text(), u"111 files, 888 MB");
    EXPECT_TRUE(Fonts::sameAdvances(b->lineLabel()->font(), digits));
}

TEST_F(ActionBarTests, WhileBusyTheBarShowsProgressAndNoKeyStartsTheJobAgain) {
    auto b = bar(true, true, ActionBar::Busy{QStringLiteral("Shrinking"), std::nullopt, nullptr});
    EXPECT_EQ(b->startButton(), nullptr);
    ASSERT_NE(b->busyBar(), nullptr);
    EXPECT_NE(b->busyBar()->indeterminateBar(), nullptr);
    EXPECT_TRUE(b->busyBar()->stopButton()->isHidden());
    QTest::keyClick(b.get(), Qt::Key_Return);
    QTest::keyClick(b.get(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(runs, 0);
    b->setBusy(std::nullopt);
    ASSERT_NE(b->startButton(), nullptr);
    EXPECT_GE(b->minimumHeight(), 72);
}

class DoneCardTests : public DesignFixture {
protected:
    std::shared_ptr<Platform::MemoryPasteboard> board = std::make_shared<Platform::MemoryPasteboard>();
    static QString number(double v) { return QString::number(qRound(v)); }
};

TEST_F(DoneCardTests, CopyLeavesExactlyTheSkippedLinesOnTheBoard) {
    board->setString(QStringLiteral("earlier"));
    DoneCard card(12, number, QStringLiteral("12 files shrunk."),
                  {{QStringLiteral("a.pdf"), QStringLiteral("locked")}, {QStringLiteral("b.png"), QStringLiteral("empty")}},
                  board, {}, {QStringLiteral("Done"), [] {}});
    ASSERT_NE(card.skippedCard(), nullptr);
    card.copyButton()->click();
    EXPECT_EQ(board->string(), u"a.pdf: locked\nb.png: empty");
    EXPECT_EQ(board->types(), QStringList{QStringLiteral("text/plain")});
}

TEST_F(DoneCardTests, NoSkippedItemsNoCardAndWithoutPutBackOnlyTheNextButton) {
    int nexts = 0;
    DoneCard card(3, number, QStringLiteral("Done."), {}, board, {}, {QStringLiteral("Next"), [&] { ++nexts; }});
    EXPECT_EQ(card.skippedCard(), nullptr);
    EXPECT_EQ(card.putBackButton(), nullptr);
    card.show();
    QApplication::setActiveWindow(&card);
    QTest::keyClick(&card, Qt::Key_Return);
    EXPECT_EQ(nexts, 1) << "Return is the next step";

    int putBacks = 0;
    DoneCard with(3, number, QStringLiteral("Done."), {}, board, [&] { ++putBacks; }, {QStringLiteral("Next"), [] {}});
    ASSERT_NE(with.putBackButton(), nullptr);
    with.putBackButton()->click();
    EXPECT_EQ(putBacks, 1);
}

TEST_F(DoneCardTests, TheNumberCountsUpOverSixTenthsOfASecondOrShowsAtOnceWhenReduced) {
    DoneCard card(40, number, QStringLiteral("40 pages."), {}, board, {}, {QStringLiteral("Next"), [] {}});
    card.show();
    EXPECT_DOUBLE_EQ(card.shown(), 0);
    advance(0.3);
    EXPECT_GT(card.shown(), 0);
    EXPECT_LT(card.shown(), 40);
    advance(0.4);
    EXPECT_DOUBLE_EQ(card.shown(), 40);
    EXPECT_EQ(card.number()->text(), u"40");

    QWidget host;
    Environment::setReduceMotionOverride(&host, true);
    auto* reduced = new DoneCard(40, number, QStringLiteral("40 pages."), {}, board, {}, {QStringLiteral("Next"), [] {}},
                                 &host);
    host.show();
    EXPECT_DOUBLE_EQ(reduced->shown(), 40);
}

}  // namespace
}  // namespace DesignTest

namespace DesignTest {
namespace {

TEST_F(ActionBarTests, AJobThatTurnsTheBarBusyFromItsOwnButtonIsSafe) {
    ZantrelUI::ActionBar* self = nullptr;
    ZantrelUI::ActionBar b(QStringLiteral("1 file"), QStringLiteral("Go"), true, true, std::nullopt, [&] {
        ++runs;
        self->setBusy(ZantrelUI::ActionBar::Busy{QStringLiteral("Going"), 0.5, [] {}});
    });
    self = &b;
    b.show();
    QTest::mouseClick(b.startButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(runs, 1);
    ASSERT_NE(b.busyBar(), nullptr);
    EXPECT_EQ(b.startButton(), nullptr);
}

}  // namespace
}  // namespace DesignTest
