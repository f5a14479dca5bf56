#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/design/LoopPieces.h"
#include "ZantrelUI/design/MotionPieces.h"
#include "ZantrelUI/pieces/GlassStepper.h"

#include "tests/ZantrelUI/DesignFixture.h"
#include "tests/ZantrelUI/ProportionalDigits.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <limits>

namespace DesignTest {
namespace {

using namespace ZantrelUI;
using StepperMath::Range;

QString plain(std::int64_t v) { return QString::number(v); }

class GlassStepperTests : public DesignFixture {
protected:
    BoundPtr<std::int64_t> value = Bound<std::int64_t>::make(0);
};

TEST_F(GlassStepperTests, StepsClampIntoTheRangeAndNeverOverflow) {
    const Range tenth{0, 10};
    EXPECT_EQ(StepperMath::stepped(12, 1, +1, tenth), 10) << "a value outside is pulled in";
    EXPECT_EQ(StepperMath::stepped(12, 1, -1, tenth), 10);
    EXPECT_EQ(StepperMath::stepped(9, 3, +1, tenth), 10);
    EXPECT_EQ(StepperMath::clamp(250, {0, 100}), 100);
    constexpr auto max = std::numeric_limits<std::int64_t>::max();
    constexpr auto min = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(StepperMath::stepped(max - 1, 5, +1, {0, max}), max);
    EXPECT_EQ(StepperMath::stepped(min + 1, 5, -1, {min, 0}), min);
    EXPECT_EQ(StepperMath::fieldWidth(5), 35);
    EXPECT_EQ(StepperMath::fieldWidth(12345), 53);
}

TEST_F(GlassStepperTests, AtTheLowerBoundMinusIsOffButDownStillRunsAndStays) {
    GlassStepper stepper(QStringLiteral("Copies"), value, {0, 10}, 1, false, plain);
    stepper.show();
    EXPECT_FALSE(stepper.minusButton()->isEnabled());
    EXPECT_TRUE(stepper.plusButton()->isEnabled());
    stepper.setFocus();
    QTest::keyClick(&stepper, Qt::Key_Down);
    EXPECT_EQ(value->get(), 0);
    QTest::keyClick(&stepper, Qt::Key_Right);
    QTest::keyClick(&stepper, Qt::Key_Up);
    EXPECT_EQ(value->get(), 2);
    EXPECT_TRUE(stepper.minusButton()->isEnabled());
    stepper.plusButton()->click();
    EXPECT_EQ(value->get(), 3);
    EXPECT_EQ(stepper.accessibleText(QAccessible::Value), u"3");
}

TEST_F(GlassStepperTests, ATypedEntryIsClampedAndSideArrowsMoveTheCursor) {
    QWidget window;
    auto* stepper = new GlassStepper(QStringLiteral("Width"), value, {0, 100}, 5, true, plain, &window);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_NE(stepper->field(), nullptr);
    EXPECT_EQ(stepper->field()->width(), 35);
    stepper->field()->setFocus();
    stepper->field()->setText(QStringLiteral("250"));
    QTest::keyClick(stepper->field(), Qt::Key_Return);
    EXPECT_EQ(value->get(), 100);
    EXPECT_EQ(stepper->field()->text(), u"100");

    stepper->field()->setText(QStringLiteral("40"));
    stepper->field()->setCursorPosition(2);
    QTest::keyClick(stepper->field(), Qt::Key_Left);
    EXPECT_EQ(stepper->field()->cursorPosition(), 1);
    QTest::keyClick(stepper->field(), Qt::Key_Up);
    EXPECT_EQ(value->get(), 45) << "up still steps, from the typed value";

    stepper->field()->setText(QStringLiteral("abc"));
    QTest::keyClick(stepper->field(), Qt::Key_Return);
    EXPECT_EQ(value->get(), 45) << "text that is no number changes nothing";
}

TEST_F(GlassStepperTests, IncrementStepsUpToTheBoundAndFocusLightsTheBorder) {
    value->set(9);
    GlassStepper stepper(QStringLiteral("Pages"), value, {0, 10}, 3, false, plain);
    stepper.show();
    QApplication::setActiveWindow(&stepper);
    stepper.clearFocus();
    const QColor idle = stepper.border();
    stepper.doAccessibleAction(QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(value->get(), 10);
    stepper.setFocus();
    EXPECT_NE(stepper.border(), idle);
    EXPECT_NEAR(stepper.border().alphaF(), 0.7, 0.01);
}

TEST_F(GlassStepperTests, TheValueKeepsItsDigitsOneWidthTypedOrNot) {
    ProportionalDigits font;
    if (!font.family())
        GTEST_SKIP() << "no installed face with digits of different widths";
    GlassStepper shown(QStringLiteral("Copies"), value, {0, 100}, 1, false, plain);
    GlassStepper typed(QStringLiteral("Copies"), value, {0, 100}, 1, true, plain);
    const QString digits = QStringLiteral("0123456789");
    EXPECT_TRUE(Fonts::sameAdvances(typed.field()->font(), digits)) << font.family()->toStdString();
    // The shown number draws in its own font: its width for 111 and for 888 is the same.
    value->set(111);
    const int narrow = shown.valueView()->sizeHint().width();
    value->set(888);
    EXPECT_EQ(shown.valueView()->sizeHint().width(), narrow) << font.family()->toStdString();
}

// Every element assistive technology reaches under `iface`, itself included.
void collect(QAccessibleInterface* iface, QList<QAccessibleInterface*>& into) {
    into << iface;
    for (int i = 0; i < iface->childCount(); ++i)
        if (QAccessibleInterface* child = iface->child(i))
            collect(child, into);
}

TEST_F(GlassStepperTests, AssistiveTechnologyMeetsOneControlWithOneNameTypedOrNot) {
    QWidget window;
    auto* typed = new GlassStepper(QStringLiteral("Width"), value, {0, 100}, 5, true, plain, &window);
    window.show();
    QList<QAccessibleInterface*> found;
    collect(QAccessible::queryAccessibleInterface(typed), found);
    QList<QAccessibleInterface*> named;
    for (QAccessibleInterface* iface : found)
        if (iface->text(QAccessible::Name) == u"Width")
            named << iface;
    ASSERT_EQ(named.size(), 1);
    EXPECT_EQ(named[0]->object(), typed->field());
    EXPECT_EQ(named[0]->role(), QAccessible::EditableText);
    QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(typed);
    EXPECT_EQ(frame->valueInterface(), nullptr);
    ASSERT_NE(frame->actionInterface(), nullptr);
    EXPECT_FALSE(frame->actionInterface()->actionNames().contains(QAccessibleActionInterface::increaseAction()));
    EXPECT_EQ(found.size(), 2) << "the round buttons stay hidden";

    auto* stepped = new GlassStepper(QStringLiteral("Pages"), value, {0, 10}, 1, false, plain, &window);
    QAccessibleInterface* one = QAccessible::queryAccessibleInterface(stepped);
    EXPECT_EQ(one->role(), QAccessible::SpinBox);
    EXPECT_EQ(one->text(QAccessible::Name), u"Pages");
    EXPECT_EQ(one->childCount(), 0);
    EXPECT_TRUE(one->actionInterface()->actionNames().contains(QAccessibleActionInterface::increaseAction()));
}

}  // namespace
}  // namespace DesignTest
