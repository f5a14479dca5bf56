#include "ZantrelUI/design/GlassPainting.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <vector>

namespace ZantrelUI {

QPainterPath capsulePath(const QRectF& rect) {
    QPainterPath path;
    const qreal r = std::min(rect.width(), rect.height()) / 2;
    path.addRoundedRect(rect, r, r);
    return path;
}

QPainterPath roundedPath(const QRectF& rect, qreal radius) {
    QPainterPath path;
    const qreal r = std::min({radius, rect.width() / 2, rect.height() / 2});
    path.addRoundedRect(rect, r, r);
    return path;
}

void strokeCapsuleInside(QPainter& painter, const QRectF& rect, const QBrush& brush, qreal width) {
    const QRectF inner = rect.adjusted(width / 2, width / 2, -width / 2, -width / 2);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(brush, width));
    painter.drawPath(capsulePath(inner));
    painter.restore();
}

void strokeRoundedInside(QPainter& painter, const QRectF& rect, qreal radius, const QBrush& brush, qreal width) {
    const QRectF inner = rect.adjusted(width / 2, width / 2, -width / 2, -width / 2);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(brush, width));
    painter.drawPath(roundedPath(inner, std::max<qreal>(0, radius - width / 2)));
    painter.restore();
}

qreal shadowMargin(const Shadow& shadow) {
    return shadow.radius * 1.5 + std::max(std::abs(shadow.offset.x()), std::abs(shadow.offset.y()));
}

namespace {

// One box blur pass over the alpha channel, horizontally then vertically.
void boxBlur(std::vector<float>& alpha, int width, int height, int radius) {
    if (radius <= 0)
        return;
    std::vector<float> line(std::max(width, height));
    const float scale = 1.0f / static_cast<float>(2 * radius + 1);
    for (int y = 0; y < height; ++y) {
        float sum = 0;
        for (int x = -radius; x <= radius; ++x)
            sum += alpha[y * width + std::clamp(x, 0, width - 1)];
        for (int x = 0; x < width; ++x) {
            line[x] = sum * scale;
            sum += alpha[y * width + std::min(x + radius + 1, width - 1)];
            sum -= alpha[y * width + std::max(x - radius, 0)];
        }
        std::copy(line.begin(), line.begin() + width, alpha.begin() + y * width);
    }
    for (int x = 0; x < width; ++x) {
        float sum = 0;
        for (int y = -radius; y <= radius; ++y)
            sum += alpha[std::clamp(y, 0, height - 1) * width + x];
        for (int y = 0; y < height; ++y) {
            line[y] = sum * scale;
            sum += alpha[std::min(y + radius + 1, height - 1) * width + x];
            sum -= alpha[std::max(y - radius, 0) * width + x];
        }
        for (int y = 0; y < height; ++y)
            alpha[y * width + x] = line[y];
    }
}

}  // namespace

void paintShadow(QPainter& painter, const QPainterPath& shape, const Shadow& shadow) {
    if (!shadow.visible() || shape.isEmpty())
        return;
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1;
    const qreal pad = shadow.radius * 1.5 + 2;
    const QRectF bounds = shape.boundingRect().adjusted(-pad, -pad, pad, pad);
    const int w = std::max(1, static_cast<int>(std::ceil(bounds.width() * dpr)));
    const int h = std::max(1, static_cast<int>(std::ceil(bounds.height() * dpr)));
    QImage mask(w, h, QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(dpr, dpr);
        p.translate(-bounds.topLeft());
        p.fillPath(shape, Qt::black);
    }
    std::vector<float> alpha(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        const uchar* row = mask.constScanLine(y);
        for (int x = 0; x < w; ++x)
            alpha[y * w + x] = row[x];
    }
    // Three box passes approximate a Gaussian whose spread matches the radius.
    const int box = std::max(1, static_cast<int>(std::lround(shadow.radius * dpr / 2)));
    for (int i = 0; i < 3; ++i)
        boxBlur(alpha, w, h, box);
    QImage tinted(w, h, QImage::Format_ARGB32_Premultiplied);
    const QColor c = shadow.color;
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(tinted.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const float a = alpha[y * w + x] / 255.0f * c.alphaF();
            row[x] = qRgba(static_cast<int>(c.red() * a), static_cast<int>(c.green() * a),
                           static_cast<int>(c.blue() * a), static_cast<int>(a * 255));
        }
    }
    tinted.setDevicePixelRatio(dpr);
    painter.drawImage(bounds.topLeft() + shadow.offset, tinted);
}

}  // namespace ZantrelUI
