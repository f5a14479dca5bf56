#pragma once

// The family's shared General page: the app's own rows first, then "Open at login" (the
// desktop's autostart entry) and the updates row. Inside the settings shell it draws glass
// cards; elsewhere a plain grouped form.

#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/context/LoginItem.h"
#include "ZantrelUI/settings/UpdatesState.h"

#include <QList>

#include <functional>
#include <optional>

class QAbstractButton;
class QLabel;

namespace ZantrelUI {

class DangerIconLabel;
class SettingsCard;
class SettingsRow;
class SettingsSwitch;

class GeneralSettingsTab final : public GlassWidget {
    Q_OBJECT
public:
    // The app's rows for a layout: glass cards (true) or form sections (false). Called again
    // whenever the layout is built anew.
    using Extra = std::function<QList<QWidget*>(bool glass)>;

    GeneralSettingsTab(UpdatesState updates, bool offersLoginItem, Extra extra, QWidget* parent = nullptr);

    // The app tells the tab when its updater changes.
    void setUpdates(UpdatesState updates);
    const UpdatesState& updates() const { return updates_; }
    bool offersLoginItem() const { return offersLoginItem_; }

    // None until the tab is first shown.
    std::optional<LoginItem::Status> login() const { return login_; }
    const std::optional<QString>& loginError() const { return loginError_; }
    // What the switch shows: on while the item is on or waits for approval.
    bool loginSwitchOn() const;
    // The switch's change: asks the desktop, then shows what the desktop reports.
    void setLogin(bool on);
    // Reads the login item's state again (done each time the tab is shown).
    void refreshLogin();

    // The layout built now.
    bool glass() const { return glass_; }
    QList<QWidget*> extraWidgets() const { return extraWidgets_; }
    // The switch (glass) or check box (form); none without the login part.
    QAbstractButton* loginToggle() const { return loginToggle_; }
    // The "approve it" row; shown only while the item needs approval.
    QWidget* approvalRow() const { return approvalRow_; }
    QAbstractButton* openLoginItemsButton() const { return openLoginItems_; }
    // The failure text as shown: the switch's detail (glass) or the red line (form).
    std::optional<QString> shownLoginError() const;
    QAbstractButton* checkButton() const { return checkButton_; }
    QString shownUpdatesDetail() const;
    QWidget* body() const { return body_; }

protected:
    bool event(QEvent* event) override;
    void environmentChanged() override;

private:
    void build();
    QWidget* buildGlass();
    QWidget* buildForm();
    void sync();

    UpdatesState updates_;
    bool offersLoginItem_;
    Extra extra_;
    std::optional<LoginItem::Status> login_;
    std::optional<QString> loginError_;
    std::optional<bool> built_;
    bool glass_ = false;

    QWidget* body_ = nullptr;
    QList<QWidget*> extraWidgets_;
    QAbstractButton* loginToggle_ = nullptr;
    SettingsSwitch* loginSwitch_ = nullptr;
    SettingsCard* loginCard_ = nullptr;
    QWidget* approvalRow_ = nullptr;
    QAbstractButton* openLoginItems_ = nullptr;
    QWidget* errorRow_ = nullptr;
    DangerIconLabel* errorLabel_ = nullptr;
    SettingsRow* updatesRow_ = nullptr;
    QLabel* updatesDetail_ = nullptr;
    QAbstractButton* checkButton_ = nullptr;
};

}  // namespace ZantrelUI
