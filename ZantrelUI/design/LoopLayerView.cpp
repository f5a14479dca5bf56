#include "ZantrelUI/design/LoopLayerView.h"

#include "ZantrelUI/context/Environment.h"

#include <QEvent>
#include <QPainter>
#include <QWindow>

namespace ZantrelUI {

LoopLayerView::LoopLayerView(std::optional<LayerAnimation> loop, bool reduceMotion, QWidget* parent)
    : QWidget(parent), layer_(QStringLiteral("loop")), loop_(std::move(loop)), reduceMotion_(reduceMotion) {
    // Clicks pass through to whatever lies behind.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(&layer_, &MotionLayer::changed, this, qOverload<>(&QWidget::update));
    // Nothing starts until the view is in a shown window.
    refreshLater();
}

LoopLayerView::~LoopLayerView() {
    if (deadline_)
        MotionClock::shared().cancel(*deadline_);
}

void LoopLayerView::setLoop(std::optional<LayerAnimation> loop) {
    loop_ = std::move(loop);
    expired_ = false;
    refresh(true);
}

void LoopLayerView::setReduceMotion(bool reduce) {
    if (reduceMotion_ == reduce)
        return;
    reduceMotion_ = reduce;
    refresh(false);
}

void LoopLayerView::setDraw(Draw draw) {
    draw_ = std::move(draw);
    redraw();
}

bool LoopLayerView::windowVisible() const {
    const QWidget* top = window();
    if (top == nullptr || !isVisible() || top->isMinimized())
        return false;
    const QWindow* handle = top->windowHandle();
    return handle != nullptr && handle->isExposed();
}

bool LoopLayerView::mayRun() const { return loop_ && !reduceMotion_ && !expired_ && windowVisible(); }

void LoopLayerView::refresh(bool restart) {
    MotionClock& clock = MotionClock::shared();
    if (restart) {
        layer_.remove(loopKey);
        if (deadline_)
            clock.cancel(*deadline_);
        deadline_.reset();
    }
    if (mayRun()) {
        if (!layer_.hasAnimation(loopKey)) {
            layer_.add(loopKey, *loop_);
            if (stopsAfter_ && !deadline_) {
                // The limit counts from the start, hidden time included.
                deadline_ = clock.schedule(*stopsAfter_, this, [this] {
                    expired_ = true;
                    deadline_.reset();
                    refresh(false);
                });
            }
        }
        return;  // a running loop keeps its phase
    }
    layer_.remove(loopKey);
}

void LoopLayerView::refreshLater() {
    // Judged on a later turn of the event loop than the change that prompted it.
    QMetaObject::invokeMethod(this, [this] { refresh(false); }, Qt::QueuedConnection);
}

qreal LoopLayerView::contentsScale() const {
    const QWidget* top = window();
    if (top != nullptr && top != this && top->windowHandle() != nullptr)
        return top->windowHandle()->devicePixelRatio();
    if (windowHandle() != nullptr)
        return windowHandle()->devicePixelRatio();
    return 2;
}

void LoopLayerView::redraw() {
    ++drawCount_;
    update();
}

void LoopLayerView::paintEvent(QPaintEvent*) {
    if (!draw_)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    draw_(*this, painter);
}

void LoopLayerView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    redraw();
}

void LoopLayerView::watchWindow() {
    QWidget* top = window();
    if (watchedWindow_ != top) {
        if (watchedWindow_)
            watchedWindow_->removeEventFilter(this);
        watchedWindow_ = top;
        if (top != nullptr && top != this)
            top->installEventFilter(this);
    }
    QWindow* handle = top != nullptr ? top->windowHandle() : nullptr;
    if (watchedHandle_ != handle) {
        if (watchedHandle_)
            watchedHandle_->removeEventFilter(this);
        watchedHandle_ = handle;
        if (handle != nullptr)
            handle->installEventFilter(this);
    }
}

bool LoopLayerView::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ParentChange:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WinIdChange:
    case QEvent::WindowStateChange:
        watchWindow();
        refreshLater();
        break;
    default:
        if (event->type() == EnvironmentChangeEvent::type())
            redraw();  // appearance may have changed
        break;
    }
    return QWidget::event(event);
}

bool LoopLayerView::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Close:
    case QEvent::Expose:
    case QEvent::WindowStateChange:
    case QEvent::WinIdChange:
        if (watched == watchedWindow_ && event->type() == QEvent::WinIdChange)
            QMetaObject::invokeMethod(this, [this] { watchWindow(); }, Qt::QueuedConnection);
        refreshLater();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace ZantrelUI
