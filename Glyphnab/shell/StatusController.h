#pragma once

// The app's presence in the panel: a tray icon with a tooltip and a menu that is filled
// anew each time it opens. The icon shows while the preference `showIcon` is on; the
// global shortcuts work either way.

#include "Glyphnab/shell/StatusMenu.h"

#include "ZantrelUI/design/Tokens.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QMenu;
class QSystemTrayIcon;

namespace ZantrelUI {
class MenuKeyStyle;
}

namespace Glyphnab {

class GlyphnabModel;
class HotKeyBindings;

class StatusController final : public QObject {
    Q_OBJECT
public:
    // Key names come from the current keyboard layout unless `keyName` is given.
    StatusController(GlyphnabModel& model, std::function<void()> openSettings,
                     StatusMenu::KeyName keyName = {}, QObject* parent = nullptr);
    ~StatusController() override;

    // The registered hot keys, whose refused shortcuts the menu shows as such.
    void setHotKeyBindings(const HotKeyBindings* bindings);

    QMenu& menu() const { return *menu_; }
    QSystemTrayIcon& item() const { return *item_; }
    // What the preference asks for, whether or not the desktop has a tray to show it in.
    bool iconShown() const { return shown_; }
    // The shade the icon is drawn in now; none before the first look at the panel.
    std::optional<ZantrelUI::ColorScheme> shade() const { return shade_; }
    // Looks at the panel under the icon again and redraws the icon when its shade changes.
    void followPanel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuildMenu();
    void follow();

    GlyphnabModel& model_;
    std::function<void()> openSettings_;
    StatusMenu::KeyName keyName_;
    QPointer<const HotKeyBindings> bindings_;
    std::unique_ptr<ZantrelUI::MenuKeyStyle> keyStyle_;  // outlives the menu that draws with it
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> item_;
    bool shown_ = false;
    std::optional<ZantrelUI::ColorScheme> shade_;
};

}  // namespace Glyphnab
