// The shortcut rows over the model's preferences, with the desktop's shortcuts and the hot
// keys of the test's own.

#include "tests/Glyphnab/WindowFixture.h"

#include "Glyphnab/windows/DeskCommand.h"
#include "Glyphnab/windows/ShortcutRow.h"
#include "ZantrelUI/design/PlainButton.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelKit/Copy.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/settings/ShortcutField.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QVBoxLayout>

namespace {

using Glyphnab::ShortcutRow;
using GlyphnabCore::Command;
using ZantrelKit::Shortcut;
using ZantrelText::LineMode;
using WindowTest::press;
using WindowTest::settle;
using Modifiers = Shortcut::Modifiers;
namespace Words = GlyphnabCore::Words;

const Shortcut grabKeys{17, {Modifiers::control, Modifiers::shift, Modifiers::command}};
const Shortcut otherKeys{38, {Modifiers::control, Modifiers::shift, Modifiers::command}};
// Control-Option-T, which the fake desktop uses.
const Shortcut desktopKeys{17, {Modifiers::control, Modifiers::option}};

class ShortcutRowTest : public WindowTest::WindowFixture {
protected:
    ShortcutRowTest() {
        ShortcutRow::setSystemShortcuts([this] { return system; });
        hotKeys->set({{QStringLiteral("grab"), grabKeys}}, [this](const QString& name) { fired << name; });
    }
    ~ShortcutRowTest() override { ShortcutRow::setSystemShortcuts({}); }

    void makeRows() {
        makeModel();
        auto* column = new QVBoxLayout(&host);
        for (const Command command : GlyphnabCore::allCommands) {
            rows[static_cast<int>(command)] = new ShortcutRow(command, *model, true, &host);
            rows[static_cast<int>(command)]->setHotKeys(hotKeys.get());
            column->addWidget(rows[static_cast<int>(command)]);
        }
        host.resize(400, 200);
        host.show();
        settle();
    }

    ShortcutRow* row(Command command) const { return rows[static_cast<int>(command)]; }

    QWidget host;
    ShortcutRow* rows[2] = {nullptr, nullptr};
    ZantrelUI::SystemShortcuts::ShortcutSet system;
    QStringList fired;
};

TEST_F(ShortcutRowTest, EqualShortcutsShowTheClashUnderBothRowsByTheirCurrentTitles) {
    makeRows();
    EXPECT_FALSE(row(Command::grab)->clashText());
    EXPECT_FALSE(row(Command::grabOther)->clashText());
    EXPECT_FALSE(row(Command::grab)->field()->clashes());

    row(Command::grabOther)->field()->start();
    press(row(Command::grabOther)->field(), Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier | Qt::MetaModifier);
    EXPECT_EQ(model->prefs().shortcuts.at(Command::grabOther), grabKeys);
    // Preferred line mode "keep": grab keeps the lines, grabOther joins them.
    EXPECT_EQ(row(Command::grab)->clashText(), ZantrelKit::Copy::Shortcuts::sameAs({Words::shortcutTitle(true)}));
    EXPECT_EQ(row(Command::grabOther)->clashText(), ZantrelKit::Copy::Shortcuts::sameAs({Words::shortcutTitle(false)}));
    EXPECT_TRUE(row(Command::grab)->field()->clashes());
    EXPECT_TRUE(row(Command::grabOther)->field()->clashes());

    // The names follow the preferred line mode.
    GlyphnabCore::Preferences prefs = model->prefs();
    prefs.lineMode = LineMode::join;
    model->setPrefs(prefs);
    EXPECT_EQ(row(Command::grab)->clashText(), ZantrelKit::Copy::Shortcuts::sameAs({Words::shortcutTitle(false)}));
    EXPECT_EQ(row(Command::grab)->field()->title(), Words::shortcutTitle(true));
    EXPECT_EQ(row(Command::grabOther)->field()->title(), Words::shortcutTitle(false));
    EXPECT_FALSE(fired.contains(QStringLiteral("grab")));
}

TEST_F(ShortcutRowTest, DesktopShortcutClashesOnlyWhileEnabledAndOnlyUnderItsRow) {
    system.insert(desktopKeys);
    makeRows();
    row(Command::grab)->field()->start();
    press(row(Command::grab)->field(), Qt::Key_T, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(model->prefs().shortcuts.at(Command::grab), desktopKeys);
    EXPECT_EQ(row(Command::grab)->clashText(), ZantrelKit::Copy::Shortcuts::system());
    EXPECT_FALSE(row(Command::grabOther)->clashText());

    // The desktop turned it off: the next rebuild finds no clash.
    system.clear();
    model->setPrefs(model->prefs());  // no change: nothing rebuilt
    GlyphnabCore::Preferences prefs = model->prefs();
    prefs.keepRecents = !prefs.keepRecents;
    model->setPrefs(prefs);
    EXPECT_FALSE(row(Command::grab)->clashText());
}

TEST_F(ShortcutRowTest, EachDesktopGetsItsOwnTruthUnderTheRow) {
    makeRows();
    ShortcutRow* grab = row(Command::grab);
    ShortcutRow* other = row(Command::grabOther);
    // Keys another program holds, and keys no app can have here.
    grab->setRefused(true);
    EXPECT_EQ(grab->refusedText(), Words::settingsShortcutRefused());
    // Keys that do nothing are a problem and look like one; a page that says so itself
    // has the row keep quiet.
    const ZantrelUI::InkLabel* line = grab->refusedLabel();
    EXPECT_EQ(line->resolvedInk(), ZantrelUI::Ink::danger().resolve(line));
    EXPECT_TRUE(line->alignment() & Qt::AlignLeft);
    grab->setSaysRefusal(false);
    EXPECT_EQ(grab->refusedText(), std::nullopt);
    grab->setSaysRefusal(true);
    grab->setRefused(false);
    grab->setDesk(Platform::HotKeyDesk::grabs, true, QString());
    EXPECT_EQ(grab->refusedText(), Words::settingsShortcutNoKey());
    EXPECT_TRUE(grab->deskCommand()->isHidden());

    // A desktop that binds the keys itself: what it reports, or that it has none yet.
    grab->setDesk(Platform::HotKeyDesk::portal, false, QStringLiteral("Super+G"));
    EXPECT_EQ(grab->refusedText(), Words::settingsShortcutDeskTrigger(QStringLiteral("Super+G")));
    EXPECT_NE(line->resolvedInk(), ZantrelUI::Ink::danger().resolve(line)) << "a note, not a problem";
    grab->setDesk(Platform::HotKeyDesk::portal, false, QString());
    EXPECT_EQ(grab->refusedText(), Words::settingsShortcutDeskUnset());

    // No global keys for apps: the command to bind instead, one per mode, and a copy.
    for (ShortcutRow* r : {grab, other}) {
        r->setRefused(true);  // never blamed on another program there
        r->setDesk(Platform::HotKeyDesk::none, true, QString());
        EXPECT_EQ(r->refusedText(), Words::settingsShortcutNoGlobalKeys());
        EXPECT_FALSE(r->deskCommand()->isHidden());
    }
    EXPECT_EQ(grab->deskCommand()->command(), QStringLiteral("glyphnab grab"));
    EXPECT_EQ(other->deskCommand()->command(), QStringLiteral("glyphnab grab --other"));
    other->deskCommand()->copyButton()->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("glyphnab grab --other"));
}

TEST_F(ShortcutRowTest, ClearingRemovesTheEntryAndItsClash) {
    makeRows();
    GlyphnabCore::Preferences prefs = model->prefs();
    prefs.shortcuts[Command::grabOther] = grabKeys;
    model->setPrefs(prefs);
    ASSERT_TRUE(row(Command::grab)->clashText());
    row(Command::grabOther)->field()->start();
    press(row(Command::grabOther)->field(), Qt::Key_Backspace);
    EXPECT_FALSE(model->prefs().shortcuts.contains(Command::grabOther));
    EXPECT_EQ(row(Command::grabOther)->field()->shortcut(), std::nullopt);
    EXPECT_EQ(row(Command::grabOther)->field()->labelText(), ZantrelKit::Copy::Shortcuts::notSet());
    EXPECT_FALSE(row(Command::grabOther)->clashText());
    EXPECT_FALSE(row(Command::grab)->clashText());
}

TEST_F(ShortcutRowTest, BareLetterIsRefusedWithABeepAndNothingIsStored) {
    makeRows();
    const auto before = model->prefs();
    row(Command::grab)->field()->start();
    press(row(Command::grab)->field(), Qt::Key_K);
    press(row(Command::grab)->field(), Qt::Key_K, Qt::ShiftModifier);
    EXPECT_EQ(beeps, 2);
    EXPECT_TRUE(row(Command::grab)->field()->isRecording());
    EXPECT_EQ(row(Command::grab)->field()->labelText(), ZantrelKit::Copy::Shortcuts::needsModifier());
    EXPECT_EQ(model->prefs(), before);
}

TEST_F(ShortcutRowTest, SecondRowStartingStopsTheFirstAndTheHoldStaysOne) {
    makeRows();
    row(Command::grab)->field()->start();
    EXPECT_TRUE(hotKeys->isHeld());
    EXPECT_TRUE(hotKeyService->live.empty());
    row(Command::grabOther)->field()->start();
    EXPECT_FALSE(row(Command::grab)->field()->isRecording());
    EXPECT_TRUE(row(Command::grabOther)->field()->isRecording());
    EXPECT_TRUE(hotKeys->isHeld());
    press(row(Command::grabOther)->field(), Qt::Key_Escape);
    EXPECT_FALSE(hotKeys->isHeld());
    EXPECT_EQ(hotKeyService->live.size(), 1u);
    EXPECT_EQ(model->prefs().shortcuts, GlyphnabCore::Preferences::defaultShortcuts());
}

TEST_F(ShortcutRowTest, DestroyingARowMidRecordingReleasesTheHold) {
    makeRows();
    row(Command::grabOther)->field()->start();
    ASSERT_TRUE(hotKeys->isHeld());
    delete rows[1];
    rows[1] = nullptr;
    EXPECT_FALSE(hotKeys->isHeld());
    EXPECT_EQ(hotKeyService->live.size(), 1u);
    EXPECT_EQ(ZantrelUI::ShortcutField::active(), nullptr);
}

}  // namespace
