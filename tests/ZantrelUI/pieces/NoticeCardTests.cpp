#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/pieces/Announce.h"
#include "ZantrelUI/pieces/NoticeCard.h"

#include "tests/ZantrelUI/DesignFixture.h"
#include "tests/support/LayoutCheck.h"

#include <QCoreApplication>
#include <QImage>
#include <QLabel>

#include <string>

namespace DesignTest {
namespace {

using namespace ZantrelUI;

class NoticeCardTests : public DesignFixture {
protected:
    NoticeCardTests() {
        Announce::observer() = [this](const QString& text) { spoken << text; };
    }
    ~NoticeCardTests() override { Announce::observer() = nullptr; }
    QStringList spoken;
};

int distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

TEST_F(NoticeCardTests, ADoneBadgeCastsItsAccentShadowAndTheCheckWearsTheRing) {
    QWidget host;
    Environment::setOffscreen(&host, true);  // the check in its still form
    const auto card = [&](NoticeOutcome outcome, std::optional<QString> symbol) {
        auto* made = new NoticeCard(outcome, std::move(symbol), QStringLiteral("Saved 3 files"), std::nullopt,
                                    std::nullopt, std::nullopt, {}, 320, &host);
        made->adjustSize();
        return made;
    };
    NoticeCard* symbolDone = card(NoticeOutcome::done, QStringLiteral("doc.on.doc"));
    NoticeCard* checkDone = card(NoticeOutcome::done, std::nullopt);
    NoticeCard* failed = card(NoticeOutcome::failed, std::nullopt);
    host.show();
    const QImage withSymbol = symbolDone->grab().toImage();
    const QImage withCheck = checkDone->grab().toImage();
    const QImage failure = failed->grab().toImage();
    const QRect badge = symbolDone->badge()->geometry();
    ASSERT_EQ(checkDone->badge()->geometry(), badge);
    ASSERT_EQ(failed->badge()->geometry(), badge);

    // Just under the badge the done cards are tinted by the shadow; a failure's is clear.
    const QPoint under(badge.center().x(), badge.bottom() + 3);
    EXPECT_GT(distance(withSymbol.pixel(under), failure.pixel(under)), 6);
    EXPECT_GT(distance(withCheck.pixel(under), failure.pixel(under)), 6);
    const QPoint farAway(badge.center().x(), badge.bottom() + 30);
    EXPECT_LE(distance(withSymbol.pixel(farAway), failure.pixel(farAway)), 2);

    // The rim of both done badges: the same disc under the same thin white ring.
    for (const QPoint rim : {QPoint(16, 0), QPoint(16, 1), QPoint(0, 16), QPoint(1, 16), QPoint(31, 16)}) {
        const QPoint at = badge.topLeft() + rim;
        EXPECT_LE(distance(withCheck.pixel(at), withSymbol.pixel(at)), 6) << rim.x() << "," << rim.y();
    }
}

TEST_F(NoticeCardTests, OnlyTheFirstTwoActionsShowInOrderAndNoneLeavesNoRow) {
    QStringList ran;
    QList<NoticeCard::Action> actions;
    for (const char* t : {"Open", "Copy", "Share"})
        actions.push_back({QString::fromLatin1(t), false, [&ran, t] { ran << QString::fromLatin1(t); }});
    NoticeCard card(NoticeOutcome::done, QStringLiteral("doc.on.doc"), QStringLiteral("Saved 3 files"), std::nullopt,
                    std::nullopt, std::nullopt, actions, 360);
    ASSERT_EQ(card.actionButtons().size(), 2);
    EXPECT_EQ(card.actionButtons()[0]->text(), u"Open");
    card.actionButtons()[1]->click();
    EXPECT_EQ(ran, QStringList{QStringLiteral("Copy")});

    NoticeCard bare(NoticeOutcome::done, std::nullopt, QStringLiteral("Saved"), std::nullopt, std::nullopt,
                    std::nullopt, {}, 360);
    EXPECT_TRUE(bare.actionButtons().isEmpty());
    EXPECT_LT(bare.sizeHint().height(), card.sizeHint().height());
    EXPECT_EQ(bare.previewLabel(), nullptr);
    EXPECT_EQ(bare.detailLabel(), nullptr);
    EXPECT_EQ(bare.folderButton(), nullptr);
}

TEST_F(NoticeCardTests, LongTextsLayoutWholeInsideTheCardAtEitherWidth) {
    QWidget host;
    Environment::setOffscreen(&host, true);
    const QList<NoticeCard::Action> actions{{QStringLiteral("Open Folder"), true, [] {}},
                                            {QStringLiteral("Copy Again"), false, [] {}}};
    for (int width : {320, 420}) {
        SCOPED_TRACE("width " + std::to_string(width));
        auto* card = new NoticeCard(
            NoticeOutcome::done, std::nullopt,
            QStringLiteral("Saved 1,204 pages of the quarterly statements as searchable text documents"),
            QStringLiteral("Invoice 2026-0415 from Northwind Traders, with every line item and its tax rate read"),
            QStringLiteral("Pages 17 and 842 had no text to read; they were kept as pictures in the document."),
            NoticeCard::Folder{QStringLiteral("Quarterly Statements 2026 (Northwind)"), [] {}}, actions, width, &host);
        host.show();
        card->show();
        card->adjustSize();
        QCoreApplication::processEvents();
        EXPECT_DOUBLE_EQ(card->cardRect().width(), width);
        EXPECT_EQ(TestSupport::layoutFaults(card), std::vector<std::string>())
            << TestSupport::joined(TestSupport::layoutFaults(card));
        delete card;
    }
}

TEST_F(NoticeCardTests, ADoneCardWithoutSymbolDrawsTheCheckAndAFailureAlwaysTheTriangle) {
    NoticeCard check(NoticeOutcome::done, std::nullopt, QStringLiteral("Done"), std::nullopt, std::nullopt,
                     std::nullopt, {}, 320);
    EXPECT_FALSE(check.badgeSymbol().has_value());
    NoticeCard failed(NoticeOutcome::failed, QStringLiteral("doc.on.doc"), QStringLiteral("Could not save"),
                      std::nullopt, QStringLiteral("The disk is full."), std::nullopt, {}, 320);
    EXPECT_EQ(failed.badgeSymbol(), QStringLiteral("exclamationmark.triangle.fill"));
    ASSERT_NE(failed.detailLabel(), nullptr);
    EXPECT_EQ(failed.detailLabel()->textFormat(), Qt::PlainText);
}

TEST_F(NoticeCardTests, TheFolderButtonOpensTheFolderAndNamesIt) {
    int opened = 0;
    NoticeCard card(NoticeOutcome::done, std::nullopt, QStringLiteral("Saved"), QStringLiteral("report.pdf"),
                    std::nullopt, NoticeCard::Folder{QStringLiteral("Exports"), [&] { ++opened; }}, {}, 360);
    ASSERT_NE(card.folderButton(), nullptr);
    card.folderButton()->click();
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(card.folderButton()->accessibleName().contains(QStringLiteral("Exports")));
    EXPECT_EQ(card.folderButton()->accessibleName(), card.folderButton()->toolTip());
}

TEST_F(NoticeCardTests, OffscreenItIsOpaqueAndSilentAndWithoutABlurItIsOpaqueToo) {
    EXPECT_EQ(NoticeCard::backing(true, true), (NoticeCard::Backing{false, 1, 1}));
    EXPECT_EQ(NoticeCard::backing(false, true), (NoticeCard::Backing{true, 0.82, 0.9}));
    EXPECT_EQ(NoticeCard::backing(false, false), (NoticeCard::Backing{false, 1, 1}));

    QWidget host;
    Environment::setOffscreen(&host, true);
    auto* quiet = new NoticeCard(NoticeOutcome::done, std::nullopt, QStringLiteral("Quiet"), std::nullopt,
                                 std::nullopt, std::nullopt, {}, 320, &host);
    host.show();
    EXPECT_FALSE(quiet->currentBacking().blur);
    EXPECT_TRUE(spoken.isEmpty());

    NoticeCard loud(NoticeOutcome::done, std::nullopt, QStringLiteral("Saved 3 files"), std::nullopt, std::nullopt,
                    std::nullopt, {}, 320);
    loud.show();
    EXPECT_EQ(spoken, QStringList{QStringLiteral("Saved 3 files")});
    EXPECT_NEAR(loud.cardRect().width(), 320, 0.5);
}

}  // namespace
}  // namespace DesignTest
