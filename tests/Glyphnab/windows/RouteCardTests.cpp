// The route cards and the grab drawing of the first-run window, offscreen.

#include "Glyphnab/windows/GrabIllustration.h"
#include "Glyphnab/windows/RouteCard.h"

#include <QAccessible>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

using Glyphnab::GrabIllustration;
using Glyphnab::RouteCard;

namespace {

void click(QWidget* target, QPointF local) {
    const QPointF global = target->mapToGlobal(local);
    QMouseEvent down(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &up);
}

struct Cards {
    int chosenScreen = 0;
    int chosenClipboard = 0;
    int footerPressed = 0;
    QWidget host;
    RouteCard* screen;
    RouteCard* clipboard;
    QPushButton* allow;

    Cards() {
        auto* column = new QVBoxLayout(&host);
        allow = new QPushButton(QStringLiteral("Allow"));
        QObject::connect(allow, &QPushButton::clicked, [this] { ++footerPressed; });
        screen = new RouteCard(QStringLiteral("rectangle.dashed"), QStringLiteral("1 shortcut, then drag"),
                               QStringLiteral("Needs screen capture."), true, [this] { ++chosenScreen; }, allow);
        clipboard = new RouteCard(QStringLiteral("doc.on.clipboard"), QStringLiteral("No permission"),
                                  QStringLiteral("A long explanation that wraps over several lines because it says "
                                                 "a good deal about how the clipboard road works and why."),
                                  false, [this] { ++chosenClipboard; });
        column->addWidget(screen);
        column->addWidget(clipboard);
        host.resize(460, 400);
        host.show();
        QCoreApplication::processEvents();
    }
};

TEST(RouteCard, AnyPointOfTheCardChoosesItFooterControlsActAlone) {
    Cards cards;
    RouteCard* card = cards.clipboard;
    const QRectF frame = card->cardRect();
    click(card, frame.topLeft() + QPointF(1, 1));  // the corner, outside the rounded outline
    click(card, frame.center());
    click(card->detailLabel(), QPointF(3, 3));  // on the text
    EXPECT_EQ(cards.chosenClipboard, 3);
    click(card, QPointF(1, 1));  // the glow room around the card is not the card
    EXPECT_EQ(cards.chosenClipboard, 3);

    click(cards.allow, QPointF(cards.allow->rect().center()));
    EXPECT_EQ(cards.footerPressed, 1);
    EXPECT_EQ(cards.chosenScreen, 0);
}

TEST(RouteCard, ChoosingMovesNothingAndLongDetailsWrap) {
    Cards cards;
    RouteCard* card = cards.clipboard;
    const QSize before = card->size();
    const QRectF tile = card->tileRect();
    card->setChosen(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(card->size(), before);
    EXPECT_EQ(card->tileRect(), tile);
    EXPECT_EQ(tile.size(), QSizeF(34, 34));
    EXPECT_EQ(card->markRect().size(), QSizeF(18, 18));
    EXPECT_TRUE(card->detailLabel()->wordWrap());
    EXPECT_GT(card->detailLabel()->height(), card->detailLabel()->fontMetrics().height() * 2);
    // Without a footer the card ends its inset below the detail.
    const QRect detail = card->detailLabel()->geometry();
    EXPECT_NEAR(card->cardRect().bottom() - detail.bottom(), RouteCard::inset, 1.5);
}

TEST(RouteCard, ReadAsAButtonLabelledByItsTitleSelectedWhenChosen) {
    Cards cards;
    QAccessibleInterface* chosen = QAccessible::queryAccessibleInterface(cards.screen);
    QAccessibleInterface* other = QAccessible::queryAccessibleInterface(cards.clipboard);
    ASSERT_NE(chosen, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(chosen->role(), QAccessible::Button);
    EXPECT_EQ(chosen->text(QAccessible::Name), QStringLiteral("1 shortcut, then drag"));
    EXPECT_TRUE(chosen->state().selected);
    EXPECT_FALSE(other->state().selected);
    EXPECT_GE(chosen->childCount(), 3);  // title, detail and the footer's button stay reachable
    other->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(cards.chosenClipboard, 1);
}

TEST(GrabIllustration, SelectionLiesOverTheTwoBrighterLines) {
    GrabIllustration drawing({190, 230, 205, 120, 210, 160});
    drawing.resize(drawing.sizeHint());
    const QRectF selection = drawing.selectionRect();
    for (int i = 0; i < 6; ++i) {
        const bool under = selection.contains(drawing.lineRect(i).center() - QPointF(drawing.lineRect(i).width() / 2 - 1, 0));
        EXPECT_EQ(under, i == 1 || i == 2) << i;
        EXPECT_EQ(GrabIllustration::lineOpacity(i), i == 1 || i == 2 ? 0.9 : 0.45);
    }
    EXPECT_EQ(drawing.screenCardRect().size(), QSizeF(270, 132));
    EXPECT_EQ(drawing.clipboardCardRect().size(), QSizeF(128, 96));
    EXPECT_DOUBLE_EQ(drawing.arrowRect().left() - drawing.screenCardRect().right(), 22);

    GrabIllustration empty({});
    empty.resize(empty.sizeHint());
    QImage picture(empty.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    empty.render(&picture);  // the selection alone still draws
    EXPECT_NE(picture.pixelColor(empty.selectionRect().center().toPoint()).alpha(), 0);

    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(&drawing);
    ASSERT_NE(access, nullptr);
    EXPECT_TRUE(access->state().invisible);
}

}  // namespace
