#include "ZantrelUI/design/MotionEffect.h"

#include "ZantrelUI/design/GlassPainting.h"

#include <QPainter>
#include <QWidget>

namespace ZantrelUI {

MotionEffect::MotionEffect(QObject* parent) : QGraphicsEffect(parent), layer_(QStringLiteral("effect"), this) {
    connect(&layer_, &MotionLayer::changed, this, [this] { update(); });
}

MotionEffect* MotionEffect::on(QWidget* widget, bool create) {
    if (widget == nullptr)
        return nullptr;
    if (auto* effect = qobject_cast<MotionEffect*>(widget->graphicsEffect()))
        return effect;
    if (!create)
        return nullptr;
    auto* effect = new MotionEffect(widget);
    widget->setGraphicsEffect(effect);  // the widget owns it
    return effect;
}

QRectF MotionEffect::boundingRectFor(const QRectF& rect) const {
    // Scaled-up or moved content may reach past the widget's own rectangle.
    return rect.adjusted(-rect.width() * 0.1 - 16, -rect.height() * 0.1 - 16, rect.width() * 0.1 + 16,
                         rect.height() * 0.1 + 16);
}

void MotionEffect::draw(QPainter* painter) {
    const double opacity = layer_.presentationNumber(QStringLiteral("opacity"));
    if (opacity <= 0)
        return;
    QTransform transform = std::get<QTransform>(layer_.presentation(QStringLiteral("transform")));
    const double scale = layer_.presentationNumber(QStringLiteral("transform.scale"));
    const QPointF shift(layer_.presentationNumber(QStringLiteral("translation.x")),
                        layer_.presentationNumber(QStringLiteral("translation.y")));
    QPoint offset;
    const QPixmap pixmap = sourcePixmap(Qt::LogicalCoordinates, &offset, QGraphicsEffect::NoPad);
    const QRectF bounds = sourceBoundingRect(Qt::LogicalCoordinates);
    painter->save();
    painter->setOpacity(painter->opacity() * opacity);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->translate(shift);
    if (scale != 1) {
        const QPointF centre = bounds.center();
        painter->translate(centre);
        painter->scale(scale, scale);
        painter->translate(-centre);
    }
    painter->setWorldTransform(transform, true);
    // A lift's shadow: under the rounded frame of the content.
    const double shadowOpacity = layer_.presentationNumber(QStringLiteral("shadow.opacity"));
    if (shadowOpacity > 0) {
        const qreal corner = layer_.presentationNumber(QStringLiteral("shadow.corner"));
        paintShadow(*painter, roundedPath(bounds, corner),
                    Shadow{QColor::fromRgbF(0, 0, 0, static_cast<float>(shadowOpacity)),
                           layer_.presentationNumber(QStringLiteral("shadow.radius")),
                           QPointF(0, layer_.presentationNumber(QStringLiteral("shadow.y")))});
    }
    painter->drawPixmap(offset, pixmap);
    painter->restore();
}

}  // namespace ZantrelUI
