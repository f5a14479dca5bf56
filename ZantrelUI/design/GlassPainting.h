#pragma once

// Painting helpers the glass pieces share: shapes, inner strokes and soft shadows.

#include "ZantrelUI/design/Tokens.h"

#include <QBrush>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

namespace ZantrelUI {

QPainterPath capsulePath(const QRectF& rect);
QPainterPath roundedPath(const QRectF& rect, qreal radius);

// A border drawn entirely inside `rect` (the line never leaves the shape).
void strokeCapsuleInside(QPainter& painter, const QRectF& rect, const QBrush& brush, qreal width = 1);
void strokeRoundedInside(QPainter& painter, const QRectF& rect, qreal radius, const QBrush& brush, qreal width = 1);

// A blurred copy of the shape in the shadow's colour, under where the shape will be drawn.
void paintShadow(QPainter& painter, const QPainterPath& shape, const Shadow& shadow);

// Extra room a widget needs around its shape so a shadow is not clipped.
qreal shadowMargin(const Shadow& shadow);

}  // namespace ZantrelUI
