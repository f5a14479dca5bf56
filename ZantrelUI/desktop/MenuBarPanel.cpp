#include "ZantrelUI/desktop/MenuBarPanel.h"

#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/GlassWindow.h"
#include "ZantrelUI/design/PanelMotion.h"
#include "ZantrelUI/design/ReduceMotion.h"
#include "platform/async/MainThread.h"
#include "platform/screen/X11CurrentDesktop.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QVBoxLayout>

#include <cmath>

namespace ZantrelUI {

namespace {

// The card edge laid over the content, inside the rounded outline.
class EdgeStroke final : public GlassWidget {
public:
    explicit EdgeStroke(QWidget* parent) : GlassWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        strokeRoundedInside(painter, rect(), MenuBarPanel::radius, Surface::cardStroke().resolve(scheme()), 1);
    }
};

}  // namespace

MenuWindow::MenuWindow() : GlassWidget(nullptr) {
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFocusPolicy(Qt::StrongFocus);
}

void MenuWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Platform::assertMain();
        if (onEscape)
            onEscape();
        event->accept();
        return;
    }
    GlassWidget::keyPressEvent(event);
}

bool MenuWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate)
        Q_EMIT deactivated();
    return GlassWidget::event(event);
}

void MenuWindow::resizeEvent(QResizeEvent* event) {
    GlassWidget::resizeEvent(event);
    // The rounded outline clips the content; without a compositor this is the only way
    // to cut the corners.
    setMask(QRegion(roundedPath(QRectF(rect()), MenuBarPanel::radius).toFillPolygon().toPolygon()));
    Q_EMIT resized();
}

MenuBarPanel::Surroundings MenuBarPanel::Surroundings::live(QSystemTrayIcon* item) {
    QPointer<QSystemTrayIcon> weak(item);
    return {[weak] { return weak ? weak->geometry() : QRect(); },
            [] { return QCursor::pos(); },
            [] {
                QList<Screen> list;
                const QScreen* primary = QGuiApplication::primaryScreen();
                if (primary != nullptr)
                    list.append({primary->geometry(), primary->availableGeometry()});
                for (const QScreen* screen : QGuiApplication::screens())
                    if (screen != primary)
                        list.append({screen->geometry(), screen->availableGeometry()});
                return list;
            },
            &ReduceMotion::system};
}

std::optional<MenuBarPanel::Placement> MenuBarPanel::placement(QSize size, QRect item, QPoint pointer,
                                                               const QList<Screen>& screens) {
    if (screens.isEmpty())
        return std::nullopt;
    // Qt's y grows downwards: "under the icon" is below its bottom edge.
    const bool hasItem = item.isValid() && !item.isEmpty();
    const double midX = hasItem ? item.x() + item.width() / 2.0 : pointer.x();
    const int itemTop = hasItem ? item.y() : pointer.y();
    const int itemBottom = hasItem ? item.y() + item.height() : pointer.y();

    const QPoint probe(static_cast<int>(std::floor(midX)), (itemTop + itemBottom) / 2);
    const Screen* screen = &screens.front();
    for (const Screen& candidate : screens) {
        if (candidate.frame.contains(probe)) {
            screen = &candidate;
            break;
        }
    }
    const QRect visible = screen->available;
    const int visibleRight = visible.x() + visible.width();
    const int visibleBottom = visible.y() + visible.height();
    const int w = size.width();
    const int h = size.height();

    int x = static_cast<int>(std::lround(midX - w / 2.0));
    if (x <= visible.x() + margin)
        x = visible.x() + margin;
    if (visibleRight - w - margin < x)
        x = visibleRight - w - margin;

    Placement placed;
    const int underY = itemBottom + gap;
    const int overY = itemTop - gap - h;
    if (underY + h <= visibleBottom) {
        placed = {QRect(x, underY, w, h), true, underY};
    } else if (overY >= visible.y()) {
        // A tray at the bottom of the screen: the panel stands on the icon instead.
        placed = {QRect(x, overY, w, h), false, itemTop - gap};
    } else {
        // Fits neither way: as much of it as the screen holds, top first.
        const int y = std::max(visible.y(), visibleBottom - h);
        placed = {QRect(x, y, w, h), true, y};
    }
    return placed;
}

MenuBarPanel::MenuBarPanel(QSystemTrayIcon* item, QWidget* content, std::optional<Surroundings> surroundings,
                           QObject* parent)
    : QObject(parent),
      item_(item),
      panel_(std::make_unique<MenuWindow>()),
      content_(content),
      motion_(new PanelMotion(this)),
      surroundings_(surroundings ? std::move(*surroundings) : Surroundings::live(item)) {
    Platform::assertMain();
    if (item_ != nullptr) {
        connect(item_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context)
                Q_EMIT itemClicked();
        });
    }

    QPointer<MenuBarPanel> weak(this);
    panel_->onEscape = [weak] {
        if (weak)
            weak->hide();
    };
    connect(panel_.get(), &MenuWindow::deactivated, this, &MenuBarPanel::resignedKey);
    connect(panel_.get(), &MenuWindow::resized, this, &MenuBarPanel::keepEdge);

    // The content view that the panel motion fades and grows: the content with the edge
    // stroked over it.
    frame_ = new QWidget(panel_.get());
    auto* outer = new QVBoxLayout(panel_.get());
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame_);
    auto* inner = new QVBoxLayout(frame_);
    inner->setContentsMargins(0, 0, 0, 0);
    if (content_ != nullptr)
        inner->addWidget(content_);
    edge_ = new EdgeStroke(frame_);
    edge_->raise();
    frame_->installEventFilter(this);
}

MenuBarPanel::~MenuBarPanel() = default;

QSize MenuBarPanel::measure() const {
    if (content_ == nullptr)
        return QSize(100, 60);
    // A content of fixed or minimum size gets it even when its preferred size is smaller;
    // the window could not be made smaller anyway, and would run past the screen edge.
    const QSize fitting = HostedPanel::fittingSize(content_.data());
    return fitting.expandedTo(content_->minimumSize()).boundedTo(content_->maximumSize()).expandedTo(QSize(100, 60));
}

void MenuBarPanel::show(Sharing sharing) {
    Platform::assertMain();
    if (item_ == nullptr)
        return;
    const std::optional<Placement> placed =
        placement(measure(), surroundings_.itemRect(), surroundings_.pointer(), surroundings_.screens());
    if (!placed)
        return;
    anchor_ = placed;
    panel_->setGeometry(placed->frame);
    sharing_ = sharing;
    shown_ = true;
    motion_->show(panel_.get(), true, surroundings_.reduceMotion(), 0.96, QPointF(0.5, placed->below ? 0 : 1));
    if (!spaces_) {
        spaces_ = std::make_unique<Platform::CurrentDesktopWatch>();
        connect(spaces_.get(), &Platform::CurrentDesktopWatch::changed, this, [this] {
            Platform::assertMain();
            hide();
        });
    }
}

void MenuBarPanel::hide() {
    Platform::assertMain();
    if (!shown_)
        return;
    shown_ = false;
    spaces_.reset();
    motion_->hide(panel_.get(), surroundings_.reduceMotion());
}

void MenuBarPanel::dismiss() {
    if (panel_->onEscape)
        panel_->onEscape();
}

void MenuBarPanel::resignedKey() {
    Platform::assertMain();
    if (!shown_)
        return;
    // The click that took the keyboard landed on the tray icon: its action toggles the
    // panel, so hiding here would only make it show again.
    const QRect item = surroundings_.itemRect();
    if (item.isValid() && !item.isEmpty() && item.contains(surroundings_.pointer()))
        return;
    hide();
}

void MenuBarPanel::keepEdge() {
    if (!shown_ || !anchor_)
        return;
    const int y = anchor_->below ? anchor_->edge : anchor_->edge - panel_->height();
    if (panel_->y() != y)
        panel_->move(panel_->x(), y);
}

bool MenuBarPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == frame_) {
        if (event->type() == QEvent::Resize) {
            edge_->setGeometry(frame_->rect());
            edge_->raise();
        } else if (event->type() == QEvent::LayoutRequest && shown_) {
            // The content grew or shrank: the panel follows, keeping its edge by the icon.
            const QSize size = measure();
            if (panel_->size() != size)
                panel_->resize(size);
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace ZantrelUI
