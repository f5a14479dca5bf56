#include "ZantrelUI/desktop/WaylandAreaSelectorDesk.h"

#include "platform/screen/ScreenService.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
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

}  // namespace

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

QCoro::Task<bool> WaylandAreaSelectorDesk::prepare() {
    co_return co_await screen_.freeze();
}

void WaylandAreaSelectorDesk::present(QWidget& panel, const QRectF& frame) {
    panel.setWindowFlag(Qt::FramelessWindowHint);
    panel.winId();
    if (QWindow* window = panel.windowHandle()) {
        if (QScreen* screen = screenAt(frame))
            window->setScreen(screen);
    }
    panel.showFullScreen();
    panel.raise();
    panel.activateWindow();
}

}  // namespace ZantrelUI
