#pragma once

// Puts notices on screen: one heads-up panel, made on first use and reused, shown at the
// top of the screen under the pointer without taking the keyboard from the application
// in front. It hides itself after a while (longer for notices with buttons), stays while
// the pointer is over it, and runs what the notice's buttons ask for.

#include "Glyphnab/notice/NoticeView.h"
#include "ZantrelUI/design/Tokens.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>

#include <functional>
#include <memory>
#include <optional>
#include <stop_token>

namespace Platform {
class Clock;
}
namespace ZantrelUI {
class PanelMotion;
}

namespace Glyphnab {

// What the notice reaches of the grab model. The model implements it and outlives the
// presenter.
class NoticeModel {
public:
    virtual ~NoticeModel() = default;
    virtual QString appName() const = 0;
    virtual ZantrelUI::Accent accent() const = 0;
    virtual void openLink(const QUrl& link) = 0;
    // Clears the pasteboard, writes `text` as plain text and adds it to the recent grabs.
    virtual void copyToPasteboard(const QString& text) = 0;
    // Ends the work under way; a cancelled reading copies nothing and shows nothing.
    virtual void cancelWork() = 0;
    // Starts a grab from the screen; no mode means the preferred one.
    virtual void beginGrab(std::optional<ZantrelText::LineMode> mode) = 0;
};

// The screens a notice can go on and where the pointer is; tests pass their own.
struct NoticeScreens {
    struct Screen {
        QRect frame;    // the whole screen, top-left logical coordinates
        QRect visible;  // less the desktop's panels
    };
    // The main screen first.
    std::function<QList<Screen>()> screens;
    std::function<QPoint()> pointer;
    // Whether windows can be see-through; without a compositor the panel is cut to the card.
    std::function<bool()> translucent;
    // Calls `changed` whenever a compositor starts or stops, for as long as `context` lives.
    std::function<void(QObject* context, std::function<void()> changed)> translucencyChanges;
    // Whether the desktop places every window itself (Wayland). A popup without a parent
    // window has nowhere to go there, and tiling desktops tile an ordinary window: the
    // panel is then a window of fixed size, which they float.
    std::function<bool()> desktopPlaces;

    static NoticeScreens live();
};

class NoticePresenter final : public QObject {
    Q_OBJECT
public:
    static constexpr double hideAfter = 3.2;
    static constexpr double lingerHideAfter = 7.0;
    static constexpr double afterLeaving = 2.0;
    static constexpr int topGap = 10;

    // `clock` none: the process's clock. `reduceMotion` is asked at every show and hide.
    NoticePresenter(std::function<NoticeModel*()> model, std::function<bool()> reduceMotion,
                    NoticeScreens screens = NoticeScreens::live(), Platform::Clock* clock = nullptr,
                    QObject* parent = nullptr);
    ~NoticePresenter() override;

    // Shows `content`, replacing any notice on screen.
    void show(const NoticeContent& content);
    // Hides at once, without animation; whether a notice was visible.
    bool hide();
    // Hides with the fade-out (at once under reduced motion).
    void dismiss();
    // Replaces the pending automatic hide.
    void scheduleHide(double seconds);
    void hoverChanged(bool hovering);
    // A notice on screen when a compositor starts or stops is moved to a panel made for
    // the new state.
    void followCompositor();
    NoticeView::Actions makeActions(NoticeModel* model);

    // The frame for a notice of `size`: centred on the visible area of the screen under
    // the pointer (else the main screen), `topGap` below its top. Empty without screens.
    static QRect placement(QSize size, const QList<NoticeScreens::Screen>& screens, QPoint pointer);

    // The panel, once a notice was shown; null before.
    QWidget* panel() const { return panel_.get(); }
    NoticeView* currentView() const;
    bool isShowing() const;
    bool hovering() const { return hovering_; }
    bool hidePending() const { return hideStop_.has_value(); }

private:
    void makePanel(bool translucent);
    void cutToCard(bool translucent);
    void cancelHide();

    std::function<NoticeModel*()> model_;
    std::function<bool()> reduceMotion_;
    NoticeScreens screens_;
    Platform::Clock& clock_;
    ZantrelUI::PanelMotion* motion_;
    std::unique_ptr<QWidget> panel_;
    std::optional<std::stop_source> hideStop_;
    bool hovering_ = false;
    // Whether the panel was made see-through; made again when the compositor comes or goes.
    bool panelTranslucent_ = true;
};

}  // namespace Glyphnab
