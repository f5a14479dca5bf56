// The shortcut field records over a hot-key registrar of the test's own, with the beep
// counted, and key and mouse events sent as the desktop would deliver them.

#include "tests/ZantrelUI/DesignFixture.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/desktop/HotKeys.h"
#include "ZantrelUI/pieces/KeyCap.h"
#include "ZantrelUI/settings/ShortcutField.h"
#include "ZantrelUI/settings/ShortcutFieldKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <memory>
#include <vector>

using namespace ZantrelUI;
using ZantrelKit::Shortcut;
using Modifiers = Shortcut::Modifiers;

namespace {

class CountingService final : public Platform::HotKeyService {
public:
    void installHandler(Pressed) override {}
    Platform::HotKeyStatus registerKey(std::uint16_t, std::uint32_t, std::uint32_t id) override {
        live.insert(id);
        return Platform::HotKeyStatus::registered;
    }
    void unregisterKey(std::uint32_t id) override { live.erase(id); }
    static inline std::set<std::uint32_t> live;
};

const Shortcut grabKeys{17, {Modifiers::control, Modifiers::shift, Modifiers::command}};

class ShortcutFieldTest : public DesignTest::DesignFixture {
protected:
    ShortcutFieldTest() {
        CountingService::live.clear();
        hotKeys.set({{QStringLiteral("grab"), grabKeys}}, [this](const QString& name) { fired.push_back(name); });
        ShortcutField::setBeep([this] { ++beeps; });
        host.resize(400, 200);
    }
    ~ShortcutFieldTest() override { ShortcutField::setBeep({}); }

    std::unique_ptr<ShortcutField> makeField(std::optional<Shortcut> value = grabKeys, bool allowAny = false) {
        auto field = std::make_unique<ShortcutField>(QStringLiteral("Grab"), value, false, allowAny,
                                                     [this](std::optional<Shortcut> s) { changes.push_back(s); }, &host);
        field->setHotKeys(&hotKeys);
        field->move(20, 20);
        field->resize(field->sizeHint());
        return field;
    }

    static void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent override(QEvent::ShortcutOverride, key, modifiers);
        QCoreApplication::sendEvent(target, &override);
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(target, &event);
    }

    static void click(QWidget* target, QPoint local) {
        const QPointF global = target->mapToGlobal(QPointF(local));
        QMouseEvent down(QEvent::MouseButtonPress, QPointF(local), global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &down);
        QMouseEvent up(QEvent::MouseButtonRelease, QPointF(local), global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &up);
    }

    HotKeys hotKeys{std::make_unique<CountingService>()};
    QWidget host;
    std::vector<QString> fired;
    std::vector<std::optional<Shortcut>> changes;
    int beeps = 0;
};

TEST_F(ShortcutFieldTest, RecordingHoldsTheHotKeysAndTakesTheCurrentGrabShortcut) {
    auto field = makeField();
    EXPECT_EQ(CountingService::live.size(), 1u);
    click(field.get(), QPoint(30, 13));
    ASSERT_TRUE(field->isRecording());
    EXPECT_TRUE(hotKeys.isHeld());
    EXPECT_TRUE(CountingService::live.empty());  // the grab shortcut cannot start a grab now
    EXPECT_EQ(field->labelText(), ZantrelKit::Copy::Shortcuts::recording());

    press(field.get(), Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier | Qt::MetaModifier);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], grabKeys);
    EXPECT_FALSE(field->isRecording());
    EXPECT_FALSE(hotKeys.isHeld());
    EXPECT_EQ(CountingService::live.size(), 1u);
    EXPECT_TRUE(fired.empty());
}

TEST_F(ShortcutFieldTest, SpaceAndReturnStartRecordingAheadOfTheWindowsOwnKeys) {
    auto field = makeField();
    // A window's default button (Continue on Return) acts only on a key no focused
    // widget claims first.
    auto claimed = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent override(QEvent::ShortcutOverride, key, modifiers);
        override.ignore();
        QCoreApplication::sendEvent(field.get(), &override);
        return override.isAccepted();
    };
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Space, Qt::KeyboardModifiers()},
                                         std::pair{Qt::Key_Return, Qt::KeyboardModifiers()},
                                         std::pair{Qt::Key_Enter, Qt::KeyboardModifiers(Qt::KeypadModifier)}}) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(claimed(key, modifiers));
        press(field.get(), key, modifiers);
        EXPECT_TRUE(field->isRecording());
        field->stop();
    }
    EXPECT_FALSE(claimed(Qt::Key_Return, Qt::ControlModifier));
    press(field.get(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(field->isRecording());
    EXPECT_TRUE(changes.empty());
}

TEST_F(ShortcutFieldTest, EscapeCancelsDeleteClearsAndModifiersAloneWait) {
    auto field = makeField();
    field->start();
    press(field.get(), Qt::Key_Shift, Qt::ShiftModifier);
    press(field.get(), Qt::Key_Control, Qt::ControlModifier);
    EXPECT_TRUE(field->isRecording());
    press(field.get(), Qt::Key_Escape);
    EXPECT_FALSE(field->isRecording());
    EXPECT_TRUE(changes.empty());
    EXPECT_FALSE(hotKeys.isHeld());

    field->start();
    press(field.get(), Qt::Key_Backspace);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], std::nullopt);
    EXPECT_FALSE(field->isRecording());

    field->start();
    press(field.get(), Qt::Key_Backspace, Qt::MetaModifier);  // Super+Delete is a shortcut
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1], (Shortcut{51, {Modifiers::command}}));
}

TEST_F(ShortcutFieldTest, BareLetterIsRefusedWithABeepFunctionKeyIsTaken) {
    auto field = makeField();
    field->start();
    press(field.get(), Qt::Key_A);
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(field->isRecording());
    EXPECT_TRUE(field->isRefused());
    EXPECT_EQ(field->labelText(), ZantrelKit::Copy::Shortcuts::needsModifier());
    press(field.get(), Qt::Key_Escape, Qt::ShiftModifier);  // Shift+Escape is no cancel
    EXPECT_EQ(beeps, 2);
    EXPECT_TRUE(field->isRecording());
    EXPECT_TRUE(changes.empty());
    press(field.get(), Qt::Key_F5);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], (Shortcut{96, {}}));

    auto any = makeField(std::nullopt, true);
    any->start();
    EXPECT_FALSE(any->isRefused());  // a new recording starts unrefused
    press(any.get(), Qt::Key_A);
    EXPECT_EQ(changes.back(), (Shortcut{0, {}}));
    EXPECT_EQ(beeps, 2);
}

TEST_F(ShortcutFieldTest, SecondFieldStartingStopsTheFirstWithoutAChange) {
    auto first = makeField();
    auto second = makeField();
    first->start();
    second->start();
    EXPECT_FALSE(first->isRecording());
    EXPECT_TRUE(second->isRecording());
    EXPECT_EQ(ShortcutField::active(), second.get());
    EXPECT_TRUE(hotKeys.isHeld());
    EXPECT_TRUE(changes.empty());
    // Stopping an idle field leaves the other's recording and hold alone.
    first->stop();
    EXPECT_TRUE(second->isRecording());
    EXPECT_TRUE(hotKeys.isHeld());
    second->stop();
    EXPECT_FALSE(hotKeys.isHeld());
    EXPECT_EQ(ShortcutField::active(), nullptr);
}

TEST_F(ShortcutFieldTest, DestroyedOrHiddenMidRecordingReleasesTheHold) {
    auto field = makeField();
    field->start();
    field.reset();
    EXPECT_FALSE(hotKeys.isHeld());
    EXPECT_EQ(ShortcutField::active(), nullptr);
    EXPECT_EQ(CountingService::live.size(), 1u);
    // Keys after that go where they always went.
    QWidget other;
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(&other, &key);
    EXPECT_EQ(beeps, 0);

    host.show();
    auto shown = makeField();
    shown->show();
    shown->start();
    host.hide();
    EXPECT_FALSE(shown->isRecording());
    EXPECT_FALSE(hotKeys.isHeld());
}

TEST_F(ShortcutFieldTest, RecordingTakesTheWholeKeyboardUntilItEndsHoweverItEnds) {
    host.show();
    auto field = makeField();
    field->show();
    QApplication::setActiveWindow(&host);
    field->start();
    EXPECT_EQ(QWidget::keyboardGrabber(), field.get());
    press(field.get(), Qt::Key_Escape);
    EXPECT_FALSE(field->isRecording());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);

    // The app losing the desktop's focus ends it.
    field->start();
    ASSERT_EQ(QWidget::keyboardGrabber(), field.get());
    Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_FALSE(field->isRecording());
    EXPECT_FALSE(hotKeys.isHeld());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);

    // So does another window becoming the active one.
    field->start();
    ASSERT_TRUE(field->isRecording());
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    EXPECT_FALSE(field->isRecording());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    EXPECT_TRUE(changes.empty());
}

TEST_F(ShortcutFieldTest, TheClearButtonSaysWhatItDoes) {
    host.show();
    auto field = makeField();
    field->show();
    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), field->mapToGlobal(QPointF(10, 10)));
    QCoreApplication::sendEvent(field.get(), &enter);
    ASSERT_TRUE(field->showsClearButton());
    const QPointF onClear = field->clearButtonRect().center();
    EXPECT_EQ(field->toolTipAt(onClear), ZantrelKit::Copy::Shortcuts::clear());
    EXPECT_EQ(field->toolTipAt(QPointF(12, 12)), ZantrelKit::Copy::Shortcuts::help());
    field->start();  // no clear button while recording
    EXPECT_EQ(field->toolTipAt(onClear), ZantrelKit::Copy::Shortcuts::help());
    field->stop();
}

TEST_F(ShortcutFieldTest, ClicksOutsideEndRecordingClickOnTheFieldTogglesIt) {
    auto field = makeField();
    QWidget elsewhere(&host);
    elsewhere.setGeometry(200, 100, 100, 50);
    field->start();
    click(&elsewhere, QPoint(5, 5));
    EXPECT_FALSE(field->isRecording());
    EXPECT_FALSE(hotKeys.isHeld());

    click(field.get(), QPoint(10, 10));
    EXPECT_TRUE(field->isRecording());
    click(field.get(), QPoint(10, 10));  // a second click ends it without a change
    EXPECT_FALSE(field->isRecording());
    EXPECT_TRUE(changes.empty());
}

TEST_F(ShortcutFieldTest, LabelFollowsStateAndTheEnvironmentForcesTheRecordingText) {
    auto field = makeField(std::nullopt);
    EXPECT_EQ(field->labelText(), ZantrelKit::Copy::Shortcuts::notSet());
    field->setShortcut(grabKeys);
    EXPECT_TRUE(field->labelText().startsWith(QStringLiteral("Ctrl+Shift+Super+")));
    // The keys written out are never cut short: the field widens to hold them.
    const QFont keys = Fonts::system(13, QFont::DemiBold, true);
    EXPECT_GE(field->sizeHint().width(), QFontMetricsF(keys).horizontalAdvance(field->labelText()) + 20);
    EXPECT_EQ(field->sizeHint().height(), 26);
    field->setShortcut(std::nullopt);
    EXPECT_EQ(field->sizeHint(), ShortcutField::fieldSize.toSize());
    field->setShortcut(grabKeys);
    Environment::setShowsShortcutRecording(&host, true);
    EXPECT_EQ(field->labelText(), ZantrelKit::Copy::Shortcuts::recording());
    EXPECT_EQ(field->accessibleText(QAccessible::Value), ZantrelKit::Copy::Shortcuts::recording());
    EXPECT_FALSE(field->isRecording());
    EXPECT_TRUE(field->accessibleActions().contains(ZantrelKit::Copy::Shortcuts::clear()));
    field->doAccessibleAction(ZantrelKit::Copy::Shortcuts::clear());
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], std::nullopt);
    field->start();
    EXPECT_FALSE(field->accessibleActions().contains(ZantrelKit::Copy::Shortcuts::clear()));
    field->stop();
}

TEST(ShortcutFieldKeys, SynthesizedEventsMapByTheirQtKey) {
    using ShortcutFieldKeys::storedKeyCode;
    EXPECT_EQ(storedKeyCode(Qt::Key_T), 17);
    EXPECT_EQ(storedKeyCode(Qt::Key_J), 38);
    EXPECT_EQ(storedKeyCode(Qt::Key_1), 18);
    EXPECT_EQ(storedKeyCode(Qt::Key_Escape), 53);
    EXPECT_EQ(storedKeyCode(Qt::Key_Delete), 117);
    EXPECT_EQ(storedKeyCode(Qt::Key_F1), 122);
    EXPECT_EQ(storedKeyCode(Qt::Key_unknown), std::nullopt);
}

using KeyCapTest = DesignTest::DesignFixture;

TEST_F(KeyCapTest, ShortTextsGiveASquareKeyLongOnesWidenIt) {
    KeyCap empty{QString()};
    EXPECT_EQ(empty.sizeHint(), QSize(20, 20));
    KeyCap letter(QStringLiteral("⌘"));
    EXPECT_EQ(letter.sizeHint(), QSize(20, 20));
    KeyCap word(QStringLiteral("Return and more"));
    EXPECT_GT(word.sizeHint().width(), 40);
    EXPECT_EQ(word.sizeHint().height(), 20);
    word.resize(word.sizeHint());
    const QRectF lip = word.lipRect();
    EXPECT_DOUBLE_EQ(lip.left(), 3);
    EXPECT_DOUBLE_EQ(lip.right(), word.width() - 3);
    EXPECT_DOUBLE_EQ(lip.height(), 1.5);
    EXPECT_DOUBLE_EQ(lip.bottom(), word.height());
}

}  // namespace
