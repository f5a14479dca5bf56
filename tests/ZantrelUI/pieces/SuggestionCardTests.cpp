#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/design/LoopPieces.h"
#include "ZantrelUI/design/MotionPieces.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/pieces/SuggestionCard.h"
#include "ZantrelUI/pieces/TickBox.h"

#include "ZantrelKit/Formatting.h"

#include "tests/ZantrelUI/DesignFixture.h"
#include "tests/support/LayoutCheck.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>

namespace DesignTest {
namespace {

using namespace ZantrelUI;
using Content = SuggestionCard::Content;

// Ink of the card's texts: dark on the light card.
bool inked(QRgb pixel) { return qGray(pixel) < 140; }

// The lowest and the rightmost inked pixel inside `area` of `picture`, or -1.
int lowestInk(const QImage& picture, const QRect& area) {
    for (int y = area.bottom(); y >= area.top(); --y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (inked(picture.pixel(x, y)))
                return y;
    return -1;
}
int rightmostInk(const QImage& picture, const QRect& area) {
    for (int x = area.right(); x >= area.left(); --x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (inked(picture.pixel(x, y)))
                return x;
    return -1;
}

class SuggestionCardTests : public DesignFixture {
protected:
    static Content base() {
        Content c;
        c.title = QStringLiteral("Old downloads");
        c.reason = QStringLiteral("Not opened for a year");
        c.symbol = QStringLiteral("doc.on.doc");
        return c;
    }
};

TEST_F(SuggestionCardTests, TheSpokenLabelCarriesTheSizeOnlyWhenThereIsOne) {
    SuggestionCard plain(base());
    EXPECT_EQ(plain.sizeView(), nullptr);
    EXPECT_EQ(plain.accessibleText(QAccessible::Name), u"Old downloads. Not opened for a year");

    Content zero = base();
    zero.size = 0;
    SuggestionCard sized(zero);
    ASSERT_NE(sized.sizeView(), nullptr);
    const QString zeroText = ZantrelKit::Formatting::bytes(0);
    EXPECT_EQ(sized.sizeView()->text(), zeroText);
    EXPECT_EQ(sized.accessibleText(QAccessible::Name), QStringLiteral("Old downloads, %1. Not opened for a year").arg(zeroText));
}

TEST_F(SuggestionCardTests, AnEmptyDetailIsLeftOutButAnEmptyBusyLineStillPulses) {
    Content c = base();
    c.detail = QString();
    c.busy = QString();
    SuggestionCard card(c);
    EXPECT_EQ(card.detailLabel(), nullptr);
    ASSERT_NE(card.busyRow(), nullptr);
    EXPECT_NE(card.busyRow()->findChild<PulseDot*>(), nullptr);
}

TEST_F(SuggestionCardTests, ATickReplacesTheSymbolAndFallsBackToTheTitleForItsLabel) {
    int toggles = 0;
    Content c = base();
    c.tick = SuggestionCard::Tick{ZantrelKit::TickState::on, true, std::nullopt, [&] { ++toggles; }};
    SuggestionCard card(c);
    ASSERT_NE(card.tickBox(), nullptr);
    EXPECT_EQ(card.symbolView(), nullptr);
    EXPECT_EQ(card.tickBox()->label(), QStringLiteral("Old downloads"));
    card.tickBox()->click();
    EXPECT_EQ(toggles, 1);
}

TEST_F(SuggestionCardTests, NoOpenTitleNoButtonAndTheButtonNamesItsCard) {
    int opens = 0;
    Content c = base();
    c.chevron = true;
    c.open = [&] { ++opens; };
    SuggestionCard none(c);
    EXPECT_EQ(none.openButton(), nullptr);
    c.openTitle = QStringLiteral("Review");
    SuggestionCard card(c);
    ASSERT_NE(card.openButton(), nullptr);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(card.openButton());
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Name), u"Review, Old downloads");
    EXPECT_TRUE(card.openButton()->symbolTrails());
    card.openButton()->click();
    EXPECT_EQ(opens, 1);
}

TEST_F(SuggestionCardTests, ARebuiltCardRollsItsSizeFromTheOldNumber) {
    Content c = base();
    c.size = 2'000'000;
    SuggestionCard card(c);
    card.show();
    RollingNumber* number = card.sizeView();
    ASSERT_NE(number, nullptr);
    EXPECT_FALSE(number->roll().isAnimating());

    c.size = 5'000'000;
    c.title = QStringLiteral("Older downloads");
    c.openTitle = QStringLiteral("Review");
    card.setContent(c);
    ASSERT_EQ(card.sizeView(), number) << "the same number rolls on";
    EXPECT_TRUE(number->isVisible());
    EXPECT_TRUE(number->roll().isAnimating());
    EXPECT_DOUBLE_EQ(number->roll().animation()->duration, 0.6);
    EXPECT_EQ(number->text(), ZantrelKit::Formatting::bytes(5'000'000));
    EXPECT_EQ(card.accessibleText(QAccessible::Name),
              QStringLiteral("Older downloads, %1. Not opened for a year").arg(ZantrelKit::Formatting::bytes(5'000'000)));
    ASSERT_NE(card.openButton(), nullptr);
    EXPECT_EQ(card.openButton()->accessibleName(), u"Review, Older downloads");
    advance(0.7);
    EXPECT_FALSE(number->roll().isAnimating());

    Environment::setReduceMotionOverride(&card, true);
    c.size = 9'000'000;
    card.setContent(c);
    EXPECT_FALSE(card.sizeView()->roll().isAnimating()) << "reduced motion swaps at once";
    EXPECT_EQ(card.sizeView()->text(), ZantrelKit::Formatting::bytes(9'000'000));

    // A size that goes and comes back starts afresh, with nothing to roll from.
    c.size.reset();
    card.setContent(c);
    EXPECT_EQ(card.sizeView(), nullptr);
    Environment::setReduceMotionOverride(&card, false);
    c.size = 1'000;
    card.setContent(c);
    ASSERT_NE(card.sizeView(), nullptr);
    EXPECT_FALSE(card.sizeView()->roll().isAnimating());
}

TEST_F(SuggestionCardTests, ATickThatRebuildsItsOwnCardIsSafe) {
    Content c = base();
    c.size = 10;
    SuggestionCard card(c);
    card.show();
    c.tick = SuggestionCard::Tick{ZantrelKit::TickState::off, true, std::nullopt, [&] {
        Content next = c;
        next.tick->state = ZantrelKit::TickState::on;
        next.size = 20;
        card.setContent(next);
    }};
    card.setContent(c);
    ASSERT_NE(card.tickBox(), nullptr);
    card.tickBox()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_NE(card.tickBox(), nullptr);
    EXPECT_EQ(card.tickBox()->state(), ZantrelKit::TickState::on);
    EXPECT_EQ(card.sizeView()->value(), 20);
}

TEST_F(SuggestionCardTests, ALongDetailLayoutIsCutAtTheTailNotMidLetter) {
    Content c = base();
    // Wide letters all the way, so a clip through the text always cuts into ink.
    const QString detail = QStringLiteral("MWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMW");
    c.detail = detail;
    c.size = 12'000'000;
    for (int width : {520, 360}) {
        SCOPED_TRACE("width " + std::to_string(width));
        SuggestionCard card(c);
        card.resize(width, card.heightForWidth(width) > 0 ? card.heightForWidth(width) : card.sizeHint().height());
        card.show();
        QCoreApplication::processEvents();
        QLabel* line = card.detailLabel();
        ASSERT_NE(line, nullptr);
        EXPECT_TRUE(line->text().endsWith(QChar(0x2026))) << line->text().toStdString();
        EXPECT_EQ(TestSupport::layoutFaults(&card), std::vector<std::string>())
            << TestSupport::joined(TestSupport::layoutFaults(&card));
        const QImage picture = card.grab().toImage();
        const QRect box = line->geometry().translated(line->parentWidget()->mapTo(&card, QPoint()));
        const int right = rightmostInk(picture, box);
        ASSERT_GT(right, box.left()) << "the line is drawn";
        EXPECT_LT(right, box.right()) << "the ellipsis ends inside the box; a clipped letter runs to its edge";
        EXPECT_EQ(QAccessible::queryAccessibleInterface(line)->text(QAccessible::Name), detail);
    }
}

TEST_F(SuggestionCardTests, TheTitleLayoutSitsOnTheSizesBaseline) {
    Content c = base();
    c.title = QStringLiteral("Caches");  // no letter reaches below the baseline
    c.size = 12'000'000;
    SuggestionCard card(c);
    card.resize(420, card.sizeHint().height());
    card.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(ZantrelKit::Formatting::bytes(12'000'000), u"12 MB");
    const QImage picture = card.grab().toImage();
    QWidget* size = card.sizeView();
    const QRect sizeBox = size->geometry().translated(size->parentWidget()->mapTo(&card, QPoint()));
    // The title's row: from the text column (past the symbol) to just before the number.
    const QRect titleBox(QPoint(42, sizeBox.top()), QPoint(sizeBox.left() - 4, sizeBox.bottom()));
    const int sizeBase = lowestInk(picture, sizeBox);
    const int titleBase = lowestInk(picture, titleBox);
    ASSERT_GT(sizeBase, 0);
    EXPECT_NEAR(titleBase, sizeBase, 1);
}

}  // namespace
}  // namespace DesignTest
