#pragma once

// The content of the Screen Recording grant panel: why the permission is needed, the path
// to its switch, whether it is on right now, and the ways out (not now, the clipboard
// picture instead, the desktop's settings, quit and reopen). It follows the model live and
// holds the model's grant watch while it is on screen; it never closes by itself.

#include "ZantrelUI/context/Environment.h"

#include <QPointer>

#include <functional>
#include <vector>

class QHBoxLayout;
class QVBoxLayout;

namespace ZantrelUI {
class Backdrop;
class InkLabel;
class PillButton;
class PlainButton;
}  // namespace ZantrelUI

namespace Glyphnab {

class GlyphnabModel;
class GrantWatchHold;
class GrantStatus;

class GrantPanelView final : public ZantrelUI::GlassWidget {
    Q_OBJECT
public:
    // Wider only when the buttons of the waiting state need more room in the desktop's font.
    static constexpr int panelWidth = 560;

    GrantPanelView(GlyphnabModel& model, std::function<void()> close, QWidget* parent = nullptr);

    // What the panel shows now.
    QString titleText() const;
    QString statusText() const;
    bool showsAgainDetail() const;
    bool showsStuckHint() const;
    GrantStatus* status() const { return status_; }
    ZantrelUI::PillButton* notNowButton() const { return notNow_; }
    ZantrelUI::PlainButton* clipboardButton() const { return clipboard_; }
    // The permission buttons in order; the last is prominent and takes Return.
    const std::vector<ZantrelUI::PillButton*>& grantButtons() const { return grantButtons_; }
    ZantrelUI::PillButton* defaultButton() const;
    bool holdsWatch() const;

    int panelWidthNow() const { return width_; }
    // The panel's width, and the height its content needs at that width.
    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refresh();
    void rebuildGrantButtons(bool granted);
    void readClipboardInstead();

    QPointer<GlyphnabModel> model_;
    std::function<void()> close_;
    GrantWatchHold* watch_;
    int width_ = panelWidth;
    ZantrelUI::Backdrop* backdrop_;
    ZantrelUI::InkLabel* title_;
    ZantrelUI::InkLabel* againDetail_;
    ZantrelUI::InkLabel* detail_;
    QWidget* crumbs_ = nullptr;
    GrantStatus* status_;
    ZantrelUI::InkLabel* statusLabel_;
    ZantrelUI::InkLabel* stuck_;
    ZantrelUI::PillButton* notNow_;
    ZantrelUI::PlainButton* clipboard_;
    QHBoxLayout* buttonRow_;
    QHBoxLayout* grantRow_;
    bool oneLine_ = true;
    std::vector<ZantrelUI::PillButton*> grantButtons_;
    std::optional<bool> builtFor_;
};

}  // namespace Glyphnab
