#include "Glyphnab/notice/GrabShimmer.h"

#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/design/ReduceMotion.h"
#include "platform/async/Clock.h"
#include "platform/async/MainThread.h"
#include "platform/screen/ScreenService.h"
#include "platform/screen/ScreenSpace.h"
#include "platform/screen/X11Capture.h"
#include "platform/screen/X11Desktop.h"
#include "platform/screen/X11Link.h"

#include <QCoroTask>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>

#include <chrono>

namespace Glyphnab {

namespace {

// The shimmer's window: paints the frozen pixels, when it has them, under its band.
class ShimmerPanel final : public QWidget {
public:
    explicit ShimmerPanel(bool translucent)
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput |
                               Qt::X11BypassWindowManagerHint) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        // Without a compositor the panel is an ordinary window that paints the frozen
        // pixels under the band; a see-through one would show black.
        setAttribute(Qt::WA_TranslucentBackground, translucent);
        setFocusPolicy(Qt::NoFocus);
        setObjectName(QStringLiteral("glyphnab.shimmer"));
    }

    void setBacking(QImage backing) {
        backing_ = std::move(backing);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (backing_.isNull())
            return;
        QPainter painter(this);
        painter.drawImage(QRectF(rect()), backing_);
    }

private:
    QImage backing_;
};

QCoro::Task<> clearLater(QPointer<GrabShimmer> shimmer, Platform::Clock& clock, int generation,
                         std::function<void(int)> clear) {
    using namespace std::chrono;
    co_await clock.sleep(duration_cast<nanoseconds>(duration<double>(GrabShimmer::clearAfter)));
    if (shimmer)
        clear(generation);
}

}  // namespace

GrabShimmer::Desk GrabShimmer::Desk::live() {
    return {[] {
                const QScreen* primary = QGuiApplication::primaryScreen();
                return primary ? QRectF(primary->geometry()) : QRectF();
            },
            [](const QRect& area) -> QImage {
                static const auto link = Platform::applicationX11Link();
                if (!link || Platform::hasCompositor(*link))
                    return {};
                auto picture = Platform::captureRoot(*link, Platform::toDevicePixels(QRectF(area)));
                return picture ? std::move(*picture) : QImage();
            },
            [] { return Platform::currentSession() != Platform::Session::wayland; }};
}

GrabShimmer::GrabShimmer(std::function<bool()> reduceMotion, Desk desk, Platform::Clock* clock, QObject* parent)
    : QObject(parent),
      reduceMotion_(reduceMotion ? std::move(reduceMotion) : std::function<bool()>(&ZantrelUI::ReduceMotion::system)),
      desk_(std::move(desk)),
      clock_(clock ? *clock : Platform::Clock::shared()) {}

GrabShimmer::~GrabShimmer() = default;

bool GrabShimmer::isShowing() const { return panel_ && panel_->isVisible(); }

void GrabShimmer::play(const QRectF& area) {
    Platform::assertMain();
    // A flash that cannot lie over the area would light some other place.
    if (reduceMotion_() || !(area.width() >= 1) || !(area.height() >= 1) || (desk_.places && !desk_.places()))
        return;
    const int generation = ++generation_;
    const QRectF primary = desk_.primary ? desk_.primary() : QRectF();
    const QRect desktop = Platform::ScreenSpace(primary).toDesktop(area).toAlignedRect();
    QImage backing = desk_.freeze ? desk_.freeze(desktop) : QImage();

    // A window's visual is fixed when it is made: the compositor came or went.
    const bool translucent = backing.isNull();
    if (panel_ && panel_->testAttribute(Qt::WA_TranslucentBackground) != translucent)
        panel_.reset();
    if (!panel_) {
        panel_ = std::make_unique<ShimmerPanel>(translucent);
        // Read with the desktop by screenshot tools, not as a window of its own.
        if (const auto link = Platform::applicationX11Link(); link && !translucent)
            Platform::useDefaultColormap(*link, static_cast<xcb_window_t>(panel_->winId()));
    }
    auto* panel = static_cast<ShimmerPanel*>(panel_.get());

    for (QWidget* old : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        delete old;
    auto* view = new ZantrelUI::ShimmerView(false, panel);
    view->setGeometry(QRect(QPoint(0, 0), desktop.size()));
    panel->setBacking(std::move(backing));
    panel->setGeometry(desktop);
    view->show();
    panel->show();
    panel->raise();
    view->sweep();

    QPointer<GrabShimmer> self = this;
    clearLater(self, clock_, generation, [self](int played) {
        if (self)
            self->clear(played);
    });
}

void GrabShimmer::clear(int generation) {
    // A newer play owns the panel now.
    if (generation != generation_ || !panel_)
        return;
    panel_->hide();
    for (QWidget* old : panel_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        delete old;
    static_cast<ShimmerPanel*>(panel_.get())->setBacking({});
}

}  // namespace Glyphnab
