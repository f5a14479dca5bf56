#include "ZantrelUI/desktop/AreaSelector.h"

#include "ZantrelKit/ScreenArea.h"
#include "ZantrelUI/desktop/AreaSelectorLayout.h"
#include "ZantrelUI/design/Tokens.h"
#include "platform/async/Clock.h"
#include "platform/async/MainThread.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <chrono>
#include <coroutine>
#include <utility>

namespace ZantrelUI {

using namespace std::chrono_literals;
namespace Layout = AreaSelectorLayout;

// The one-shot hand-over between `finish` and the waiting `pick`.
struct AreaSelector::Pending {
    std::coroutine_handle<> waiter;
    std::optional<std::optional<QRectF>> result;
    // Ends the preparation when the pick ends before its overlay opens.
    std::stop_source stop;

    void deliver(std::optional<QRectF> value) {
        if (result)
            return;
        result = value;
        if (waiter)
            std::exchange(waiter, {}).resume();
    }
};

class AreaSelector::PickAwaiter {
public:
    explicit PickAwaiter(std::shared_ptr<Pending> pending) : pending_(std::move(pending)) {}
    bool await_ready() const noexcept { return pending_->result.has_value(); }
    void await_suspend(std::coroutine_handle<> waiter) noexcept { pending_->waiter = waiter; }
    std::optional<QRectF> await_resume() const { return *pending_->result; }

private:
    std::shared_ptr<Pending> pending_;
};

namespace {

// The caller is resumed after the overlay is gone from the screen and what it covered is
// drawn again (so it is not in a capture), and the previous window is active again.
QCoro::Task<> settle(std::unique_ptr<RepaintWait> repaint, std::function<void()> reactivate,
                     std::function<void()> resume) {
    co_await repaint->done(90ms);
    reactivate();
    resume();
}

constexpr int grabAttempts = 10;
constexpr auto grabRetry = 20ms;

}  // namespace

AreaSelector::AreaSelector(std::unique_ptr<AreaSelectorDesk> desk, QObject* parent)
    : QObject(parent), desk_(std::move(desk)) {}

AreaSelector::~AreaSelector() {
    finish(std::nullopt);
}

QCoro::Task<std::optional<QRectF>> AreaSelector::pick(Look look) {
    Platform::assertMain();
    if (pending_)
        co_return std::nullopt;
    previous_ = desk_->frontWindow();
    auto pending = std::make_shared<Pending>();
    pending_ = pending;

    QPointer<AreaSelector> alive = this;
    const auto prepared = co_await desk_->prepare(pending->stop.get_token());
    if (!alive || pending_ != pending)
        co_return std::nullopt;
    if (!prepared) {
        finish(std::nullopt);
        throw PickFailure(prepared.error());
    }
    if (!showOverlay(look)) {
        finish(std::nullopt);
    } else {
        // A window mapped a moment ago may not take the grab yet; the pointer or keyboard
        // may also be held by another program for a moment.
        QPointer<AreaSelector> self = this;
        const QPointF pointer = screenSpace().toGlobal(desk_->pointer());
        // The pointer's panel becomes key; with the pointer on no screen none does, and the
        // first panel holds the grab only so the drag and Escape still reach the pick.
        QPointer<SelectionView> key;
        for (const auto& panel : panels_) {
            if (panel && panel->frame().contains(pointer)) {
                key = panel;
                break;
            }
        }
        QPointer<SelectionView> target = key ? key : panels_.front();
        bool grabbed = false;
        for (int attempt = 0; attempt < grabAttempts; ++attempt) {
            if (!self || self->pending_ != pending || !target)
                break;
            if (desk_->grabInput(*target)) {
                grabbed = true;
                break;
            }
            co_await Platform::Clock::shared().sleep(grabRetry);
        }
        // A grab is taken without a wait in between, so the pick is still this one then.
        if (grabbed) {
            grabbed_ = target;
            if (key) {
                key->activateWindow();
                key->setFocus(Qt::OtherFocusReason);
            }
        } else if (self && self->pending_ == pending) {
            finish(std::nullopt);
        }
    }
    PickAwaiter awaiter(pending);
    co_return co_await awaiter;
}

PickFailure::PickFailure(Platform::CaptureFailure failure)
    : std::runtime_error(failure.message.toStdString()), failure_(std::move(failure)) {}

void AreaSelector::cancel() {
    finish(std::nullopt);
}

void AreaSelector::uncover() {
    desk_->uncover();
}

Platform::ScreenSpace AreaSelector::screenSpace() const {
    const QList<QRectF> screens = desk_->screens();
    return Platform::ScreenSpace(screens.isEmpty() ? QRectF() : screens.front());
}

QList<QRectF> AreaSelector::globalFrames() const {
    const Platform::ScreenSpace space = screenSpace();
    QList<QRectF> frames;
    for (const QRectF& screen : desk_->screens())
        frames << space.toGlobal(screen);
    return frames;
}

bool AreaSelector::showOverlay(const Look& look) {
    const QList<QRectF> screens = desk_->screens();
    if (screens.isEmpty())
        return false;
    const Platform::ScreenSpace space(screens.front());
    const QPointF pointer = space.toGlobal(desk_->pointer());
    const bool translucent = desk_->translucent();

    // Frozen pictures are taken before any panel covers its screen.
    std::vector<QImage> pictures;
    for (const QRectF& screen : screens)
        pictures.push_back(translucent ? QImage() : desk_->freeze(screen));

    for (qsizetype i = 0; i < screens.size(); ++i) {
        auto* view = new SelectionView(space.toGlobal(screens[i]), space);
        view->setGeometry(screens[i].toAlignedRect());
        if (translucent)
            view->setAttribute(Qt::WA_TranslucentBackground);
        else
            view->setFrozen(pictures[static_cast<std::size_t>(i)]);
        view->setLook(look);
        view->setShowsHint(view->frame().contains(pointer));
        QPointer<AreaSelector> self = this;
        view->onDown = [self](QPointF p) {
            if (self)
                self->mouseDown(p);
        };
        view->onDrag = [self](QPointF p) {
            if (self)
                self->drag(p);
        };
        view->onUp = [self](QPointF p) {
            if (self)
                self->mouseUp(p);
        };
        view->onCancel = [self] {
            if (self)
                self->finish(std::nullopt);
        };
        panels_.emplace_back(view);
    }
    for (qsizetype i = 0; i < screens.size(); ++i)
        desk_->present(*panels_[static_cast<std::size_t>(i)], screens[i]);
    qApp->installEventFilter(this);
    return true;
}

bool AreaSelector::eventFilter(QObject* watched, QEvent* event) {
    if (pending_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        finish(std::nullopt);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void AreaSelector::mouseDown(QPointF point) {
    start_ = point;
    for (const auto& panel : panels_) {
        if (panel)
            panel->setShowsHint(false);
    }
    drag(point);
}

void AreaSelector::drag(QPointF point) {
    if (!start_)
        return;
    const QRectF r = ZantrelKit::ScreenArea::rect(*start_, point);
    // Every screen gets the rectangle, in its own coordinates, whether it touches it or not;
    // a screen it does not reach shows the size label at its edge nearest to it.
    for (const auto& panel : panels_) {
        if (panel)
            panel->setSelection(r.translated(-panel->frame().left(), -panel->frame().top()));
    }
}

void AreaSelector::mouseUp(QPointF point) {
    if (!start_) {
        finish(std::nullopt);
        return;
    }
    const QRectF r = ZantrelKit::ScreenArea::rect(*start_, point);
    if (!ZantrelKit::ScreenArea::isUsable(r)) {
        finish(std::nullopt);
        return;
    }
    finish(ZantrelKit::ScreenArea::clip(r, globalFrames()));
}

void AreaSelector::finish(std::optional<QRectF> result) {
    if (!pending_)
        return;
    std::shared_ptr<Pending> pending = std::move(pending_);
    pending_.reset();
    pending->stop.request_stop();
    if (qApp != nullptr)
        qApp->removeEventFilter(this);
    if (grabbed_)
        desk_->releaseInput(*grabbed_);
    grabbed_ = nullptr;
    if (result)
        desk_->coverUntilDelivered();
    else
        desk_->pickCancelled();
    std::unique_ptr<RepaintWait> repaint = result ? desk_->watchRepaint(screenSpace().toDesktop(*result)) : nullptr;
    // Torn down now; deleted once the event that ended the pick has been handled.
    for (const auto& panel : panels_) {
        if (panel) {
            panel->hide();
            panel->deleteLater();
        }
    }
    panels_.clear();
    start_.reset();

    const std::optional<FrontWindow> previous = previous_;
    const bool ownWindow = previous && !isOtherProgram(*previous, QCoreApplication::applicationPid());
    // A cancel gives the keyboard back to whichever window had it; after a pick our own
    // window gets it at once, another program's is activated after the wait below.
    if (previous && (!result || ownWindow))
        desk_->refocus(*previous);
    if (!result) {
        QTimer::singleShot(0, qApp, [pending] { pending->deliver(std::nullopt); });
        return;
    }
    QPointer<AreaSelector> self = this;
    auto reactivate = [self, previous] {
        if (self && previous && isOtherProgram(*previous, QCoreApplication::applicationPid()))
            self->desk_->activate(*previous);
    };
    const QRectF rect = *result;
    auto task = settle(std::move(repaint), std::move(reactivate), [pending, rect] { pending->deliver(rect); });
}

// MARK: - SelectionView

QFont SelectionView::labelFont() { return Fonts::monospacedDigits(Fonts::system(12, QFont::DemiBold)); }

SelectionView::SelectionView(QRectF frame, Platform::ScreenSpace space)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint),
      frame_(frame),
      space_(space) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setWindowTitle(QStringLiteral("Area selector"));
}

void SelectionView::setLook(AreaSelector::Look look) {
    look_ = std::move(look);
    update();
}

void SelectionView::setSelection(std::optional<QRectF> selection) {
    selection_ = selection;
    update();
}

void SelectionView::setShowsHint(bool on) {
    showsHint_ = on;
    update();
}

void SelectionView::setFrozen(QImage picture) {
    frozen_ = std::move(picture);
    update();
}

QPointF SelectionView::globalPoint(const QMouseEvent& event) const {
    return space_.toGlobal(event.globalPosition());
}

void SelectionView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        if (onCancel)
            onCancel();
    } else if (event->button() == Qt::LeftButton && onDown) {
        onDown(globalPoint(*event));
    }
}

void SelectionView::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) != 0 && onDrag)
        onDrag(globalPoint(*event));
}

void SelectionView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onUp)
        onUp(globalPoint(*event));
}

void SelectionView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (onCancel)
            onCancel();
        return;
    }
    QWidget::keyPressEvent(event);
}

namespace {

void drawPill(QPainter& painter, const QRectF& pill) {
    const double radius = pill.height() / 2;
    painter.setPen(QPen(QColor::fromRgbF(1, 1, 1, 0.18), 1));
    painter.setBrush(QColor::fromRgbF(0.08, 0.08, 0.08, 0.82));
    painter.drawRoundedRect(pill, radius, radius);
}

}  // namespace

void SelectionView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds(0, 0, width(), height());
    const double viewHeight = bounds.height();
    if (!frozen_.isNull())
        painter.drawImage(bounds, frozen_);

    QPainterPath dim;
    dim.setFillRule(Qt::OddEvenFill);
    dim.addRect(bounds);
    if (selection_) {
        const QRectF hole = selection_->intersected(bounds);
        if (!hole.isEmpty())
            dim.addRect(Layout::toWidget(hole, viewHeight));
    }
    painter.fillPath(dim, QColor::fromRgbF(0, 0, 0, 0.32));

    if (selection_ && selection_->width() > 0 && selection_->height() > 0) {
        const QRectF outline = Layout::toWidget(selection_->adjusted(-0.5, -0.5, 0.5, 0.5), viewHeight);
        QColor accent = look_.accent;
        accent.setAlphaF(0.55f);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(accent, 3));
        painter.drawRect(outline);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(outline);
    }

    if (selection_ && selection_->width() > 0 && selection_->height() > 0) {
        const QString label = ZantrelKit::ScreenArea::sizeLabel(*selection_);
        const QFont font = labelFont();
        const QFontMetricsF metrics(font);
        const QSizeF textSize(metrics.horizontalAdvance(label), metrics.height());
        const QRectF pill = Layout::labelPill(*selection_, textSize, bounds);
        drawPill(painter, Layout::toWidget(pill, viewHeight));
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(Layout::toWidget(Layout::labelText(pill, textSize), viewHeight),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, label);
    }

    if (showsHint_ && !look_.hint.isEmpty()) {
        const QFont font = Fonts::system(14, QFont::DemiBold);
        const QFontMetricsF metrics(font);
        const QSizeF textSize(metrics.horizontalAdvance(look_.hint), metrics.height());
        const QRectF pill = Layout::hintPill(textSize, bounds);
        drawPill(painter, Layout::toWidget(pill, viewHeight));
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(Layout::toWidget(Layout::hintText(pill, textSize), viewHeight),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, look_.hint);
    }
}

}  // namespace ZantrelUI
