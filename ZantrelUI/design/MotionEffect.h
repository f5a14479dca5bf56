#pragma once

// Draws a widget (with its children) through a layer: the layer's presentation opacity,
// transform, scale and translation apply to the whole rendering, as a layer's do.

#include "ZantrelUI/design/MotionLayer.h"

#include <QGraphicsEffect>

namespace ZantrelUI {

class MotionEffect final : public QGraphicsEffect {
    Q_OBJECT
public:
    explicit MotionEffect(QObject* parent = nullptr);

    MotionLayer& layer() { return layer_; }

    // The effect on `widget`, installed on first use.
    static MotionEffect* on(QWidget* widget, bool create = true);

protected:
    void draw(QPainter* painter) override;
    QRectF boundingRectFor(const QRectF& rect) const override;

private:
    MotionLayer layer_;
};

}  // namespace ZantrelUI
