#include "tests/ZantrelUI/DesignFixture.h"

#include "ZantrelUI/design/ChipPicker.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/GlassSlider.h"
#include "ZantrelUI/design/GlowSwitch.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/SectionLabel.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QTest>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

using namespace ZantrelUI;
using DesignTest::DesignFixture;

namespace {

using ControlsTest = DesignFixture;

void key(QWidget* widget, int k) {
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

void press(QWidget* widget, QPointF at) {
    QMouseEvent down(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &down);
}

TEST_F(ControlsTest, SwitchKnobRestsLeftWhenOffRightWhenOnAndSprings) {
    GlowSwitch toggle(QStringLiteral("Keep recent grabs"));
    toggle.resize(toggle.sizeHint().expandedTo(QSize(240, 30)));
    toggle.show();
    EXPECT_EQ(toggle.switchRect().size(), GlowSwitch::switchSize);
    EXPECT_DOUBLE_EQ(toggle.knobOffset(), 2.5);
    toggle.click();
    EXPECT_TRUE(toggle.isChecked());
    EXPECT_TRUE(toggle.knob().isAnimating());
    EXPECT_EQ(toggle.knob().animation(), Motion::snappy());
    advance(2);
    EXPECT_DOUBLE_EQ(toggle.knobOffset(), 2.5 + 16);
    // The knob's right edge leaves the same 2.5 inset as its left did.
    EXPECT_DOUBLE_EQ(toggle.knobOffset() + GlowSwitch::knobDiameter, GlowSwitch::switchSize.width() - 2.5);
    // A state set by the model moves on the same spring.
    toggle.setChecked(false);
    EXPECT_TRUE(toggle.knob().isAnimating());
    EXPECT_EQ(toggle.knob().animation(), Motion::snappy());
    advance(2);
    EXPECT_DOUBLE_EQ(toggle.knobOffset(), 2.5);
    // One not on screen yet starts where its state puts it.
    GlowSwitch fresh(QStringLiteral("y"));
    fresh.setChecked(true);
    EXPECT_FALSE(fresh.knob().isAnimating());
    EXPECT_DOUBLE_EQ(fresh.knobOffset(), 2.5 + 16);
}

TEST_F(ControlsTest, SwitchClickedWithTheMouseMovesItsKnob) {
    GlowSwitch toggle(QStringLiteral("Show the icon in the system tray"));
    toggle.resize(toggle.sizeHint().expandedTo(QSize(240, 30)));
    toggle.show();
    QTest::mouseClick(&toggle, Qt::LeftButton, Qt::NoModifier, toggle.switchRect().center().toPoint());
    EXPECT_TRUE(toggle.isChecked());
    EXPECT_TRUE(toggle.knob().isAnimating());
    advance(2);
    EXPECT_DOUBLE_EQ(toggle.knobOffset(), 2.5 + 16);
    // The label toggles too.
    QTest::mouseClick(&toggle, Qt::LeftButton, Qt::NoModifier, QPoint(10, toggle.height() / 2));
    EXPECT_FALSE(toggle.isChecked());
    advance(2);
    EXPECT_DOUBLE_EQ(toggle.knobOffset(), 2.5);
}

TEST_F(ControlsTest, SwitchUnderReducedMotionUsesTheShortTiming) {
    QWidget host;
    Environment::setReduceMotionOverride(&host, true);
    auto* toggle = new GlowSwitch(QStringLiteral("x"), &host);
    toggle->click();
    ASSERT_TRUE(toggle->knob().animation());
    EXPECT_EQ(toggle->knob().animation()->kind, Motion::Animation::Kind::timing);
    EXPECT_DOUBLE_EQ(toggle->knob().animation()->duration, 0.15);
}

TEST_F(ControlsTest, SwitchWithHiddenLabelsIsOnlyTheSwitch) {
    GlowSwitch toggle(QStringLiteral("A long label that would take room"));
    const QSize withLabel = toggle.sizeHint();
    toggle.setLabelsHidden(true);
    const QSize bare = toggle.sizeHint();
    const int room = static_cast<int>(2 * GlowSwitch::glowMargin);
    EXPECT_EQ(bare, QSize(38 + room, 22 + room));
    EXPECT_GT(withLabel.width(), bare.width() + 8);
}

TEST_F(ControlsTest, SwitchTellsAssistiveTechnologyItsStateAndToggles) {
    GlowSwitch toggle(QStringLiteral("Show in the menu bar"));
    toggle.show();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&toggle);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::CheckBox);
    EXPECT_EQ(iface->text(QAccessible::Name), "Show in the menu bar");
    EXPECT_EQ(iface->text(QAccessible::Value), "Off");
    EXPECT_FALSE(iface->state().checked);
    ASSERT_NE(iface->actionInterface(), nullptr);
    iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(toggle.isChecked());
    EXPECT_EQ(iface->text(QAccessible::Value), "On");
    EXPECT_TRUE(iface->state().checked);
}

TEST_F(ControlsTest, PillLooksForDisabledPressedAndReduced) {
    const PillButton::Look disabledProminent = PillButton::lookFor(true, false, false, false);
    EXPECT_DOUBLE_EQ(disabledProminent.opacity, 0.4);
    EXPECT_FALSE(disabledProminent.accentShadow);
    EXPECT_TRUE(disabledProminent.accentFill);
    const PillButton::Look restProminent = PillButton::lookFor(true, true, false, false);
    EXPECT_TRUE(restProminent.accentShadow);
    EXPECT_DOUBLE_EQ(restProminent.opacity, 1);
    const PillButton::Look pressedPlain = PillButton::lookFor(false, true, true, false);
    EXPECT_DOUBLE_EQ(pressedPlain.opacity, 0.85);
    EXPECT_DOUBLE_EQ(pressedPlain.scale, 0.97);
    EXPECT_TRUE(pressedPlain.strongFill);
    EXPECT_FALSE(pressedPlain.accentShadow);
    // Reduced motion: no shrink, the rest of the pressed look stays.
    const PillButton::Look pressedReduced = PillButton::lookFor(false, true, true, true);
    EXPECT_DOUBLE_EQ(pressedReduced.scale, 1);
    EXPECT_DOUBLE_EQ(pressedReduced.opacity, 0.85);
    // Disabled wins over pressed for the opacity.
    EXPECT_DOUBLE_EQ(PillButton::lookFor(false, false, true, false).opacity, 0.4);
}

TEST_F(ControlsTest, PillPressEasesWithHoverTimingAndSizesFollowLarge) {
    PillButton pill(QStringLiteral("Copy"));
    pill.show();
    const QSize small = pill.sizeHint();
    pill.setLarge(true);
    EXPECT_GT(pill.sizeHint().width(), small.width() + 10);  // 20 instead of 14 each side
    press(&pill, pill.rect().center());
    EXPECT_TRUE(pill.isDown());
    EXPECT_EQ(pill.pressAnimation().animation(), Motion::hover());
    EXPECT_DOUBLE_EQ(pill.currentLook().scale, 0.97);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&pill);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Button);
    EXPECT_EQ(iface->text(QAccessible::Name), "Copy");
}

ChipPicker* makePicker(QWidget* parent, QVariant selection = QStringLiteral("join")) {
    return new ChipPicker(QStringLiteral("Line breaks"), {QStringLiteral("join"), QStringLiteral("keep"), QStringLiteral("x")},
                          selection,
                          [](const QVariant& v) {
                              const QString s = v.toString();
                              return s == "join" ? QStringLiteral("Join lines")
                                   : s == "keep" ? QStringLiteral("Keep line breaks")
                                                 : QStringLiteral("W");
                          },
                          parent);
}

TEST_F(ControlsTest, ChipRowKeepsItsWidthAndTheLitCapsuleSlides) {
    QWidget host;
    ChipPicker* picker = makePicker(&host);
    picker->resize(picker->sizeHint());
    host.show();
    const QSize before = picker->sizeHint();
    const std::vector<QRectF> chips = picker->chipRects();
    ASSERT_EQ(chips.size(), 3u);
    EXPECT_GE(chips[0].height(), 24);
    EXPECT_DOUBLE_EQ(chips[1].left() - chips[0].right(), 2);
    EXPECT_EQ(picker->litRect(), chips[0]);

    QVariant reported;
    QObject::connect(picker, &ChipPicker::selectionChanged, [&](const QVariant& v) { reported = v; });
    press(picker, chips[1].center());
    EXPECT_EQ(picker->selection(), "keep");
    EXPECT_EQ(reported, "keep");
    EXPECT_EQ(picker->sizeHint(), before);
    EXPECT_EQ(picker->chipRects()[1], chips[1]);
    advance(0.05);
    const QRectF moving = picker->litRect();
    EXPECT_GT(moving.left(), chips[0].left());
    EXPECT_LT(moving.left(), chips[1].left());
    advance(2);
    EXPECT_EQ(picker->litRect(), chips[1]);

    key(picker, Qt::Key_Right);
    EXPECT_EQ(picker->selection(), "x");
    key(picker, Qt::Key_Right);  // stays on the last chip
    EXPECT_EQ(picker->selection(), "x");
    picker->setSelection(QStringLiteral("not an option"));
    EXPECT_EQ(picker->selection(), "x");
}

TEST_F(ControlsTest, ChipPickerIsAGroupOfSelectableChips) {
    QWidget host;
    Environment::setReduceMotionOverride(&host, true);
    ChipPicker* picker = makePicker(&host, QStringLiteral("keep"));
    host.show();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(picker);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Grouping);
    EXPECT_EQ(iface->text(QAccessible::Name), "Line breaks");
    ASSERT_EQ(iface->childCount(), 3);
    EXPECT_EQ(iface->child(1)->text(QAccessible::Name), "Keep line breaks");
    EXPECT_TRUE(iface->child(1)->state().selected);
    EXPECT_FALSE(iface->child(0)->state().selected);
    iface->child(0)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(picker->selection(), "join");
    EXPECT_DOUBLE_EQ(picker->slide().animation()->duration, 0.15);  // reduced motion
}

TEST_F(ControlsTest, SliderSnapsClampsAndSteps) {
    EXPECT_DOUBLE_EQ(GlassSlider::snap(0.6, 0, 1, 0.25), 0.5);
    EXPECT_DOUBLE_EQ(GlassSlider::snap(0.625, 0, 1, 0.25), 0.75);  // halves away from zero
    EXPECT_DOUBLE_EQ(GlassSlider::snap(-0.125, -1, 1, 0.25), -0.25);
    EXPECT_DOUBLE_EQ(GlassSlider::snap(-3, 0, 1, 0.25), 0);
    EXPECT_DOUBLE_EQ(GlassSlider::snap(7, 0, 1, 0.25), 1);

    GlassSlider slider(QStringLiteral("Size"), 0.5, 0, 1, 0.25, QStringLiteral("50 %"), true);
    slider.resize(216, 20);  // 216 − 44 − 8 = 164 for the slider, 148 usable
    slider.show();
    key(&slider, Qt::Key_Right);
    EXPECT_DOUBLE_EQ(slider.value(), 0.75);
    slider.setValue(1.0);
    key(&slider, Qt::Key_Right);
    EXPECT_DOUBLE_EQ(slider.value(), 1.0);
    slider.setValue(0.3);
    key(&slider, Qt::Key_Right);
    EXPECT_DOUBLE_EQ(slider.value(), 0.5);
    slider.setValue(0.3);
    key(&slider, Qt::Key_Left);
    EXPECT_DOUBLE_EQ(slider.value(), 0.0);

    // A drag to 0.6 of the usable width sets 0.5; past either end clamps.
    press(&slider, QPointF(8 + 0.6 * 148, 10));
    EXPECT_DOUBLE_EQ(slider.value(), 0.5);
    press(&slider, QPointF(-40, 10));
    EXPECT_DOUBLE_EQ(slider.value(), 0.0);
    press(&slider, QPointF(500, 10));
    EXPECT_DOUBLE_EQ(slider.value(), 1.0);
    EXPECT_DOUBLE_EQ(slider.knobOffset(), 148);
}

TEST_F(ControlsTest, SliderReportsItsValueTextOnceAndAdjusts) {
    GlassSlider slider(QStringLiteral("Size"), 0.5, 0, 1, 0.25, QStringLiteral("Half"), true);
    slider.show();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&slider);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Slider);
    EXPECT_EQ(iface->text(QAccessible::Name), "Size");
    EXPECT_EQ(iface->text(QAccessible::Value), "Half");
    EXPECT_EQ(iface->childCount(), 0);  // the value text is no element of its own
    iface->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    EXPECT_DOUBLE_EQ(slider.value(), 0.75);
    iface->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    iface->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    EXPECT_DOUBLE_EQ(slider.value(), 0.25);
    ASSERT_NE(iface->valueInterface(), nullptr);
    EXPECT_DOUBLE_EQ(iface->valueInterface()->maximumValue().toDouble(), 1);
    iface->valueInterface()->setCurrentValue(0.8);
    EXPECT_DOUBLE_EQ(slider.value(), 0.75);
}

TEST_F(ControlsTest, SectionLabelIsAnUppercaseHeader) {
    SectionLabel label(QStringLiteral("Recognition languages"));
    EXPECT_EQ(label.shownText(), "RECOGNITION LANGUAGES");
    EXPECT_EQ(label.font().weight(), QFont::DemiBold);
    label.show();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&label);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Heading);
    EXPECT_EQ(iface->text(QAccessible::Name), "Recognition languages");
}

}  // namespace

namespace {

TEST_F(ControlsTest, DegenerateRangesAndSelectionsStaySafe) {
    // An empty range or a zero step is the caller's mistake; nothing breaks.
    GlassSlider flat(QStringLiteral("x"), 3, 3, 3, 0);
    flat.resize(100, 20);
    EXPECT_DOUBLE_EQ(flat.knobOffset(), 0);
    EXPECT_DOUBLE_EQ(flat.valueAt(50), 3);
    key(&flat, Qt::Key_Right);
    EXPECT_DOUBLE_EQ(flat.value(), 3);
    EXPECT_FALSE(std::isnan(GlassSlider::snap(0.3, 0, 1, 0)));
    GlassSlider narrow(QStringLiteral("x"), 0.5, 0, 1, 0.1);
    narrow.resize(10, 20);  // narrower than its knob
    EXPECT_FALSE(std::isnan(narrow.valueAt(5)));

    QWidget host;
    ChipPicker* picker = makePicker(&host, QStringLiteral("gone"));
    EXPECT_TRUE(picker->litRect().isNull());  // no option is on
    ChipPicker empty(QStringLiteral("None"), {}, QVariant(), [](const QVariant&) { return QString(); });
    EXPECT_TRUE(empty.chipRects().empty());
    key(&empty, Qt::Key_Right);
    EXPECT_FALSE(empty.selection().isValid());
}

TEST_F(ControlsTest, DisabledSwitchIgnoresAssistiveToggles) {
    GlowSwitch toggle(QStringLiteral("x"));
    toggle.setEnabled(false);
    toggle.show();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&toggle);
    ASSERT_NE(iface, nullptr);
    iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(toggle.isChecked());
}

}  // namespace
