#include "ZantrelUI/desktop/WaylandAreaSelectorDesk.h"

#include "platform/async/Clock.h"
#include "platform/screen/ScreenService.h"

#include <QClipboard>
#include <QCursor>
#include <QPainter>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace ZantrelUI {
namespace {

QScreen* screenAt(const QRectF& frame) {
    for (QScreen* screen : QGuiApplication::screens()) {
        if (QRectF(screen->geometry()) == frame)
            return screen;
    }
    return QGuiApplication::screenAt(frame.center().toPoint());
}

// A screen's frozen picture and nothing else.
class FrozenCover final : public QWidget {
public:
    explicit FrozenCover(QImage picture)
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), picture_(std::move(picture)) {
        setAttribute(Qt::WA_DeleteOnClose);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setWindowTitle(QStringLiteral("Area selector"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (picture_.isNull())
            painter.fillRect(rect(), Qt::black);
        else
            painter.drawImage(QRectF(rect()), picture_);
    }

private:
    QImage picture_;
};

// Makes a panel full screen the first time it is the active window, or when asked.
class FullScreenOnceActive final : public QObject {
public:
    explicit FullScreenOnceActive(QWidget& panel) : QObject(&panel), panel_(panel) { panel.installEventFilter(this); }

    void fill() {
        panel_.removeEventFilter(this);
        if (!panel_.isFullScreen())
            panel_.showFullScreen();
        deleteLater();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::WindowActivate)
            fill();
        return false;
    }

private:
    QWidget& panel_;
};

constexpr std::chrono::milliseconds activationWait{400};

QCoro::Task<void> uncoverLater(std::weak_ptr<int> round, WaylandAreaSelectorDesk* desk) {
    co_await Platform::Clock::shared().sleep(WaylandAreaSelectorDesk::coverLimit);
    if (!round.expired())
        desk->uncover();
}

}  // namespace

WaylandAreaSelectorDesk::~WaylandAreaSelectorDesk() {
    uncover();
}

void WaylandAreaSelectorDesk::coverUntilDelivered() {
    uncover();
    for (const QRectF& frame : screens()) {
        auto* cover = new FrozenCover(screen_.frozen(frame));
        present(*cover, frame);
        covers_.emplace_back(cover);
    }
    if (covers_.empty())
        return;
    coverRound_ = std::make_shared<int>(0);
    // Delivered: the text is on the clipboard.
    if (QClipboard* board = QGuiApplication::clipboard()) {
        std::weak_ptr<int> round = coverRound_;
        QObject::connect(board, &QClipboard::dataChanged, covers_.front().data(), [this, round] {
            if (!round.expired())
                uncover();
        });
    }
    uncoverLater(coverRound_, this);
}

void WaylandAreaSelectorDesk::pickCancelled() {
    // An old picture must not stand for the screen in a later grab of the same area.
    screen_.dropFrozen();
}

void WaylandAreaSelectorDesk::uncover() {
    coverRound_.reset();
    for (const auto& cover : covers_) {
        if (cover)
            cover->close();
    }
    covers_.clear();
}

QList<QRectF> WaylandAreaSelectorDesk::screens() const {
    QList<QRectF> frames;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary != nullptr)
        frames << QRectF(primary->geometry());
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary)
            frames << QRectF(screen->geometry());
    }
    return frames;
}

QPointF WaylandAreaSelectorDesk::pointer() const {
    // Wayland tells an app where the pointer is only over its own surfaces.
    return QCursor::pos();
}

QImage WaylandAreaSelectorDesk::freeze(const QRectF& screen) const {
    return screen_.frozen(screen);
}

bool WaylandAreaSelectorDesk::grabInput(QWidget& panel) {
    // A full-screen panel gets the pointer and the keyboard once the compositor focuses it;
    // Wayland has no grab an app could take beyond that.
    return panel.windowHandle() != nullptr;
}

void WaylandAreaSelectorDesk::releaseInput(QWidget&) {}

QCoro::Task<std::expected<void, Platform::CaptureFailure>> WaylandAreaSelectorDesk::prepare(std::stop_token stop) {
    co_return co_await screen_.freeze(stop);
}

void WaylandAreaSelectorDesk::present(QWidget& panel, const QRectF& frame) {
    panel.setWindowFlag(Qt::FramelessWindowHint);
    // The panel takes the keyboard (Esc ends the pick) before it takes the output: GNOME
    // keeps its top bar over a full-screen window that did not have the keyboard yet.
    panel.setAttribute(Qt::WA_ShowWithoutActivating, false);
    panel.setGeometry(frame.toAlignedRect());
    panel.winId();
    if (QWindow* window = panel.windowHandle()) {
        if (QScreen* screen = screenAt(frame))
            window->setScreen(screen);
    }
    auto* fill = new FullScreenOnceActive(panel);
    panel.show();
    panel.raise();
    panel.activateWindow();
    // A desktop that hands the keyboard to no new window still gets the output covered.
    QTimer::singleShot(activationWait, fill, &FullScreenOnceActive::fill);
}

}  // namespace ZantrelUI
