#include "ZantrelUI/desktop/AreaSelectorDesk.h"

#include "ZantrelUI/desktop/WaylandAreaSelectorDesk.h"
#include "platform/screen/ScreenService.h"
#include "platform/screen/X11Capture.h"
#include "platform/screen/X11Desktop.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace ZantrelUI {

bool isOtherProgram(const FrontWindow& front, std::int64_t ownProcess) {
    return !front.process || *front.process != ownProcess;
}

void AreaSelectorDesk::present(QWidget& panel, const QRectF&) {
    panel.show();
    panel.raise();
}

namespace {

class LiveDesk final : public AreaSelectorDesk {
public:
    LiveDesk() : link_(Platform::applicationX11Link()) {}

    QList<QRectF> screens() const override {
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

    QPointF pointer() const override { return QCursor::pos(); }

    bool translucent() const override {
        // Without X11 (a Wayland session) the compositor is the display server itself.
        return !link_ || Platform::hasCompositor(*link_);
    }

    QImage freeze(const QRectF& screen) const override {
        if (!link_)
            return {};
        const QRect pixels = Platform::toDevicePixels(screen);
        auto picture = Platform::captureRoot(*link_, pixels);
        if (!picture)
            return {};
        picture->setDevicePixelRatio(screen.width() > 0 ? pixels.width() / screen.width() : 1.0);
        return std::move(*picture);
    }

    bool grabInput(QWidget& panel) override {
        QWindow* window = panel.windowHandle();
        if (window == nullptr)
            return false;
        if (!window->setKeyboardGrabEnabled(true))
            return false;
        if (!window->setMouseGrabEnabled(true)) {
            window->setKeyboardGrabEnabled(false);
            return false;
        }
        return true;
    }

    void releaseInput(QWidget& panel) override {
        if (QWindow* window = panel.windowHandle()) {
            window->setMouseGrabEnabled(false);
            window->setKeyboardGrabEnabled(false);
        }
    }

    std::optional<FrontWindow> frontWindow() const override {
        if (!link_)
            return std::nullopt;
        // Without a window manager nobody names an active window: the focus tells.
        auto window = Platform::activeWindow(*link_);
        if (!window && !Platform::hasWindowManager(*link_))
            window = Platform::focusedWindow(*link_);
        if (!window)
            return std::nullopt;
        FrontWindow front{*window, std::nullopt};
        if (const auto process = Platform::windowProcess(*link_, *window))
            front.process = *process;
        return front;
    }

    void activate(const FrontWindow& window) override {
        if (!link_)
            return;
        if (Platform::hasWindowManager(*link_))
            Platform::activateWindow(*link_, static_cast<xcb_window_t>(window.window));
        else
            Platform::focusWindow(*link_, static_cast<xcb_window_t>(window.window));
    }

    void refocus(const FrontWindow& window) override {
        if (link_)
            Platform::focusWindow(*link_, static_cast<xcb_window_t>(window.window));
    }

private:
    std::optional<Platform::X11Link> link_;
};

}  // namespace

std::unique_ptr<AreaSelectorDesk> makeLiveAreaSelectorDesk() {
    Platform::ScreenService& screen = Platform::screenService();
    if (screen.session() == Platform::Session::wayland)
        return std::make_unique<WaylandAreaSelectorDesk>(screen);
    return std::make_unique<LiveDesk>();
}

}  // namespace ZantrelUI
