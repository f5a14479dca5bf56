#pragma once

// The Settings window's content: the app's General, Shortcuts, Languages and About tabs
// in the family's settings shell. The selected tab lives in the window set's selection,
// so it survives closing and reopening the window.

#include "Glyphnab/windows/SettingsSelection.h"

#include <QPointer>
#include <QWidget>

namespace ZantrelUI {
class SettingsShell;
}

namespace Glyphnab {

class GlyphnabModel;
class HotKeyBindings;
class Updater;

class SettingsRoot final : public QWidget {
    Q_OBJECT
public:
    static constexpr int windowWidth = 640;

    // `bindings`, when given, tells the Shortcuts tab which shortcuts the desktop refused.
    SettingsRoot(GlyphnabModel& model, Updater& updater, SettingsSelection& selection,
                 const HotKeyBindings* bindings = nullptr, QWidget* parent = nullptr);

    ZantrelUI::SettingsShell* shell() const { return shell_; }
    // The selected tab's page, built afresh at each change of tab.
    QWidget* page() const;

private:
    QWidget* makePage(SettingsTab tab);

    GlyphnabModel& model_;
    QPointer<Updater> updater_;
    QPointer<SettingsSelection> selection_;
    QPointer<const HotKeyBindings> bindings_;
    ZantrelUI::SettingsShell* shell_;
};

}  // namespace Glyphnab
