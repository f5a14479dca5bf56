#include "ZantrelUI/design/GlassWindow.h"

#include "ZantrelKit/RunModes.h"
#include "platform/async/MainThread.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QScreen>
#include <QStyleHints>
#include <QVBoxLayout>
#include <QWindow>

#include <cmath>

namespace ZantrelUI {

GlassWindow::GlassWindow(bool resizable, bool closesOnEscape, QObject* parent)
    : QObject(parent), resizable_(resizable), closesOnEscape_(closesOnEscape) {}

GlassWindow::~GlassWindow() {
    if (window_) {
        window_->holder_ = nullptr;
        delete window_.data();  // the holder owns its window for its whole life
    }
}

QWidget* GlassWindow::window() const { return window_; }

bool GlassWindow::isVisible() const { return window_ && window_->isVisible(); }

void GlassWindow::show(const QString& title, qreal width, qreal height, std::function<void()> onClose,
                       std::function<bool()> ask, const Content& content) {
    Platform::assertMain();
    if (onClose)
        onClose_ = std::move(onClose);
    if (ask)
        ask_ = std::move(ask);
    if (!window_) {
        window_ = new EscapeWindow(this, closesOnEscape_);
        const QSize size(static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(height)));
        if (resizable_) {
            window_->resize(size);
        } else {
            window_->setFixedSize(size);  // only fitHeight changes it
        }
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            window_->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
        }
    }
    if (!hosted_) {
        hosted_ = true;
        QWidget* view = content ? content(window_) : nullptr;
        if (view != nullptr) {
            auto* layout = new QVBoxLayout(window_);
            layout->setContentsMargins(0, 0, 0, 0);
            layout->setSpacing(0);
            // The window sizes itself only through fitHeight, never through the layout.
            layout->setSizeConstraint(QLayout::SetNoConstraint);
            layout->addWidget(view);
            watchContent(view);
        }
    }
    window_->setWindowTitle(title);
    window_->show();
    window_->raise();
    if (!ZantrelKit::TestHost::isActive())
        window_->activateWindow();
}

void GlassWindow::watchContent(QWidget* content) {
    if (resizable_)
        return;
    auto measure = [this, content] {
        if (!window_ || content == nullptr)
            return;
        const int w = window_->width();
        const int h = content->hasHeightForWidth() ? content->heightForWidth(w) : content->sizeHint().height();
        fitHeight(h);
    };
    // Re-measured whenever the content's layout asks for it.
    struct Watcher final : QObject {
        std::function<void()> measure;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show)
                QMetaObject::invokeMethod(this, [m = measure] { m(); }, Qt::QueuedConnection);
            return false;
        }
    };
    auto* watcher = new Watcher();
    watcher->setParent(content);
    watcher->measure = measure;
    content->installEventFilter(watcher);
    measure();
}

void GlassWindow::close() {
    if (!window_)
        return;
    window_->closingPlainly_ = true;
    window_->close();
    if (window_)
        window_->closingPlainly_ = false;
}

std::optional<QRect> GlassWindow::fittedGeometry(const QRect& frame, qreal height, const std::optional<QRect>& available) {
    if (!(height > 0))
        return std::nullopt;
    double target = std::ceil(height);
    if (available)
        target = std::min<double>(target, available->height());
    if (std::abs(frame.height() - target) <= 0.5)
        return std::nullopt;
    const int h = static_cast<int>(target);
    int top = frame.top();  // the top edge stays
    if (available) {
        // Not below the usable area's bottom, and never above its top (that rule wins).
        top = std::min(top, available->top() + available->height() - h);
        top = std::max(top, available->top());
    }
    return QRect(frame.left(), top, frame.width(), h);
}

void GlassWindow::fitHeight(qreal height) {
    if (resizable_ || !window_ || !(height > 0))
        return;
    const QScreen* screen = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
    std::optional<QRect> available;
    if (screen != nullptr)
        available = screen->availableGeometry();
    const auto fitted = fittedGeometry(window_->geometry(), height, available);
    if (!fitted)
        return;
    window_->setFixedHeight(fitted->height());
    window_->setGeometry(*fitted);
}

void GlassWindow::windowWillClose() {
    Platform::assertMain();
    if (window_) {
        // The next show builds fresh content in the same window.
        if (QLayout* layout = window_->layout()) {
            while (QLayoutItem* item = layout->takeAt(0)) {
                if (QWidget* w = item->widget())
                    w->deleteLater();
                delete item;
            }
            delete layout;
        }
    }
    hosted_ = false;
    std::function<void()> taken = std::move(onClose_);
    onClose_ = nullptr;
    if (taken)
        taken();
}

EscapeWindow::EscapeWindow(GlassWindow* holder, bool closesOnEscape)
    : GlassWidget(nullptr), holder_(holder), closesOnEscape_(closesOnEscape) {
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose, false);  // kept for the holder's life
    // Keys reach it without a focused child; as a Tab stop it would show no focus.
    setFocusPolicy(Qt::ClickFocus);
}

bool EscapeWindow::escapeCloses(Qt::KeyboardModifiers modifiers) {
    // Caps Lock is no modifier here; Shift, Control, Alt, Super, keypad and group switch are.
    const Qt::KeyboardModifiers blocking = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier |
                                           Qt::MetaModifier | Qt::KeypadModifier | Qt::GroupSwitchModifier;
    return (modifiers & blocking) == 0;
}

void EscapeWindow::keyPressEvent(QKeyEvent* event) {
    if (closesOnEscape_ && event->key() == Qt::Key_Escape && escapeCloses(event->modifiers())) {
        close();  // as the user's close: the question is asked
        return;
    }
    GlassWidget::keyPressEvent(event);
}

void EscapeWindow::closeEvent(QCloseEvent* event) {
    if (!closingPlainly_ && holder_ && holder_->ask_ && !holder_->ask_()) {
        event->ignore();
        return;
    }
    event->accept();
    if (holder_)
        holder_->windowWillClose();
}

void EscapeWindow::mousePressEvent(QMouseEvent* event) {
    // The background moves the window once the pointer drags it. A move asked for at the
    // press outlives a quick click or a tap, whose release reaches the window manager
    // before the request: the window manager (xfwm4, openbox) then stays in its move and
    // takes every key.
    if (windowHandle() != nullptr && event->button() == Qt::LeftButton && !ZantrelKit::TestHost::isActive()) {
        pressedAt_ = event->globalPosition();
        event->accept();
        return;
    }
    GlassWidget::mousePressEvent(event);
}

void EscapeWindow::mouseMoveEvent(QMouseEvent* event) {
    if (pressedAt_ && (event->buttons() & Qt::LeftButton) != 0 && windowHandle() != nullptr &&
        (event->globalPosition() - *pressedAt_).manhattanLength() >= QGuiApplication::styleHints()->startDragDistance()) {
        pressedAt_.reset();
        windowHandle()->startSystemMove();
        return;
    }
    GlassWidget::mouseMoveEvent(event);
}

void EscapeWindow::mouseReleaseEvent(QMouseEvent* event) {
    pressedAt_.reset();
    GlassWidget::mouseReleaseEvent(event);
}

void EscapeWindow::paintEvent(QPaintEvent*) {}

namespace HostedPanel {

QSize fittingSize(const QSizeF& measured) {
    return QSize(std::max(100, static_cast<int>(std::ceil(measured.width()))),
                 std::max(60, static_cast<int>(std::ceil(measured.height()))));
}

QSize fittingSize(QWidget* content) {
    if (content == nullptr)
        return fittingSize(QSizeF());
    if (QLayout* layout = content->layout())
        layout->activate();
    QSize size = content->sizeHint();
    if (content->hasHeightForWidth())
        size.setHeight(content->heightForWidth(size.width()));
    return fittingSize(QSizeF(std::max(0, size.width()), std::max(0, size.height())));
}

}  // namespace HostedPanel

}  // namespace ZantrelUI
