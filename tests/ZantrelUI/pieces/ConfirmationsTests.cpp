#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/pieces/Confirmations.h"

#include "tests/ZantrelUI/DesignFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QTest>

namespace DesignTest {
namespace {

using namespace ZantrelUI;

class ConfirmationsTests : public DesignFixture {
protected:
    PendingConfirm pending = Bound<std::optional<CountedConfirm>>::make(std::nullopt);
    int runs = 0;
    CountedConfirm request(int count, bool returnConfirms = true) {
        return CountedConfirm(count, QStringLiteral("Delete 3 files?"), QStringLiteral("They go to the Trash."),
                              QStringLiteral("Delete"), returnConfirms, [this] { ++runs; });
    }
};

TEST_F(ConfirmationsTests, OneItemRunsAtOnceAndSeveralWaitForTheCard) {
    for (int count : {1, 0, -2}) {
        request(count).ask(*pending);
        EXPECT_FALSE(pending->get().has_value()) << count;
    }
    EXPECT_EQ(runs, 3);

    QWidget content;
    content.resize(600, 400);
    ConfirmCount* confirm = countedConfirm(&content, pending, true);
    content.show();
    request(2).ask(*pending);
    EXPECT_EQ(runs, 3) << "nothing runs before the confirmation";
    ASSERT_NE(confirm->sheet(), nullptr);
    EXPECT_EQ(confirm->sheet()->width(), 380);
    EXPECT_EQ(confirm->overlay()->geometry(), content.rect());
}

TEST_F(ConfirmationsTests, ConfirmClosesTheCardBeforeTheActionRunsExactlyOnce) {
    QWidget content;
    content.resize(600, 400);
    ConfirmCount* confirm = countedConfirm(&content, pending, true);
    content.show();
    bool closedFirst = false;
    CountedConfirm asking(5, QStringLiteral("Remove 5?"), QString(), QStringLiteral("Remove"), false, [&] {
        ++runs;
        closedFirst = !pending->get().has_value();
        // An action that asks again gets its own card.
        request(4).ask(*pending);
    });
    asking.ask(*pending);
    confirm->sheet()->confirmButton()->click();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(closedFirst);
    ASSERT_TRUE(pending->get().has_value());
    EXPECT_EQ(pending->get()->count, 4);
    EXPECT_EQ(confirm->sheet()->confirm().count, 4);
}

TEST_F(ConfirmationsTests, EscapeAlwaysCancelsAndReturnConfirmsOnlyWhenAsked) {
    QWidget content;
    content.resize(600, 400);
    ConfirmCount* confirm = countedConfirm(&content, pending, true);
    content.show();

    request(3, false).ask(*pending);
    QTest::keyClick(confirm->sheet(), Qt::Key_Return);
    EXPECT_EQ(runs, 0);
    EXPECT_TRUE(pending->get().has_value());
    QTest::keyClick(confirm->sheet(), Qt::Key_Escape);
    EXPECT_FALSE(pending->get().has_value());
    EXPECT_EQ(confirm->sheet(), nullptr);

    request(3, true).ask(*pending);
    QTest::keyClick(confirm->sheet(), Qt::Key_Return);
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(pending->get().has_value());

    request(3).ask(*pending);
    confirm->sheet()->cancelButton()->click();
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(pending->get().has_value());
}

TEST_F(ConfirmationsTests, TheDimmedAreaSwallowsClicksAndKeepsTheCard) {
    QWidget content;
    content.resize(600, 400);
    int behind = 0;
    auto* button = new PillButton(QStringLiteral("Behind"), false, false, &content);
    button->move(2, 2);
    QObject::connect(button, &QAbstractButton::clicked, [&] { ++behind; });
    ConfirmCount* confirm = countedConfirm(&content, pending, true);
    content.show();
    request(2).ask(*pending);
    ASSERT_NE(confirm->overlay(), nullptr);
    QWidget* hit = content.childAt(button->geometry().center());
    EXPECT_EQ(hit, confirm->overlay());
    QTest::mouseClick(hit, Qt::LeftButton, {}, button->geometry().center());
    EXPECT_EQ(behind, 0);
    EXPECT_TRUE(pending->get().has_value());

    // Assistive technology is told the card is modal, and what it asks.
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(confirm->overlay());
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Dialog);
    EXPECT_TRUE(iface->state().modal);
    EXPECT_EQ(iface->text(QAccessible::Name), u"Delete 3 files?");
}

TEST_F(ConfirmationsTests, TheSheetFormClearsTheRequestWhenTheWindowSystemClosesIt) {
    QWidget content;
    content.resize(600, 400);
    ConfirmCount* confirm = countedConfirm(&content, pending, false);
    content.show();
    request(2).ask(*pending);
    auto* dialog = qobject_cast<QDialog*>(confirm->overlay());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    dialog->reject();
    EXPECT_FALSE(pending->get().has_value());
    EXPECT_EQ(runs, 0);
}

TEST_F(ConfirmationsTests, DangerButtonDimsWhenDisabledAndShrinksOnlyWithMotion) {
    EXPECT_EQ(DangerButton::lookFor(false, true, false), (DangerButton::Look{0.4, 1}));
    EXPECT_EQ(DangerButton::lookFor(true, true, false), (DangerButton::Look{0.85, 0.97}));
    EXPECT_EQ(DangerButton::lookFor(true, true, true), (DangerButton::Look{0.85, 1}));
    EXPECT_EQ(DangerButton::lookFor(true, false, false), (DangerButton::Look{1, 1}));

    int presses = 0;
    DangerButton button(QStringLiteral("Delete"));
    QObject::connect(&button, &QAbstractButton::clicked, [&] { ++presses; });
    button.show();
    button.setEnabled(false);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(presses, 0);
    button.setEnabled(true);
    QTest::mousePress(&button, Qt::LeftButton);
    ASSERT_TRUE(button.pressAnimation().animation().has_value());
    EXPECT_DOUBLE_EQ(button.pressAnimation().animation()->duration, 0.12);
    QTest::mouseRelease(&button, Qt::LeftButton);
    EXPECT_EQ(presses, 1);
}

}  // namespace
}  // namespace DesignTest
