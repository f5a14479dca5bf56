#include "Glyphnab/windows/ShortcutsTab.h"

#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/windows/ShortcutRow.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/SettingsCard.h"
#include "platform/async/MainThread.h"

#include <QLabel>
#include <QVBoxLayout>

namespace Glyphnab {

using GlyphnabCore::Command;
namespace Words = GlyphnabCore::Words;
using namespace ZantrelUI;

ShortcutsTab::ShortcutsTab(GlyphnabModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    Platform::assertMain();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);

    const ZantrelText::LineMode mode = model_.prefs().lineMode;
    grab_ = new ShortcutRow(Command::grab, model_, true);
    other_ = new ShortcutRow(Command::grabOther, model_, true);
    grabRow_ = new SettingsRow(ShortcutRow::commandTitle(Command::grab, mode), std::nullopt, grab_);
    otherRow_ = new SettingsRow(ShortcutRow::commandTitle(Command::grabOther, mode), std::nullopt, other_);
    auto* shortcuts = new SettingsCard();
    shortcuts->addRow(grabRow_);
    shortcuts->addRow(otherRow_);
    column->addWidget(shortcuts);

    reset_ = new PillButton(Words::settingsResetShortcuts());
    auto* explanation = new SettingsCard();
    explanationRow_ = new SettingsRow(std::nullopt, Words::settingsShortcutsDetail(), reset_);
    explanation->addRow(explanationRow_);
    column->addWidget(explanation);
    connect(reset_, &QAbstractButton::clicked, this, &ShortcutsTab::resetShortcuts);

    connect(&model_, &GlyphnabModel::prefsChanged, this, &ShortcutsTab::refresh);
    refresh();
}

bool ShortcutsTab::hasDefaultShortcuts(const GlyphnabCore::Preferences& prefs) {
    return prefs.shortcuts == GlyphnabCore::Preferences::defaultShortcuts();
}

ShortcutRow* ShortcutsTab::recorder(Command command) const { return command == Command::grab ? grab_ : other_; }

SettingsRow* ShortcutsTab::row(Command command) const { return command == Command::grab ? grabRow_ : otherRow_; }

QString ShortcutsTab::rowTitle(Command command) const { return row(command)->rowTitle()->titleLabel()->text(); }

void ShortcutsTab::setDesk(Platform::HotKeyDesk desk, const QSet<Command>& unavailable,
                           const std::function<QString(Command)>& trigger) {
    for (const Command command : GlyphnabCore::allCommands)
        recorder(command)->setDesk(desk, unavailable.contains(command), trigger ? trigger(command) : QString());
    // Where the desktop owns the keys, what is recorded here is only what the app asks for.
    explanationRow_->rowTitle()->setDetail(desk == Platform::HotKeyDesk::grabs ? Words::settingsShortcutsDetail()
                                                                               : Words::settingsShortcutsDetailDesk());
}

void ShortcutsTab::setRefused(const QSet<Command>& commands) {
    for (const Command command : {Command::grab, Command::grabOther})
        recorder(command)->setRefused(commands.contains(command));
}

void ShortcutsTab::refresh() {
    const GlyphnabCore::Preferences& prefs = model_.prefs();
    // The first row always names what the first shortcut does now.
    for (const Command command : {Command::grab, Command::grabOther})
        row(command)->rowTitle()->titleLabel()->setText(ShortcutRow::commandTitle(command, prefs.lineMode));
    reset_->setEnabled(!hasDefaultShortcuts(prefs));
}

void ShortcutsTab::resetShortcuts() {
    Platform::assertMain();
    GlyphnabCore::Preferences changed = model_.prefs();
    changed.shortcuts = GlyphnabCore::Preferences::defaultShortcuts();
    model_.setPrefs(changed);
}

}  // namespace Glyphnab
