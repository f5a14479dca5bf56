#include "Glyphnab/windows/ShortcutRow.h"

#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/windows/DeskCommand.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelKit/Copy.h"
#include "ZantrelKit/ShortcutConflict.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/settings/ShortcutField.h"
#include "platform/async/MainThread.h"

#include <QElapsedTimer>
#include <QVBoxLayout>

namespace Glyphnab {

using GlyphnabCore::Command;
using ZantrelText::LineMode;
using namespace ZantrelUI;

namespace {

ShortcutRow::SystemSource& systemSource() {
    static ShortcutRow::SystemSource source;
    return source;
}

// Reading the desktop's list starts a few programs; the rows rebuilt by one change share
// one reading instead of each stalling the window for it.
constexpr qint64 desktopReadingLasts = 5000;  // milliseconds

SystemShortcuts::ShortcutSet systemShortcutsNow() {
    if (const ShortcutRow::SystemSource& source = systemSource())
        return source();
    static SystemShortcuts::ShortcutSet last;
    static QElapsedTimer age;
    if (!age.isValid() || age.elapsed() > desktopReadingLasts) {
        last = SystemShortcuts::current();
        age.start();
    }
    return last;
}

LineMode otherMode(LineMode mode) { return mode == LineMode::join ? LineMode::keep : LineMode::join; }

QFont clashFont() { return Fonts::system(11.5); }

}  // namespace

void ShortcutRow::setSystemShortcuts(SystemSource source) { systemSource() = std::move(source); }

QString ShortcutRow::commandTitle(Command command, LineMode preferred) {
    const LineMode mode = command == Command::grab ? preferred : otherMode(preferred);
    return GlyphnabCore::Words::shortcutTitle(mode == LineMode::join);
}

std::optional<QString> ShortcutRow::clashLine(Command command, const GlyphnabCore::Preferences& prefs,
                                              const SystemShortcuts::ShortcutSet& system) {
    const auto conflicts = ZantrelKit::ShortcutConflicts::find(prefs.shortcuts, system);
    const auto found = conflicts.find(command);
    if (found == conflicts.end())
        return std::nullopt;
    using Kind = ZantrelKit::ShortcutConflict<Command>::Kind;
    if (found->second.kind == Kind::system)
        return ZantrelKit::Copy::Shortcuts::system();
    QStringList names;
    for (const Command other : found->second.commands)
        names.append(commandTitle(other, prefs.lineMode));
    return ZantrelKit::Copy::Shortcuts::sameAs(names);
}

ShortcutRow::ShortcutRow(Command command, GlyphnabModel& model, bool glass, QWidget* parent)
    : QWidget(parent), command_(command), model_(&model), stack_(new QVBoxLayout(this)), glass_(glass) {
    Platform::assertMain();
    // The hierarchical secondary style outside glass cards is the palette's own muted text.
    clash_ = new InkLabel(QString(), clashFont(), glass ? Ink::secondary() : Ink::tertiary(), true, this);
    clash_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    refusedLine_ = new InkLabel(GlyphnabCore::Words::settingsShortcutRefused(), clashFont(),
                                glass ? Ink::secondary() : Ink::tertiary(), true, this);
    refusedLine_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    refusedLine_->hide();
    stack_->setContentsMargins(0, 0, 0, 0);
    stack_->setSpacing(4);
    // The lines take the row's width and align their text: placed by alignment they would
    // wrap at their hint's width while the row is measured at its own.
    stack_->addWidget(clash_);
    stack_->addWidget(refusedLine_);
    deskCommand_ = new DeskCommand(DeskCommand::grabCommand(command == Command::grabOther), glass, this);
    deskCommand_->hide();
    stack_->addWidget(deskCommand_, 0, Qt::AlignRight);
    makeField(model.prefs());

    connect(&model, &GlyphnabModel::prefsChanged, this, &ShortcutRow::refresh);
    refresh();
}

void ShortcutRow::setHotKeys(HotKeys* hotKeys) {
    hotKeys_ = hotKeys;
    field_->setHotKeys(hotKeys);
}

void ShortcutRow::makeField(const GlyphnabCore::Preferences& prefs) {
    if (field_ != nullptr) {
        stack_->removeWidget(field_);
        field_->hide();
        field_->deleteLater();
    }
    const auto stored = prefs.shortcuts.find(command_);
    field_ = new ShortcutField(commandTitle(command_, prefs.lineMode),
                               stored != prefs.shortcuts.end() ? std::optional(stored->second) : std::nullopt, false,
                               false, [this](std::optional<ZantrelKit::Shortcut> shortcut) { store(shortcut); }, this);
    if (hotKeys_ != nullptr)
        field_->setHotKeys(hotKeys_);
    stack_->insertWidget(0, field_, 0, Qt::AlignRight);
    field_->show();
}

std::optional<QString> ShortcutRow::clashText() const {
    if (clash_->isHidden())
        return std::nullopt;
    return clash_->text();
}

void ShortcutRow::setRefused(bool refused) {
    Platform::assertMain();
    refused_ = refused;
    updateDeskLine();
}

void ShortcutRow::setSaysRefusal(bool says) {
    Platform::assertMain();
    saysRefusal_ = says;
    updateDeskLine();
}

void ShortcutRow::setDesk(Platform::HotKeyDesk desk, bool unavailable, const QString& trigger) {
    Platform::assertMain();
    desk_ = desk;
    unavailable_ = unavailable;
    trigger_ = trigger;
    updateDeskLine();
}

void ShortcutRow::updateDeskLine() {
    using Platform::HotKeyDesk;
    std::optional<QString> line;
    switch (desk_) {
    case HotKeyDesk::grabs:
        if (refused_) {
            if (saysRefusal_)
                line = GlyphnabCore::Words::settingsShortcutRefused();
        } else if (unavailable_) {
            line = GlyphnabCore::Words::settingsShortcutNoKey();
        }
        break;
    case HotKeyDesk::portal:
        // The desktop owns the keys; the stored shortcut was only its suggestion.
        line = trigger_.isEmpty() ? GlyphnabCore::Words::settingsShortcutDeskUnset()
                                  : GlyphnabCore::Words::settingsShortcutDeskTrigger(trigger_);
        break;
    case HotKeyDesk::none:
        line = GlyphnabCore::Words::settingsShortcutNoGlobalKeys();
        break;
    }
    // Keys that do nothing are a problem: said in the danger ink, read from the start of the
    // line like a sentence. What the desktop does instead is a note beside the keys.
    const bool problem = desk_ == HotKeyDesk::grabs && (refused_ || unavailable_);
    refusedLine_->setInk(problem ? ZantrelUI::Ink::danger()
                                 : glass_ ? ZantrelUI::Ink::secondary() : ZantrelUI::Ink::tertiary());
    refusedLine_->setAlignment((problem ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    if (line)
        refusedLine_->setText(*line);
    refusedLine_->setVisible(line.has_value());
    deskCommand_->setVisible(desk_ == HotKeyDesk::none);
}

std::optional<QString> ShortcutRow::refusedText() const {
    if (refusedLine_->isHidden())
        return std::nullopt;
    return refusedLine_->text();
}

void ShortcutRow::refresh() {
    Platform::assertMain();
    if (!model_)
        return;
    const GlyphnabCore::Preferences& prefs = model_->prefs();
    // The title names what the keys do, so a new line mode makes a new field; the mode
    // cannot change while this one records.
    if (field_->title() != commandTitle(command_, prefs.lineMode) && !field_->isRecording())
        makeField(prefs);
    const auto stored = prefs.shortcuts.find(command_);
    field_->setShortcut(stored != prefs.shortcuts.end() ? std::optional(stored->second) : std::nullopt);
    const std::optional<QString> line = clashLine(command_, prefs, systemShortcutsNow());
    field_->setClashes(line.has_value());
    clash_->setText(line.value_or(QString()));
    clash_->setVisible(line.has_value());
}

void ShortcutRow::store(std::optional<ZantrelKit::Shortcut> shortcut) {
    Platform::assertMain();
    if (!model_)
        return;
    GlyphnabCore::Preferences prefs = model_->prefs();
    if (shortcut)
        prefs.shortcuts[command_] = *shortcut;
    else
        prefs.shortcuts.erase(command_);
    model_->setPrefs(prefs);
}

}  // namespace Glyphnab
