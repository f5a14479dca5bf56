#pragma once

// The family's alternative to a tray menu: a borderless floating panel that drops down
// under the tray icon and hosts any view, with the rounded card edge, the panel motion,
// and a menu's dismiss rules (a click elsewhere, Escape, a switch of virtual desktop).

#include "ZantrelUI/context/Environment.h"

#include <QList>
#include <QPointer>
#include <QRect>

#include <functional>
#include <memory>
#include <optional>

class QSystemTrayIcon;

namespace Platform {
class CurrentDesktopWatch;
}

namespace ZantrelUI {

class PanelMotion;

// The panel's window: it takes the keyboard, and Escape runs `onEscape`.
class MenuWindow final : public GlassWidget {
    Q_OBJECT
public:
    MenuWindow();

    std::function<void()> onEscape = [] {};

Q_SIGNALS:
    void deactivated();
    void resized();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

class MenuBarPanel final : public QObject {
    Q_OBJECT
public:
    static constexpr int margin = 8;  // from the sides of the available area
    static constexpr int gap = 6;     // between the icon and the panel
    static constexpr qreal radius = 24;

    // Whether screen capture may see the panel. X11 has no per-window capture exclusion,
    // so the panel keeps what it was asked and every capture sees it.
    enum class Sharing { none, readOnly };

    struct Screen {
        QRect frame;
        QRect available;
    };

    // What the panel learns of the desktop when it shows or loses the keyboard.
    struct Surroundings {
        // The tray icon's rectangle in global coordinates; empty when the tray says nothing.
        std::function<QRect()> itemRect;
        std::function<QPoint()> pointer;
        // The primary screen first.
        std::function<QList<Screen>()> screens;
        std::function<bool()> reduceMotion;

        static Surroundings live(QSystemTrayIcon* item);
    };

    struct Placement {
        QRect frame;
        bool below = true;  // hangs under the icon (else stands on top of it)
        int edge = 0;       // the y the panel keeps as it grows: its top when below, else its bottom
    };

    // Where a panel of `size` goes for an icon at `item` (the pointer when it is empty): centred
    // under it, kept `margin` inside the available area's sides (a panel wider than the room
    // sticks to the right margin), `gap` under the icon, or over it when it only fits there.
    // None without any screen.
    static std::optional<Placement> placement(QSize size, QRect item, QPoint pointer, const QList<Screen>& screens);

    // `content` becomes the panel's; `surroundings` none = the live desktop.
    MenuBarPanel(QSystemTrayIcon* item, QWidget* content, std::optional<Surroundings> surroundings = std::nullopt,
                 QObject* parent = nullptr);
    ~MenuBarPanel() override;

    void show(Sharing sharing = Sharing::readOnly);
    void hide();
    // What Escape does.
    void dismiss();

    bool isShown() const { return shown_; }
    MenuWindow* shownPanel() const { return shown_ ? panel_.get() : nullptr; }
    MenuWindow* panel() const { return panel_.get(); }
    QWidget* content() const { return content_; }
    Sharing sharing() const { return sharing_; }
    const PanelMotion& motion() const { return *motion_; }
    // The panel's size: 100 × 60 until there is content, then the content's fitting size.
    QSize measure() const;
    // The edge the panel keeps while shown.
    std::optional<Placement> anchor() const { return anchor_; }

    // Runs the deactivation rule now: a click on the tray icon keeps the panel (the icon's
    // own action decides), anything else hides it.
    void resignedKey();

Q_SIGNALS:
    // The tray icon was clicked with the left or right button: the owner's toggle.
    void itemClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void keepEdge();

    QPointer<QSystemTrayIcon> item_;
    std::unique_ptr<MenuWindow> panel_;
    QPointer<QWidget> content_;
    QWidget* frame_ = nullptr;
    QWidget* edge_ = nullptr;
    PanelMotion* motion_;
    Surroundings surroundings_;
    std::unique_ptr<Platform::CurrentDesktopWatch> spaces_;
    std::optional<Placement> anchor_;
    Sharing sharing_ = Sharing::readOnly;
    bool shown_ = false;
};

}  // namespace ZantrelUI
