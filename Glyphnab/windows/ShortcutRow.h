#pragma once

// The recorder of one grab command's global shortcut: a shortcut field fed from the
// preferences, writing what the user records back through the model, and under it one line
// naming what the keys clash with (the other grab command, or a shortcut the desktop uses),
// and one more when the desktop refused to register the keys for this app.
// It follows the model's preferences, so both rows update when either one is edited.

#include "GlyphnabCore/Command.h"
#include "GlyphnabCore/Preferences.h"
#include "ZantrelUI/desktop/SystemShortcuts.h"
#include "platform/hotkeys/HotKeyService.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class QVBoxLayout;

namespace ZantrelUI {
class HotKeys;
class InkLabel;
class ShortcutField;
}  // namespace ZantrelUI

namespace Glyphnab {

class DeskCommand;
class GlyphnabModel;

class ShortcutRow final : public QWidget {
    Q_OBJECT
public:
    using SystemSource = std::function<ZantrelUI::SystemShortcuts::ShortcutSet()>;

    ShortcutRow(GlyphnabCore::Command command, GlyphnabModel& model, bool glass, QWidget* parent = nullptr);

    // Where every row reads the desktop's shortcuts; an empty function restores the
    // desktop's own list.
    static void setSystemShortcuts(SystemSource source);

    // The title of a command: `grab` grabs with the preferred line mode, `grabOther` with
    // the other one.
    static QString commandTitle(GlyphnabCore::Command command, ZantrelText::LineMode preferred);
    // The clash line of a command's shortcut, or none when it clashes with nothing.
    static std::optional<QString> clashLine(GlyphnabCore::Command command, const GlyphnabCore::Preferences& prefs,
                                            const ZantrelUI::SystemShortcuts::ShortcutSet& system);

    GlyphnabCore::Command command() const { return command_; }
    // The field; a new one when the command's title changes.
    ZantrelUI::ShortcutField* field() const { return field_; }
    // The registrar whose hot keys recording holds; the shared one by default.
    void setHotKeys(ZantrelUI::HotKeys* hotKeys);
    // The clash line shown now, if any.
    std::optional<QString> clashText() const;
    ZantrelUI::InkLabel* clashLabel() const { return clash_; }

    // Whether the desktop refused this command's keys at the last registration.
    void setRefused(bool refused);
    // Off where the page says the refusal itself, so that it is said once.
    void setSaysRefusal(bool says);
    // How the desktop takes global keys, whether it could not register these keys for
    // any app, and the keys it reports for the command (a desktop that binds them itself).
    // Without global keys the row offers the command to bind in the desktop's settings.
    void setDesk(Platform::HotKeyDesk desk, bool unavailable, const QString& trigger);
    DeskCommand* deskCommand() const { return deskCommand_; }
    bool isRefused() const { return refused_; }
    // The refused line shown now, if any.
    std::optional<QString> refusedText() const;
    ZantrelUI::InkLabel* refusedLabel() const { return refusedLine_; }

private:
    void refresh();
    void makeField(const GlyphnabCore::Preferences& prefs);
    void store(std::optional<ZantrelKit::Shortcut> shortcut);

    GlyphnabCore::Command command_;
    QPointer<GlyphnabModel> model_;
    ZantrelUI::HotKeys* hotKeys_ = nullptr;
    QVBoxLayout* stack_;
    ZantrelUI::ShortcutField* field_ = nullptr;
    ZantrelUI::InkLabel* clash_;
    ZantrelUI::InkLabel* refusedLine_;
    bool glass_;
    bool refused_ = false;
    bool saysRefusal_ = true;
    bool unavailable_ = false;
    Platform::HotKeyDesk desk_ = Platform::HotKeyDesk::grabs;
    QString trigger_;
    DeskCommand* deskCommand_ = nullptr;

    void updateDeskLine();
};

}  // namespace Glyphnab
