#pragma once

// The app's General tab: the family's shared General page with the app's own rows first:
// line handling, where the grab shortcuts read (with the screen-capture state or the
// clipboard note), recent grabs and the tray icon (with Quit while the icon is hidden).
// Every control shows the model's preferences and writes through its setter.

#include "ZantrelUI/settings/UpdatesState.h"

#include <QPointer>
#include <QWidget>

class QHBoxLayout;
class QLabel;

namespace ZantrelUI {
class ChipPicker;
class GeneralSettingsTab;
class PillButton;
class SettingsCard;
class SettingsSwitch;
}  // namespace ZantrelUI

namespace Glyphnab {

class GlyphnabModel;
class RouteNote;

class GeneralTab final : public QWidget {
    Q_OBJECT
public:
    GeneralTab(GlyphnabModel& model, ZantrelUI::UpdatesState updates, QWidget* parent = nullptr);

    ZantrelUI::GeneralSettingsTab* shared() const { return shared_; }
    // The updater changed (a check can start, or no longer).
    void setUpdates(ZantrelUI::UpdatesState updates);
    // The app's rows as built now.
    ZantrelUI::ChipPicker* lineBreaksPicker() const;
    ZantrelUI::ChipPicker* routePicker() const;
    RouteNote* routeNote() const;
    ZantrelUI::SettingsSwitch* keepRecentsSwitch() const;
    ZantrelUI::SettingsSwitch* showIconSwitch() const;
    ZantrelUI::PillButton* quitButton() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QList<QWidget*> buildRows();
    void sync();

    GlyphnabModel& model_;
    ZantrelUI::GeneralSettingsTab* shared_;
    QPointer<ZantrelUI::ChipPicker> lineBreaks_;
    QPointer<ZantrelUI::ChipPicker> route_;
    QPointer<RouteNote> note_;
    QPointer<ZantrelUI::SettingsSwitch> keepRecents_;
    QPointer<ZantrelUI::SettingsSwitch> showIcon_;
    QPointer<ZantrelUI::PillButton> quit_;
    QPointer<ZantrelUI::SettingsCard> menuCard_;
    QPointer<QWidget> quitRow_;
};

// Under the route choice: the screen-capture state with a way to turn it on, or, for the
// clipboard route, how a screenshot reaches the clipboard.
class RouteNote final : public QWidget {
    Q_OBJECT
public:
    explicit RouteNote(QWidget* parent = nullptr);

    // Shows the clipboard note, or the status line for the screen.
    void setState(bool clipboard, bool screenAllowed);

    bool showsClipboardNote() const;
    // The status line's text, and its button (shown only while capture is off).
    QString statusText() const;
    ZantrelUI::PillButton* openSettingsButton() const { return openSettings_; }
    QWidget* statusMark() const { return mark_; }
    // The status line's mark is the "on" check (else the dashed circle).
    bool statusMarkIsOn() const { return markOn_; }

Q_SIGNALS:
    void openSettingsClicked();

private:
    QWidget* clipboardNote_;
    QWidget* statusLine_;
    QHBoxLayout* statusRow_;
    QWidget* mark_ = nullptr;
    bool markOn_ = false;
    QLabel* statusText_;
    ZantrelUI::PillButton* openSettings_;
};

}  // namespace Glyphnab
