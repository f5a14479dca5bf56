#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/design/LoopPieces.h"
#include "ZantrelUI/design/MotionPieces.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/pieces/SuggestionCard.h"
#include "ZantrelUI/pieces/TickBox.h"

#include "ZantrelKit/Formatting.h"

#include "tests/ZantrelUI/DesignFixture.h"

#include <QLabel>

namespace DesignTest {
namespace {

using namespace ZantrelUI;
using Content = SuggestionCard::Content;

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
    EXPECT_EQ(card.openButton()->accessibleName(), u"Review, Old downloads");
    EXPECT_TRUE(card.openButton()->symbolTrails());
    card.openButton()->click();
    EXPECT_EQ(opens, 1);
}

}  // namespace
}  // namespace DesignTest
