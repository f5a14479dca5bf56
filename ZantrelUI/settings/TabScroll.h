#pragma once

// The scrolling page of a settings window: as high as its page up to a cap taken from the
// smallest screen; a taller page scrolls, gets room under its last row and fades out at
// the bottom while there is more to see.

#include "ZantrelUI/context/Environment.h"

#include <QList>
#include <QPointer>

#include <functional>

class QGraphicsOpacityEffect;
class QScrollArea;
class QVBoxLayout;

namespace ZantrelUI {

class TabScroll final : public GlassWidget {
    Q_OBJECT
public:
    // The visible heights of the screens attached now.
    using ScreenHeights = std::function<QList<qreal>()>;

    static constexpr qreal maximumCap = 600;
    static constexpr qreal screenMargin = 160;
    // Below this the page would be unusable, so a tiny display still shows a few rows.
    static constexpr qreal minimumCap = 120;
    static constexpr qreal overflowInset = 32;
    static constexpr qreal fadeHeight = 24;

    // The cap for these screens: 600 without any, else the smallest height less 160, at most 600.
    static qreal cap(const QList<qreal>& visibleHeights);
    // The live screens' visible heights.
    static QList<qreal> liveScreenHeights();

    explicit TabScroll(QWidget* parent = nullptr, ScreenHeights screens = liveScreenHeights);

    // Puts a page in (the previous one is deleted) with `sideInset` on the left and right.
    void setPage(QWidget* page, int sideInset = 0);
    QWidget* page() const { return page_; }

    // The last measured height of the page with its bottom inset; 0 before any page.
    qreal measuredHeight() const { return height_; }
    qreal currentCap() const;
    bool overflows() const { return overflows_; }
    // The room under the page: 32 while it overflows, else none.
    qreal bottomInset() const { return overflows_ ? overflowInset : 0; }
    bool fades() const;
    QScrollArea* scrollArea() const { return area_; }

    // Measures the page again at the current width (also done whenever its layout changes).
    void remeasure();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyFade();

    ScreenHeights screens_;
    QScrollArea* area_;
    QWidget* holder_;
    QVBoxLayout* holderLayout_;
    QPointer<QWidget> page_;
    QGraphicsOpacityEffect* fade_ = nullptr;
    qreal height_ = 0;
    bool overflows_ = false;
    bool measuring_ = false;
};

}  // namespace ZantrelUI
