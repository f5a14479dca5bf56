#include "ZantrelUI/desktop/AreaSelectorDesk.h"

#include "ZantrelUI/desktop/WaylandAreaSelectorDesk.h"
#include "platform/async/Clock.h"
#include "platform/screen/ScreenService.h"
#include "platform/screen/X11Capture.h"
#include "platform/screen/X11Damage.h"
#include "platform/screen/X11Desktop.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace ZantrelUI {

bool isOtherProgram(const FrontWindow& front, std::int64_t ownProcess) {
    return !front.process || *front.process != ownProcess;
}

void AreaSelectorDesk::present(QWidget& panel, const QRectF&) {
    panel.show();
    panel.raise();
}

namespace {

class FixedWait final : public RepaintWait {
public:
    QCoro::Task<> done(std::chrono::milliseconds bound) override { co_await Platform::Clock::shared().sleep(bound); }
};

// Drawing on the area as the X server reports it. The wait ends once all of the area was
// drawn and the drawing has paused for a moment: a window that clears its ground first
// and draws its content after it is not caught halfway.
class X11RepaintWait final : public RepaintWait, private QAbstractNativeEventFilter {
public:
    X11RepaintWait(Platform::X11Link link, QRect pixels) : watch_(link, pixels) {
        if (watch_.listening())
            QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~X11RepaintWait() override {
        if (watch_.listening() && QCoreApplication::instance() != nullptr)
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    QCoro::Task<> done(std::chrono::milliseconds bound) override {
        Platform::Clock& clock = Platform::Clock::shared();
        const Platform::Clock::TimePoint end = clock.now() + bound;
        if (!watch_.listening()) {
            co_await clock.sleep(bound);
            co_return;
        }
        for (;;) {
            const Platform::Clock::TimePoint now = clock.now();
            if (now >= end || (watch_.covered() && lastDrawn_ && now - *lastDrawn_ >= settled))
                co_return;
            co_await clock.sleep(std::min<Platform::Clock::Duration>(step, end - now));
        }
    }

private:
    static constexpr std::chrono::milliseconds settled{12};
    static constexpr std::chrono::milliseconds step{3};

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType == "xcb_generic_event_t" && watch_.handle(*static_cast<const xcb_generic_event_t*>(message)))
            lastDrawn_ = Platform::Clock::shared().now();
        return false;
    }

    Platform::X11DamageWatch watch_;
    std::optional<Platform::Clock::TimePoint> lastDrawn_;
};

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

    std::unique_ptr<RepaintWait> watchRepaint(const QRectF& area) override {
        // A compositor draws the screen on a window of its own, where no drawing is heard.
        if (!link_ || Platform::hasCompositor(*link_))
            return AreaSelectorDesk::watchRepaint(area);
        return std::make_unique<X11RepaintWait>(*link_, Platform::toDevicePixels(area));
    }

private:
    std::optional<Platform::X11Link> link_;
};

}  // namespace

std::unique_ptr<RepaintWait> AreaSelectorDesk::watchRepaint(const QRectF&) {
    return std::make_unique<FixedWait>();
}

std::unique_ptr<AreaSelectorDesk> makeLiveAreaSelectorDesk() {
    Platform::ScreenService& screen = Platform::screenService();
    if (screen.session() == Platform::Session::wayland)
        return std::make_unique<WaylandAreaSelectorDesk>(screen);
    return std::make_unique<LiveDesk>();
}

}  // namespace ZantrelUI
