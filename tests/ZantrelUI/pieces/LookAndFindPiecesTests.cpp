#include "tests/ZantrelUI/DesignFixture.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelKit/MotionSpec.h"
#include "ZantrelUI/pieces/FindField.h"
#include "ZantrelUI/pieces/GlassField.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/pieces/TickBox.h"
#include "ZantrelUI/pieces/WindowReader.h"

#include "tests/support/TestSupport.h"

#include <QFontMetricsF>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace ZantrelUI;
using DesignTest::DesignFixture;
using ZantrelKit::TickState;

namespace {

QAccessibleInterface* accessible(QWidget* widget) { return QAccessible::queryAccessibleInterface(widget); }

using TickBoxTest = DesignFixture;

TEST_F(TickBoxTest, TheCallerOwnsTheStateAndAClickOnlyAsks) {
    int toggles = 0;
    TickBox box(QStringLiteral("Page 3"), TickState::off, true, [&] { ++toggles; });
    box.show();
    box.click();
    EXPECT_EQ(toggles, 1);
    EXPECT_EQ(box.state(), TickState::off);  // unchanged until the caller says so
    box.setState(TickState::mixed);
    EXPECT_EQ(box.state(), TickState::mixed);
    box.setEnabled(false);
    box.click();
    EXPECT_EQ(toggles, 1);  // a disabled box does nothing
}

TEST_F(TickBoxTest, EachStateReadsAndDrawsItsOwnWay) {
    TickBox mixed(QStringLiteral("Pages"), TickState::mixed, true, {});
    mixed.show();
    QAccessibleInterface* iface = accessible(&mixed);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Name), "Pages");
    EXPECT_EQ(iface->text(QAccessible::Value), "Some ticked");
    EXPECT_FALSE(iface->state().selected);
    EXPECT_TRUE(iface->state().checkStateMixed);

    TickBox off(false, true, {});
    off.show();
    EXPECT_TRUE(accessible(&off)->text(QAccessible::Name).isEmpty());
    EXPECT_EQ(accessible(&off)->text(QAccessible::Value), "Not ticked");
    TickBox on(true, true, {});
    on.show();
    EXPECT_TRUE(accessible(&on)->state().selected);
    EXPECT_EQ(accessible(&on)->text(QAccessible::Value), "Ticked");

    const auto mixedLook = TickBoxMark::look(TickState::mixed, true, ColorScheme::light);
    EXPECT_TRUE(mixedLook.accentFill);
    EXPECT_EQ(mixedLook.glyph, TickBoxMark::Look::Glyph::dash);
    EXPECT_DOUBLE_EQ(mixedLook.borderWidth, 1.0);
    const auto enabledOff = TickBoxMark::look(TickState::off, true, ColorScheme::light);
    const auto disabledOff = TickBoxMark::look(TickState::off, false, ColorScheme::light);
    EXPECT_DOUBLE_EQ(disabledOff.borderWidth, 1.25);
    EXPECT_EQ(disabledOff.glyph, TickBoxMark::Look::Glyph::none);
    // The disabled box gets the stronger ink.
    QColor primary = Ink::primary().resolve(ColorScheme::light);
    primary.setAlphaF(primary.alphaF() * 0.75f);
    EXPECT_EQ(disabledOff.border, primary);
    EXPECT_NE(enabledOff.border, disabledOff.border);
}

TEST_F(TickBoxTest, TheMixedDashIsPaintedInTheAccentBox) {
    QImage image(17, 17, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        TickBoxMark::paint(painter, QRectF(0, 0, 17, 17), TickState::mixed, true,
                           Accent(ZantrelKit::AccentPair::glyphnab), ColorScheme::light);
    }
    // The 8 × 2 dash in the middle, the accent around it.
    const QColor onAccent = Ink::onAccent().resolve(ColorScheme::light);
    EXPECT_EQ(QColor(image.pixel(8, 8)).rgb(), onAccent.rgb());
    EXPECT_NE(QColor(image.pixel(8, 4)).rgb(), onAccent.rgb());
    EXPECT_EQ(qAlpha(image.pixel(8, 4)), 255);
    EXPECT_NE(QColor(image.pixel(2, 8)).rgb(), onAccent.rgb());  // past the dash's end
}

TEST_F(TickBoxTest, TheOverrideDecidesTheAnimationBeforeTheDesktop) {
    auto animationAfterFlip = [](QWidget& host) {
        auto* toggle = new TickBoxToggle(QStringLiteral("English"), false, &host);
        toggle->click();
        return toggle->fill().animation();
    };
    DesktopSettings::shared().setAnimationsEnabled(false);  // the desktop reduces motion
    QWidget overridden;
    Environment::setReduceMotionOverride(&overridden, false);
    const auto spring = animationAfterFlip(overridden);
    ASSERT_TRUE(spring);
    EXPECT_EQ(spring->kind, Motion::Animation::Kind::spring);
    EXPECT_DOUBLE_EQ(spring->response, 0.35);

    QWidget following;
    const auto reduced = animationAfterFlip(following);
    ASSERT_TRUE(reduced);
    EXPECT_EQ(reduced->kind, Motion::Animation::Kind::timing);
    EXPECT_DOUBLE_EQ(reduced->duration, 0.15);

    DesktopSettings::shared().setAnimationsEnabled(true);
    QWidget forced;
    Environment::setReduceMotionOverride(&forced, true);
    const auto forcedReduced = animationAfterFlip(forced);
    ASSERT_TRUE(forcedReduced);
    EXPECT_EQ(forcedReduced->kind, Motion::Animation::Kind::timing);
}

TEST_F(TickBoxTest, TheToggleStyleFlipsFromAnywhereAndNeverShowsMixed) {
    TickBoxToggle toggle(QStringLiteral("Deutsch"));
    toggle.resize(toggle.sizeHint());
    toggle.show();
    QTest::mouseClick(&toggle, Qt::LeftButton, {}, QPoint(toggle.width() - 3, toggle.height() / 2));  // on the label
    EXPECT_TRUE(toggle.isChecked());
    EXPECT_EQ(accessible(&toggle)->text(QAccessible::Value), "On");
    EXPECT_FALSE(accessible(&toggle)->state().checkStateMixed);
    toggle.setLabelsHidden(true);
    EXPECT_EQ(toggle.sizeHint(), QSize(17, 17));
    toggle.resize(toggle.sizeHint());
    toggle.click();
    EXPECT_FALSE(toggle.isChecked());
    EXPECT_EQ(accessible(&toggle)->text(QAccessible::Value), "Off");
}

using GlassFieldTest = DesignFixture;

TEST_F(GlassFieldTest, TheClearButtonComesWithTextAndKeepsTheFocus) {
    QWidget window;
    auto* column = new QVBoxLayout(&window);
    auto* field = new GlassField(QStringLiteral("Name"), QString(), std::nullopt, GlassField::Kind::plain, {});
    column->addWidget(field);
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_EQ(field->editor()->placeholderText(), "Name");
    EXPECT_FALSE(field->clearButton()->isVisibleTo(field));
    EXPECT_EQ(field->findChild<QWidget*>(QStringLiteral("zantrel.fieldSymbol")), nullptr);

    field->focusField();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return field->isFieldFocused(); }));
    QTest::keyClicks(field->editor(), QStringLiteral("a"));
    EXPECT_TRUE(field->clearButton()->isVisibleTo(field));
    // The clear button is the row's last item.
    EXPECT_GT(field->clearButton()->geometry().left(), field->editor()->geometry().right());
    EXPECT_EQ(field->clearButton()->accessibleName(), ZantrelKit::Copy::Shortcuts::clear());

    std::vector<QString> edits;
    QObject::connect(field, &GlassField::textEdited, [&](const QString& text) { edits.push_back(text); });
    QTest::mouseClick(field->clearButton(), Qt::LeftButton);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(edits, std::vector<QString>{QString()});
    EXPECT_TRUE(field->isFieldFocused());
    EXPECT_FALSE(field->clearButton()->isVisibleTo(field));
}

TEST_F(GlassFieldTest, KindsChangeTheEditorNotTheRow) {
    int submits = 0;
    GlassField secure(QStringLiteral("Password"), QStringLiteral("x"), QStringLiteral("key.fill"),
                      GlassField::Kind::secure, [&] { ++submits; });
    EXPECT_EQ(secure.editor()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(secure.editor()->placeholderText(), "Password");
    EXPECT_NE(secure.findChild<QWidget*>(QStringLiteral("zantrel.fieldSymbol")), nullptr);
    EXPECT_TRUE(secure.clearButton()->isVisibleTo(&secure));
    Q_EMIT secure.editor()->returnPressed();
    EXPECT_EQ(submits, 1);

    GlassField mono(QStringLiteral("Code"), QString(), std::nullopt, GlassField::Kind::monospaced, {});
    GlassField plain(QStringLiteral("Code"), QString(), std::nullopt, GlassField::Kind::plain, {});
    EXPECT_EQ(mono.editor()->echoMode(), QLineEdit::Normal);
    // What matters is the glyphs: fontconfig gives some monospaced faces no spacing value.
    const QFontMetricsF metrics(mono.editor()->font());
    EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('W')));
    EXPECT_NE(QFontMetricsF(plain.editor()->font()).horizontalAdvance(QLatin1Char('i')),
              QFontMetricsF(plain.editor()->font()).horizontalAdvance(QLatin1Char('W')));
    EXPECT_EQ(QFontInfo(mono.editor()->font()).pixelSize(), QFontInfo(plain.editor()->font()).pixelSize());
}

TEST_F(GlassFieldTest, TheBorderLightsWhileFocused) {
    QWidget window;
    auto* column = new QVBoxLayout(&window);
    auto* field = new GlassField(QStringLiteral("Search"), QString(), std::nullopt, GlassField::Kind::plain, {});
    auto* other = new QLineEdit();
    column->addWidget(field);
    column->addWidget(other);
    window.show();
    QApplication::setActiveWindow(&window);
    other->setFocus();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return other->hasFocus(); }));
    EXPECT_DOUBLE_EQ(field->border().first, 1.0);
    EXPECT_EQ(field->border().second, Surface::track().resolve(ColorScheme::light));
    field->focusField();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return field->isFieldFocused(); }));
    EXPECT_DOUBLE_EQ(field->border().first, 1.5);
}

class FindFieldTest : public DesignFixture {
protected:
    FindFieldTest() {
        auto* column = new QVBoxLayout(&window);
        find = new FindField(ZantrelKit::Copy::Find::prompt(), QString());
        list = new QListWidget();
        list->addItems({QStringLiteral("English"), QStringLiteral("Deutsch")});
        find->setList(list);
        column->addWidget(find);
        column->addWidget(list);
        window.show();
        QApplication::setActiveWindow(&window);
    }

    void focusSearch() {
        find->focusField();
        ASSERT_TRUE(TestSupport::waitUntil([&] { return find->isFieldFocused(); }));
    }

    QWidget window;
    FindField* find;
    QListWidget* list;
};

TEST_F(FindFieldTest, ItsClearButtonClearsTheSearch) {
    EXPECT_EQ(find->field()->symbol(), QStringLiteral("magnifyingglass"));
    EXPECT_EQ(find->field()->kind(), GlassField::Kind::plain);
    EXPECT_EQ(find->field()->clearButton()->accessibleName(), "Clear Search");
    EXPECT_NE(find->field()->clearButton()->accessibleName(), ZantrelKit::Copy::Shortcuts::clear());
}

TEST_F(FindFieldTest, EscapeClearsFirstThenHandsTheKeyboardToTheList) {
    focusSearch();
    QTest::keyClicks(find->field()->editor(), QStringLiteral("deu"));
    EXPECT_EQ(find->text(), "deu");
    QTest::keyClick(find->field()->editor(), Qt::Key_Escape);
    EXPECT_TRUE(find->text().isEmpty());
    EXPECT_TRUE(find->isFieldFocused());
    QTest::keyClick(find->field()->editor(), Qt::Key_Escape);
    EXPECT_TRUE(list->hasFocus());
}

TEST_F(FindFieldTest, DownMovesToTheListOnlyWhenThereIsOne) {
    focusSearch();
    QTest::keyClicks(find->field()->editor(), QStringLiteral("en"));
    QTest::keyClick(find->field()->editor(), Qt::Key_Down);
    EXPECT_TRUE(list->hasFocus());
    EXPECT_EQ(find->text(), "en");  // the search stays

    find->setList(nullptr);
    find->setText(QString());
    focusSearch();
    QTest::keyClick(find->field()->editor(), Qt::Key_Down);
    EXPECT_TRUE(find->isFieldFocused());
    // Without a list a second Escape just leaves the field.
    QTest::keyClick(find->field()->editor(), Qt::Key_Escape);
    EXPECT_FALSE(find->isFieldFocused());
}

TEST_F(FindFieldTest, EscapeInTheFieldNeverReachesTheWindow) {
    struct EscapeWatch final : QObject {
        int escapes = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
                ++escapes;
            return false;
        }
    } watch;
    window.installEventFilter(&watch);
    focusSearch();
    QTest::keyClicks(find->field()->editor(), QStringLiteral("x"));
    QTest::keyClick(find->field()->editor(), Qt::Key_Escape);
    EXPECT_EQ(watch.escapes, 0);
}

TEST_F(FindFieldTest, ControlFAndTheFindBroadcastTakeTheKeyboardInTheirWindowOnly) {
    list->setFocus();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return list->hasFocus(); }));
    QTest::keyClick(list, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(find->isFieldFocused());

    list->setFocus();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return list->hasFocus(); }));
    EXPECT_EQ(FindBroadcast::name(), "zantrel.find");
    // Meant for another window: nothing moves.
    QWidget elsewhere;
    FindBroadcast::shared().post(&elsewhere);
    FindBroadcast::shared().post(nullptr);
    EXPECT_TRUE(list->hasFocus());
    ASSERT_TRUE(TestSupport::waitUntil([&] { return find->home()->window == &window; }));
    FindBroadcast::shared().post(&window);
    EXPECT_TRUE(find->isFieldFocused());
}

TEST_F(FindFieldTest, WindowReaderFollowsItsWindowAndForgetsAClosedOne) {
    auto home = std::make_shared<WindowHome>();
    auto other = std::make_unique<QWidget>();
    auto* view = new QWidget(&window);
    new WindowReader(home, view);
    view->show();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return home->window == &window; }));
    // The view moves; the reader inside it keeps its own parent.
    view->setParent(other.get());
    ASSERT_TRUE(TestSupport::waitUntil([&] { return home->window == other.get(); }));
    other.reset();
    EXPECT_TRUE(home->window.isNull());
}

TEST_F(FindFieldTest, NothingMatchesClearsTheSearch) {
    int clears = 0;
    NothingMatches nothing([&] {
        ++clears;
        find->setText(QString());
    });
    find->setText(QStringLiteral("zzz"));
    auto* button = qobject_cast<PillButton*>(nothing.clearButton());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "Clear Search");
    QStringList texts;
    for (const QLabel* label : nothing.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains("Nothing matches"));
    EXPECT_TRUE(texts.contains(ZantrelKit::Copy::Find::nothingLine()));
    button->click();
    EXPECT_EQ(clears, 1);
    EXPECT_TRUE(find->text().isEmpty());
}

}  // namespace
