#pragma once

// The Settings tab of the two grab shortcuts: a recorder per command, titled by what the
// command does with the preferred line mode, and a reset to the default shortcuts. It
// keeps nothing of its own: the rows read and write the model's preferences, and the
// commands whose keys the desktop refused are given from outside.

#include "GlyphnabCore/Command.h"
#include "platform/hotkeys/HotKeyService.h"
#include "GlyphnabCore/Preferences.h"

#include <QSet>

#include <functional>
#include <QWidget>

namespace ZantrelUI {
class PillButton;
class SettingsRow;
}  // namespace ZantrelUI

namespace Glyphnab {

class GlyphnabModel;
class ShortcutRow;

class ShortcutsTab final : public QWidget {
    Q_OBJECT
public:
    explicit ShortcutsTab(GlyphnabModel& model, QWidget* parent = nullptr);

    // Both commands bound to their default keys, and nothing else bound.
    static bool hasDefaultShortcuts(const GlyphnabCore::Preferences& prefs);

    ShortcutRow* recorder(GlyphnabCore::Command command) const;
    ZantrelUI::SettingsRow* row(GlyphnabCore::Command command) const;
    // The title the command's row shows now.
    QString rowTitle(GlyphnabCore::Command command) const;
    ZantrelUI::PillButton* resetButton() const { return reset_; }
    // Shows the refused line under the rows of these commands only.
    void setRefused(const QSet<GlyphnabCore::Command>& commands);
    // How the desktop takes global keys, the commands it cannot register for any app, and
    // the keys it reports per command.
    void setDesk(Platform::HotKeyDesk desk, const QSet<GlyphnabCore::Command>& unavailable,
                 const std::function<QString(GlyphnabCore::Command)>& trigger);

private:
    void refresh();
    void resetShortcuts();

    GlyphnabModel& model_;
    ZantrelUI::SettingsRow* grabRow_;
    ZantrelUI::SettingsRow* otherRow_;
    ShortcutRow* grab_;
    ShortcutRow* other_;
    ZantrelUI::PillButton* reset_;
    ZantrelUI::SettingsRow* explanationRow_ = nullptr;
};

}  // namespace Glyphnab
