#include "ZantrelUI/settings/TabScroll.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace ZantrelUI {

qreal TabScroll::cap(const QList<qreal>& visibleHeights) {
    if (visibleHeights.isEmpty())
        return maximumCap;
    const qreal smallest = *std::min_element(visibleHeights.begin(), visibleHeights.end());
    return std::clamp(smallest - screenMargin, minimumCap, maximumCap);
}

QList<qreal> TabScroll::liveScreenHeights() {
    QList<qreal> heights;
    for (const QScreen* screen : QGuiApplication::screens())
        heights.append(screen->availableGeometry().height());
    return heights;
}

namespace {

// The viewport ignores the wheel while nothing is hidden, so the page stays put.
class StillWhenFitting final : public QObject {
public:
    explicit StillWhenFitting(const TabScroll* scroll) : QObject(const_cast<TabScroll*>(scroll)), scroll_(scroll) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::Wheel && !scroll_->overflows();
    }

private:
    const TabScroll* scroll_;
};

}  // namespace

TabScroll::TabScroll(QWidget* parent, ScreenHeights screens)
    : GlassWidget(parent), screens_(std::move(screens)), area_(new QScrollArea(this)), holder_(new QWidget()) {
    area_->setFrameShape(QFrame::NoFrame);
    // Not a Tab stop of its own: it would take the focus and show nothing. It still
    // scrolls the focused control into view.
    area_->setFocusPolicy(Qt::NoFocus);
    area_->setWidgetResizable(true);
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area_->viewport()->setAutoFillBackground(false);
    area_->setAutoFillBackground(false);
    area_->viewport()->installEventFilter(new StillWhenFitting(this));
    holderLayout_ = new QVBoxLayout(holder_);
    holderLayout_->setContentsMargins(0, 0, 0, 0);
    holderLayout_->setSpacing(0);
    area_->setWidget(holder_);
    holder_->setAutoFillBackground(false);  // setWidget turns it on; the backdrop shows through
    holder_->installEventFilter(this);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(1);
}

qreal TabScroll::currentCap() const { return cap(screens_ ? screens_() : QList<qreal>{}); }

bool TabScroll::fades() const { return fade_ != nullptr; }

void TabScroll::setPage(QWidget* page, int sideInset) {
    if (page_) {
        page_->removeEventFilter(this);
        holderLayout_->removeWidget(page_);
        delete page_.data();
    }
    page_ = page;
    holderLayout_->setContentsMargins(sideInset, 0, sideInset, 0);
    height_ = 0;
    overflows_ = false;
    if (page_) {
        holderLayout_->addWidget(page_);
        page_->installEventFilter(this);
        // A page built on its own learns the window's values (the glass look among them)
        // now, whatever kind of widget its top is.
        Environment::notifyChanged(page_);
    }
    area_->verticalScrollBar()->setValue(0);
    remeasure();
}

void TabScroll::remeasure() {
    if (measuring_)
        return;
    measuring_ = true;
    qreal pageHeight = 0;
    if (page_) {
        const QMargins side = holderLayout_->contentsMargins();
        const int w = std::max(1, width() - side.left() - side.right());
        pageHeight = page_->hasHeightForWidth() ? page_->heightForWidth(w) : page_->sizeHint().height();
        pageHeight = std::max<qreal>(pageHeight, 0);
    }
    const qreal limit = currentCap();
    // The page's own height decides, so a page just under the cap never keeps a stale inset.
    overflows_ = pageHeight > limit;
    height_ = pageHeight + bottomInset();
    QMargins margins = holderLayout_->contentsMargins();
    margins.setBottom(static_cast<int>(bottomInset()));
    holderLayout_->setContentsMargins(margins);
    // The scroll area would squeeze a page that can shrink; it scrolls at its full height.
    holder_->setMinimumHeight(static_cast<int>(std::ceil(height_)));
    area_->setVerticalScrollBarPolicy(overflows_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    const int frame = static_cast<int>(std::ceil(std::min(std::max(height_, 1.0), limit)));
    if (frame != maximumHeight() || frame != minimumHeight())
        setFixedHeight(frame);
    // A resize made while the first, pending resize event is delivered (the page measured
    // at a narrow width before layout) sends no event of its own: the scroll area would
    // keep the old height and stretch the page's rows over it.
    if (area_->geometry() != rect())
        area_->setGeometry(rect());
    applyFade();
    updateGeometry();
    measuring_ = false;
}

void TabScroll::applyFade() {
    if (!overflows_) {
        if (fade_ != nullptr) {
            area_->setGraphicsEffect(nullptr);  // deletes it: an idle effect still renders the page off-screen
            fade_ = nullptr;
        }
        return;
    }
    if (fade_ == nullptr) {
        fade_ = new QGraphicsOpacityEffect(this);
        area_->setGraphicsEffect(fade_);
    }
    // Opaque down to the last 24 points of the visible area, then clear.
    const qreal h = area_->height() > 1 ? area_->height() : height();
    QLinearGradient mask(0, h - fadeHeight, 0, h);
    mask.setColorAt(0, Qt::black);
    mask.setColorAt(1, Qt::transparent);
    fade_->setOpacity(1);
    fade_->setOpacityMask(QBrush(mask));
    fade_->setEnabled(true);
}

QSize TabScroll::sizeHint() const {
    return {GlassWidget::sizeHint().width(), static_cast<int>(std::ceil(std::min(std::max(height_, 1.0), currentCap())))};
}

bool TabScroll::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == page_ || watched == holder_) && event->type() == QEvent::LayoutRequest)
        QMetaObject::invokeMethod(this, &TabScroll::remeasure, Qt::QueuedConnection);
    return GlassWidget::eventFilter(watched, event);
}

void TabScroll::resizeEvent(QResizeEvent* event) {
    area_->setGeometry(rect());
    GlassWidget::resizeEvent(event);
    if (event->oldSize().width() != event->size().width())
        remeasure();
    else
        applyFade();
}

}  // namespace ZantrelUI
