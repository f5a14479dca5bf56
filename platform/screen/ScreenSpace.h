#pragma once

// The app keeps screen rectangles in global screen points: origin at the bottom-left
// corner of the primary screen, y growing upwards. Qt and X11 place windows in desktop
// coordinates: origin at the top left of the virtual desktop, y growing downwards. This
// is the one place that converts between the two.

#include <QPointF>
#include <QRectF>

namespace Platform {

class ScreenSpace {
public:
    // `primary` is the primary screen's geometry in desktop coordinates (Qt logical
    // pixels, which are the app's points).
    explicit ScreenSpace(const QRectF& primary) : primary_(primary) {}

    QPointF toDesktop(QPointF global) const;
    QPointF toGlobal(QPointF desktop) const;
    QRectF toDesktop(const QRectF& global) const;
    QRectF toGlobal(const QRectF& desktop) const;

    const QRectF& primary() const { return primary_; }

private:
    QRectF primary_;
};

}  // namespace Platform
