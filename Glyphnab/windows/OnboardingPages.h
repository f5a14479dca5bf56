#pragma once

// The three pages of the first-run window: what the app does, how grabs read (the screen,
// which needs Screen Recording, or the clipboard picture), and the shortcuts with a line to
// try them on. Each follows the model live; every choice is written through the model.

#include "platform/hotkeys/HotKeyService.h"
#include "GlyphnabCore/Command.h"

#include <QSet>

#include <QPointer>
#include <QWidget>

#include <optional>

class QVBoxLayout;

namespace ZantrelUI {
class ChipPicker;
class InkLabel;
class PillButton;
class PlainButton;
}  // namespace ZantrelUI

namespace Glyphnab {

class GlyphnabModel;
class GrantStatus;
class HotKeyBindings;
class RouteCard;
class ShortcutRow;
class SymbolMark;

// The defaults integer: the step the first-run window opens on next time.
inline const QString onboardingStepKey = QStringLiteral("onboarding.step");

// How far a page reaches past its text column on the left and right, so that the route
// cards' glow is drawn inside it.
int pageOverhang();

class WelcomePage final : public QWidget {
    Q_OBJECT
public:
    explicit WelcomePage(GlyphnabModel& model, QWidget* parent = nullptr);
};

// The screen card's footer. After the system prompt, while the permission is still off:
// the reopen hint with the settings and quit-and-reopen buttons. Otherwise the live status,
// with the Allow button while the permission is off.
class GrantFooter final : public QWidget {
    Q_OBJECT
public:
    enum class Form { status, reopen };

    explicit GrantFooter(GlyphnabModel& model, QWidget* parent = nullptr);

    Form form() const { return form_; }
    GrantStatus* status() const { return status_; }
    QString statusText() const;
    // Null when the form or the state does not show them.
    ZantrelUI::PillButton* allowButton() const { return allow_; }
    ZantrelUI::PlainButton* settingsButton() const { return settings_; }
    ZantrelUI::PillButton* quitReopenButton() const { return quitReopen_; }

private:
    void refresh();
    void rebuild(Form form);
    void allow();

    QPointer<GlyphnabModel> model_;
    Form form_ = Form::status;
    bool built_ = false;
    QVBoxLayout* stack_;
    QWidget* content_ = nullptr;
    GrantStatus* status_ = nullptr;
    ZantrelUI::InkLabel* statusLabel_ = nullptr;
    ZantrelUI::PillButton* allow_ = nullptr;
    ZantrelUI::PlainButton* settings_ = nullptr;
    ZantrelUI::PillButton* quitReopen_ = nullptr;
};

class RoutePage final : public QWidget {
    Q_OBJECT
public:
    explicit RoutePage(GlyphnabModel& model, QWidget* parent = nullptr);

    RouteCard* screenCard() const { return screen_; }
    RouteCard* clipboardCard() const { return clipboard_; }
    GrantFooter* grantFooter() const { return footer_; }

private:
    void refresh();

    QPointer<GlyphnabModel> model_;
    GrantFooter* footer_;
    RouteCard* screen_;
    RouteCard* clipboard_;
};

class KeysPage final : public QWidget {
    Q_OBJECT
public:
    explicit KeysPage(GlyphnabModel& model, QWidget* parent = nullptr);

    ShortcutRow* row(GlyphnabCore::Command command) const;
    ZantrelUI::InkLabel* rowTitle(GlyphnabCore::Command command) const;
    ZantrelUI::ChipPicker* lineModes() const { return lineModes_; }
    ZantrelUI::InkLabel* body() const { return body_; }
    // Where the app lives: its tray icon, or how to reach it without one.
    ZantrelUI::InkLabel* menuBarLine() const { return menuBar_; }
    // The try-it line, when the grab command has a shortcut.
    std::optional<QString> tryItText() const;
    // The symbol beside it: a pointing hand, or a warning while the keys do nothing.
    QString tryItSymbol() const;
    // Shown while another program holds the grab keys: it starts recording new ones.
    ZantrelUI::PlainButton* changeButton() const { return change_; }

    // The registered hot keys: a shortcut the desktop refused shows as such in its row and
    // in the try-it line.
    void setHotKeyBindings(const HotKeyBindings* bindings);

private:
    void refresh();
    void refreshDesk();
    QSet<GlyphnabCore::Command> refused() const;

    QPointer<GlyphnabModel> model_;
    QPointer<const HotKeyBindings> bindings_;
    QMetaObject::Connection bindingsChange_;
    ZantrelUI::PlainButton* change_;
    ZantrelUI::InkLabel* body_;
    ZantrelUI::InkLabel* menuBar_;
    ShortcutRow* rows_[2];
    ZantrelUI::InkLabel* titles_[2];
    ZantrelUI::ChipPicker* lineModes_;
    QWidget* tryIt_;
    SymbolMark* tryItMark_;
    ZantrelUI::InkLabel* tryItLabel_;
    // How the desktop takes global keys, and what it reports for the grab's.
    Platform::HotKeyDesk desk_ = Platform::HotKeyDesk::grabs;
    QString grabTrigger_;
};

}  // namespace Glyphnab
