#include "Glyphnab/notice/NoticePresenter.h"

#include "GlyphnabCore/Part.h"
#include "ZantrelUI/pieces/Announce.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/GlassWindow.h"
#include "ZantrelUI/design/PanelMotion.h"
#include "ZantrelUI/design/ReduceMotion.h"
#include "platform/async/Clock.h"
#include "platform/async/MainThread.h"
#include "platform/screen/DesktopWatch.h"
#include "platform/screen/ScreenService.h"
#include "platform/screen/X11Desktop.h"
#include "platform/screen/X11Link.h"

#include <QCoroTask>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <chrono>

namespace Glyphnab {

using ZantrelText::LineMode;

namespace {

QCoro::Task<> hideLater(QPointer<NoticePresenter> presenter, Platform::Clock& clock,
                        std::chrono::nanoseconds delay, std::stop_token stop) {
    co_await clock.sleep(delay, stop);
    if (stop.stop_requested() || !presenter)
        co_return;
    if (!presenter->hovering())
        presenter->dismiss();
}

}  // namespace

NoticeScreens NoticeScreens::live() {
    return {[] {
                QList<Screen> list;
                const QScreen* primary = QGuiApplication::primaryScreen();
                if (primary)
                    list.append({primary->geometry(), primary->availableGeometry()});
                for (const QScreen* screen : QGuiApplication::screens())
                    if (screen != primary)
                        list.append({screen->geometry(), screen->availableGeometry()});
                return list;
            },
            [] { return QCursor::pos(); },
            [] {
                // Without X11 (a Wayland session) the display server composites.
                const Platform::DesktopWatch* desktop = Platform::DesktopWatch::application();
                return !desktop || desktop->compositing();
            },
            [](QObject* context, std::function<void()> changed) {
                if (Platform::DesktopWatch* desktop = Platform::DesktopWatch::application())
                    QObject::connect(desktop, &Platform::DesktopWatch::compositingChanged, context,
                                     [changed = std::move(changed)] { changed(); });
            },
            [] { return Platform::currentSession() == Platform::Session::wayland; }};
}

NoticePresenter::NoticePresenter(std::function<NoticeModel*()> model, std::function<bool()> reduceMotion,
                                 NoticeScreens screens, Platform::Clock* clock, QObject* parent)
    : QObject(parent),
      model_(std::move(model)),
      reduceMotion_(reduceMotion ? std::move(reduceMotion) : std::function<bool()>(&ZantrelUI::ReduceMotion::system)),
      screens_(std::move(screens)),
      clock_(clock ? *clock : Platform::Clock::shared()),
      motion_(new ZantrelUI::PanelMotion(this)) {
    if (screens_.translucencyChanges)
        screens_.translucencyChanges(this, [this] { followCompositor(); });
}

NoticePresenter::~NoticePresenter() { cancelHide(); }

QRect NoticePresenter::placement(QSize size, const QList<NoticeScreens::Screen>& screens, QPoint pointer) {
    if (screens.isEmpty())
        return {};
    const NoticeScreens::Screen* chosen = &screens.front();
    for (const auto& screen : screens) {
        if (screen.frame.contains(pointer)) {
            chosen = &screen;
            break;
        }
    }
    const QRect visible = chosen->visible;
    const int x = visible.x() + (visible.width() - size.width()) / 2;
    return {QPoint(x, visible.y() + topGap), size};
}

NoticeView* NoticePresenter::currentView() const {
    return panel_ ? qobject_cast<NoticeView*>(ZantrelUI::PanelMotion::contentView(panel_.get())) : nullptr;
}

bool NoticePresenter::isShowing() const { return panel_ && panel_->isVisible(); }

void NoticePresenter::makePanel(bool translucent) {
    // A heads-up panel: no frame, above other windows, never focused or activated, and
    // left alone by the window manager so it neither steals focus nor joins the task list.
    const bool placed = screens_.desktopPlaces && screens_.desktopPlaces();
    panel_ = std::make_unique<QWidget>(nullptr, (placed ? Qt::Tool : Qt::ToolTip) | Qt::FramelessWindowHint |
                                                    Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                                                    Qt::X11BypassWindowManagerHint);
    panel_->setAttribute(Qt::WA_ShowWithoutActivating);
    // Without a compositor a see-through window shows black wherever it is clear: the
    // panel is then an ordinary window, shaped to the card.
    panel_->setAttribute(Qt::WA_TranslucentBackground, translucent);
    panel_->setAttribute(Qt::WA_DeleteOnClose, false);
    panel_->setFocusPolicy(Qt::NoFocus);
    panel_->setObjectName(QStringLiteral("glyphnab.notice"));
    panelTranslucent_ = translucent;
    if (!translucent) {
        if (const auto link = Platform::applicationX11Link())
            Platform::useDefaultColormap(*link, static_cast<xcb_window_t>(panel_->winId()));
    }
}

void NoticePresenter::show(const NoticeContent& content) {
    Platform::assertMain();
    NoticeModel* model = model_ ? model_() : nullptr;
    if (!model)
        return;
    const bool reduce = reduceMotion_();
    const QString name = model->appName();

    // The previous notice's view goes with the new one, later: a button of it may be the
    // caller (a copy action shows its own notice).
    if (QWidget* previous = ZantrelUI::PanelMotion::contentView(panel_.get())) {
        previous->hide();
        previous->setParent(nullptr);
        previous->deleteLater();
    }
    const bool translucent = !screens_.translucent || screens_.translucent();
    if (panel_ && panelTranslucent_ != translucent) {
        // A window's visual is fixed when it is made: the compositor came or went.
        motion_->hide(panel_.get(), true);
        panel_.reset();
    }
    if (!panel_)
        makePanel(translucent);

    auto* view = new NoticeView(content, makeActions(model), name, reduce, panel_.get());
    ZantrelUI::Environment::setAccent(view, model->accent());
    QPointer<NoticePresenter> self = this;
    view->setHoverHandler([self](bool inside) {
        if (self)
            self->hoverChanged(inside);
    });
    view->adjustSize();
    const QSize size = ZantrelUI::HostedPanel::fittingSize(view);
    view->setGeometry(QRect(QPoint(0, 0), size));
    view->show();
    if (screens_.desktopPlaces && screens_.desktopPlaces())
        panel_->setFixedSize(size);
    panel_->setGeometry(placement(size, screens_.screens ? screens_.screens() : QList<NoticeScreens::Screen>{},
                                  screens_.pointer ? screens_.pointer() : QPoint()));
    cutToCard(translucent);
    hovering_ = false;
    if (translucent)
        motion_->show(panel_.get(), false, reduce, 0.96, QPointF(0.5, 0));
    else
        motion_->showStill(panel_.get(), false);
    // Said from the notice's own window, which is on screen now.
    ZantrelUI::Announce::post(NoticeText::announcement(content, name), panel_.get());

    if (content.asBusy())
        cancelHide();
    else
        scheduleHide(content.lingers() ? lingerHideAfter : hideAfter);
}

void NoticePresenter::cutToCard(bool translucent) {
    const NoticeView* view = currentView();
    if (translucent || view == nullptr) {
        panel_->clearMask();
        return;
    }
    const QPainterPath card = ZantrelUI::roundedPath(view->cardRect(), ZantrelUI::Radius::notice);
    panel_->setMask(QRegion(card.toFillPolygon().toPolygon()));
}

void NoticePresenter::followCompositor() {
    if (!isShowing())
        return;
    const bool translucent = !screens_.translucent || screens_.translucent();
    NoticeView* view = currentView();
    if (translucent == panelTranslucent_ || view == nullptr)
        return;
    const QRect frame = panel_->geometry();
    const std::unique_ptr<QWidget> old = std::move(panel_);
    makePanel(translucent);
    view->setParent(panel_.get());
    view->setGeometry(QRect(QPoint(0, 0), frame.size()));
    view->show();
    panel_->setGeometry(frame);
    cutToCard(translucent);
    motion_->showStill(panel_.get(), false);
    old->hide();
}

void NoticePresenter::cancelHide() {
    if (hideStop_) {
        hideStop_->request_stop();
        hideStop_.reset();
    }
}

void NoticePresenter::scheduleHide(double seconds) {
    cancelHide();
    hideStop_.emplace();
    const auto delay = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::duration<double>(seconds));
    hideLater(this, clock_, delay, hideStop_->get_token());
}

void NoticePresenter::dismiss() {
    cancelHide();
    hovering_ = false;
    if (isShowing())
        motion_->hide(panel_.get(), reduceMotion_() || !panelTranslucent_);
}

bool NoticePresenter::hide() {
    cancelHide();
    hovering_ = false;
    if (!isShowing())
        return false;
    motion_->hide(panel_.get(), true);
    return true;
}

void NoticePresenter::hoverChanged(bool hovering) {
    hovering_ = hovering;
    // Entering keeps the pending hide: when it wakes over the notice it does nothing.
    if (!hovering)
        scheduleHide(afterLeaving);
}

NoticeView::Actions NoticePresenter::makeActions(NoticeModel* model) {
    QPointer<NoticePresenter> self = this;
    auto showCopy = [self](const GlyphnabCore::Outcome& outcome, std::optional<LineMode> mode) {
        if (self)
            self->show(NoticeContent::done(outcome, mode, GrabSource::screen));
    };
    NoticeView::Actions actions;
    actions.open = [model, self](const QUrl& link) {
        model->openLink(link);
        if (self)
            self->dismiss();
    };
    actions.copyText = [model, showCopy](const QString& text) {
        model->copyToPasteboard(text);
        showCopy(GlyphnabCore::Outcome({GlyphnabCore::Part::text(text)}, LineMode::keep), std::nullopt);
    };
    actions.close = [self] {
        if (self)
            self->dismiss();
    };
    actions.stop = [model, self] {
        model->cancelWork();
        if (self)
            self->dismiss();
    };
    actions.grabAgain = [model, self](std::optional<LineMode> mode) {
        if (self)
            self->hide();
        model->beginGrab(mode);
    };
    actions.copyOtherWay = [model, showCopy](const GlyphnabCore::Outcome& outcome, LineMode mode) {
        const auto flipped = outcome.flipped();
        if (!flipped)
            return;
        model->copyToPasteboard(flipped->copied);
        showCopy(*flipped, mode == LineMode::keep ? LineMode::join : LineMode::keep);
    };
    return actions;
}

}  // namespace Glyphnab
