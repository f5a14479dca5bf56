#include "ZantrelKit/ScreenArea.h"

#include <algorithm>
#include <cmath>

namespace ZantrelKit::ScreenArea {
namespace {

// The four edges of a rectangle whatever the sign of its size.
struct Edges {
    double minX, minY, maxX, maxY;

    explicit Edges(const QRectF& r)
        : minX(std::min(r.x(), r.x() + r.width())),
          minY(std::min(r.y(), r.y() + r.height())),
          maxX(std::max(r.x(), r.x() + r.width())),
          maxY(std::max(r.y(), r.y() + r.height())) {}
    Edges(double x0, double y0, double x1, double y1) : minX(x0), minY(y0), maxX(x1), maxY(y1) {}

    QRectF toRect() const { return QRectF(minX, minY, maxX - minX, maxY - minY); }
};

// The overlap of two rectangles when it has an area; touching edges and NaN give nothing.
std::optional<Edges> overlap(const Edges& a, const Edges& b) {
    const Edges piece(std::max(a.minX, b.minX), std::max(a.minY, b.minY), std::min(a.maxX, b.maxX),
                      std::min(a.maxY, b.maxY));
    if (!(piece.maxX > piece.minX) || !(piece.maxY > piece.minY))
        return std::nullopt;
    return piece;
}

Edges enclosing(const Edges& a, const Edges& b) {
    return Edges(std::min(a.minX, b.minX), std::min(a.minY, b.minY), std::max(a.maxX, b.maxX),
                 std::max(a.maxY, b.maxY));
}

}  // namespace

QRectF rect(QPointF from, QPointF to) {
    const double x = to.x() < from.x() ? to.x() : from.x();
    const double y = to.y() < from.y() ? to.y() : from.y();
    return QRectF(x, y, std::abs(to.x() - from.x()), std::abs(to.y() - from.y()));
}

std::optional<QRectF> clip(const QRectF& rect, const QList<QRectF>& screens) {
    const Edges area(rect);
    std::optional<Edges> united;
    for (const QRectF& screen : screens) {
        const std::optional<Edges> piece = overlap(area, Edges(screen));
        if (!piece)
            continue;
        united = united ? enclosing(*united, *piece) : *piece;
    }
    if (!united)
        return std::nullopt;
    return united->toRect();
}

bool isUsable(const QRectF& rect) {
    return std::abs(rect.width()) >= minimumSide && std::abs(rect.height()) >= minimumSide;
}

QString sizeLabel(const QRectF& rect) {
    const double width = std::abs(rect.width());
    const double height = std::abs(rect.height());
    if (!std::isfinite(width) || !std::isfinite(height))
        return {};
    // Formatting the rounded double keeps sizes beyond the integer range exact enough.
    return QStringLiteral("%1 \u00D7 %2")
        .arg(QString::number(std::round(width), 'f', 0), QString::number(std::round(height), 'f', 0));
}

QRectF captureRect(const QRectF& rect, double screenHeight) {
    const Edges edges(rect);
    return QRectF(edges.minX, screenHeight - edges.maxY, edges.maxX - edges.minX, edges.maxY - edges.minY);
}

}  // namespace ZantrelKit::ScreenArea
