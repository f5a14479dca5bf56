#include "ZantrelUI/design/Symbols.h"

#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

#include <memory>

namespace ZantrelUI::Symbols {

namespace {

// Each body sits in a 24 × 24 box; strokes use the colour "#000", which the tint replaces.
constexpr const char* stroke = R"( fill="none" stroke="#000" stroke-width="2.2" stroke-linecap="round" stroke-linejoin="round")";

QString svg(const QString& body) {
    return QStringLiteral(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 24 24">%1</svg>)").arg(body);
}

QString s(const char* element) {  // a stroked element
    QString text = QString::fromLatin1(element);
    return text.replace(QLatin1String("/>"), QString::fromLatin1(stroke) + QLatin1String("/>"));
}

const QHash<QString, QString>& bodies() {
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> t;
        const QString triangle = QStringLiteral(R"(<path d="M12 2.5 L22.5 20.5 H1.5 Z" fill="#000" stroke="#000" stroke-width="1.5" stroke-linejoin="round"/>)");
        const QString circleFill = QStringLiteral(R"(<circle cx="12" cy="12" r="10.5" fill="#000"/>)");
        const QString cut = QStringLiteral(R"( fill="none" stroke="#fff" stroke-width="2.4" stroke-linecap="round" stroke-linejoin="round")");
        t[QStringLiteral("checkmark")] = s(R"(<path d="M4.5 12.5 L9.5 17.5 L19.5 6.5"/>)");
        t[QStringLiteral("checkmark.circle.fill")] =
            circleFill + QStringLiteral(R"(<path d="M7 12.5 L10.5 16 L17 8.5")") + cut + QStringLiteral("/>");
        t[QStringLiteral("xmark.circle.fill")] =
            circleFill + QStringLiteral(R"(<path d="M8 8 L16 16 M16 8 L8 16")") + cut + QStringLiteral("/>");
        t[QStringLiteral("exclamationmark.triangle.fill")] =
            triangle + QStringLiteral(R"(<path d="M12 9 V14")") + cut + QStringLiteral("/>") +
            QStringLiteral(R"(<circle cx="12" cy="17.3" r="1.3" fill="#fff"/>)");
        t[QStringLiteral("key.fill")] = QStringLiteral(
            R"(<circle cx="7.5" cy="12" r="5" fill="#000"/><circle cx="6.5" cy="12" r="1.6" fill="#fff"/>)"
            R"(<path d="M11 10.5 H21.5 V13.5 H19.5 V16 H17 V13.5 H11 Z" fill="#000"/>)");
        t[QStringLiteral("ellipsis")] = QStringLiteral(
            R"(<circle cx="5" cy="12" r="2" fill="#000"/><circle cx="12" cy="12" r="2" fill="#000"/><circle cx="19" cy="12" r="2" fill="#000"/>)");
        t[QStringLiteral("plus")] = s(R"(<path d="M12 4.5 V19.5 M4.5 12 H19.5"/>)");
        t[QStringLiteral("minus")] = s(R"(<path d="M4.5 12 H19.5"/>)");
        t[QStringLiteral("chevron.right")] = s(R"(<path d="M9 4.5 L16.5 12 L9 19.5"/>)");
        t[QStringLiteral("chevron.up.chevron.down")] = s(R"(<path d="M7.5 9 L12 4.5 L16.5 9 M7.5 15 L12 19.5 L16.5 15"/>)");
        t[QStringLiteral("arrow.right")] = s(R"(<path d="M3.5 12 H20 M13.5 5.5 L20 12 L13.5 18.5"/>)");
        t[QStringLiteral("arrow.uturn.backward")] = s(R"(<path d="M8.5 4.5 L4 9 L8.5 13.5 M4 9 H14.5 A5.5 5.5 0 0 1 14.5 20 H10"/>)");
        t[QStringLiteral("magnifyingglass")] = s(R"(<circle cx="10" cy="10" r="6.5"/>)") + s(R"(<path d="M15 15 L20.5 20.5"/>)");
        t[QStringLiteral("circle")] = s(R"(<circle cx="12" cy="12" r="9.5"/>)");
        t[QStringLiteral("circle.dashed")] = QStringLiteral(
            R"(<circle cx="12" cy="12" r="9.5" fill="none" stroke="#000" stroke-width="2.2" stroke-dasharray="3.2 3.2" stroke-linecap="round"/>)");
        t[QStringLiteral("rectangle.dashed")] = QStringLiteral(
            R"(<rect x="2.5" y="5" width="19" height="14" rx="2.5" fill="none" stroke="#000" stroke-width="2" stroke-dasharray="3.4 2.6" stroke-linecap="round"/>)");
        t[QStringLiteral("rectangle.dashed.badge.record")] =
            QStringLiteral(
                R"(<path d="M14 5 H5 A2.5 2.5 0 0 0 2.5 7.5 V16.5 A2.5 2.5 0 0 0 5 19 H19 A2.5 2.5 0 0 0 21.5 16.5 V13" fill="none" stroke="#000" stroke-width="2" stroke-dasharray="3.4 2.6" stroke-linecap="round"/>)") +
            QStringLiteral(R"(<circle cx="19" cy="5.5" r="3.6" fill="#000"/>)");
        t[QStringLiteral("folder")] =
            s(R"(<path d="M2.5 6.5 A1.5 1.5 0 0 1 4 5 H9 L11 7.5 H20 A1.5 1.5 0 0 1 21.5 9 V18.5 A1.5 1.5 0 0 1 20 20 H4 A1.5 1.5 0 0 1 2.5 18.5 Z"/>)");
        t[QStringLiteral("tray.and.arrow.down")] =
            s(R"(<path d="M12 3 V13 M8 9.5 L12 13.5 L16 9.5"/>)") +
            s(R"(<path d="M3 14 V19 A1.5 1.5 0 0 0 4.5 20.5 H19.5 A1.5 1.5 0 0 0 21 19 V14 H16 A4 4 0 0 1 8 14 Z"/>)");
        t[QStringLiteral("doc.on.doc")] = s(R"(<rect x="8" y="2.5" width="12" height="15" rx="2"/>)") +
                                           s(R"(<path d="M5.5 6.5 H5 A1.5 1.5 0 0 0 3.5 8 V20 A1.5 1.5 0 0 0 5 21.5 H14 A1.5 1.5 0 0 0 15.5 20 V19.5"/>)");
        const QString clipboard = QStringLiteral(R"(<rect x="4" y="4" width="16" height="18" rx="2.5")");
        const QString clip = QStringLiteral(R"(<rect x="8.5" y="2" width="7" height="4.2" rx="1.3")");
        t[QStringLiteral("doc.on.clipboard")] = s((clipboard + QStringLiteral("/>")).toLatin1().constData()) +
                                                 clip + QStringLiteral(R"( fill="#000"/>)") +
                                                 s(R"(<path d="M8.5 12 H15.5 M8.5 16 H13"/>)");
        t[QStringLiteral("doc.on.clipboard.fill")] =
            clipboard + QStringLiteral(R"( fill="#000"/>)") + clip +
            QStringLiteral(R"( fill="#000" stroke="#fff" stroke-width="1.4"/>)") +
            QStringLiteral(R"(<path d="M8.5 12 H15.5 M8.5 16 H13")") + cut + QStringLiteral("/>");
        t[QStringLiteral("text.alignleft")] = s(R"(<path d="M4 6 H20 M4 10 H14 M4 14 H20 M4 18 H12"/>)");
        t[QStringLiteral("text.viewfinder")] =
            s(R"(<path d="M3 8 V5.5 A2.5 2.5 0 0 1 5.5 3 H8 M16 3 H18.5 A2.5 2.5 0 0 1 21 5.5 V8 M21 16 V18.5 A2.5 2.5 0 0 1 18.5 21 H16 M8 21 H5.5 A2.5 2.5 0 0 1 3 18.5 V16"/>)") +
            s(R"(<path d="M7.5 9 H16.5 M7.5 12 H16.5 M7.5 15 H13"/>)");
        t[QStringLiteral("text.magnifyingglass")] =
            s(R"(<path d="M3 5 H17 M3 9.5 H10 M3 14 H7.5"/>)") + s(R"(<circle cx="15" cy="14.5" r="4"/>)") +
            s(R"(<path d="M18 17.5 L21 20.5"/>)");
        t[QStringLiteral("doc.text.magnifyingglass")] =
            s(R"(<path d="M13 21 H6 A2 2 0 0 1 4 19 V5 A2 2 0 0 1 6 3 H13 L18 8 V10.5"/>)") +
            s(R"(<path d="M8 9 H12 M8 13 H11"/>)") + s(R"(<circle cx="16.5" cy="16" r="3.2"/>)") +
            s(R"(<path d="M19 18.5 L21.5 21"/>)");
        t[QStringLiteral("tablecells.fill")] = QStringLiteral(
            R"(<rect x="2.5" y="4" width="19" height="16" rx="2.5" fill="#000"/>)"
            R"(<path d="M2.5 9.5 H21.5 M2.5 14.8 H21.5 M9 4 V20 M15.5 4 V20" stroke="#fff" stroke-width="1.5"/>)");
        t[QStringLiteral("lock.shield.fill")] = QStringLiteral(
            R"(<path d="M12 2 L20.5 5.5 V11 C20.5 16.5 16.8 20.3 12 22 C7.2 20.3 3.5 16.5 3.5 11 V5.5 Z" fill="#000"/>)"
            R"(<rect x="8.5" y="11" width="7" height="5.5" rx="1" fill="#fff"/>)"
            R"(<path d="M10 11 V9.5 A2 2 0 0 1 14 9.5 V11" fill="none" stroke="#fff" stroke-width="1.5"/>)");
        t[QStringLiteral("qrcode")] = QStringLiteral(
            R"(<path d="M3 3 H10 V10 H3 Z M14 3 H21 V10 H14 Z M3 14 H10 V21 H3 Z" fill="none" stroke="#000" stroke-width="2"/>)"
            R"(<path d="M5.5 5.5 H7.5 V7.5 H5.5 Z M16.5 5.5 H18.5 V7.5 H16.5 Z M5.5 16.5 H7.5 V18.5 H5.5 Z" fill="#000"/>)"
            R"(<path d="M13 13 H16 V16 H13 Z M18 13 H21 V15 H18 Z M16 16 H19 V19 H16 Z M13 18 H15 V21 H13 Z M19 19 H21 V21 H19 Z" fill="#000"/>)");
        t[QStringLiteral("hand.point.right.fill")] = QStringLiteral(
            R"(<path d="M2.5 10 H6.5 V20 H2.5 Z" fill="#000"/>)"
            R"(<path d="M8 10.5 L12.5 5.5 C13.3 4.6 14.8 5.3 14.5 6.6 L13.8 9.5 H20.5 A1.6 1.6 0 0 1 20.5 12.7 H17.5 A1.5 1.5 0 0 1 17.3 15.6 A1.5 1.5 0 0 1 16.6 18.4 A1.4 1.4 0 0 1 15.5 20.5 H10 A2 2 0 0 1 8 18.5 Z" fill="#000"/>)");
        return t;
    }();
    return table;
}

QSvgRenderer* rendererFor(const QString& name) {
    static QHash<QString, std::shared_ptr<QSvgRenderer>> renderers;
    if (const auto found = renderers.constFind(name); found != renderers.constEnd())
        return found->get();
    const auto body = bodies().constFind(name);
    if (body == bodies().constEnd())
        return nullptr;
    auto renderer = std::make_shared<QSvgRenderer>(svg(*body).toUtf8());
    if (!renderer->isValid())
        return nullptr;
    renderers.insert(name, renderer);
    return renderer.get();
}

}  // namespace

bool has(const QString& name) { return bodies().contains(name); }

QStringList names() {
    QStringList list = bodies().keys();
    list.sort();
    return list;
}

QImage image(const QString& name, qreal side, const QColor& color, qreal devicePixelRatio) {
    QSvgRenderer* renderer = rendererFor(name);
    if (renderer == nullptr || side <= 0)
        return {};
    const int pixels = std::max(1, qRound(side * devicePixelRatio));
    QImage picture(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    {
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        renderer->render(&p, QRectF(0, 0, pixels, pixels));
    }
    // Black marks take the colour; white cut-outs become holes.
    for (int y = 0; y < pixels; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < pixels; ++x) {
            const QRgb px = row[x];
            const int a = qAlpha(px);
            if (a == 0)
                continue;
            const double whiteness = qRed(px) / static_cast<double>(a);  // premultiplied
            const double coverage = a / 255.0 * (1 - whiteness) * color.alphaF();
            row[x] = qRgba(qRound(color.red() * coverage), qRound(color.green() * coverage),
                           qRound(color.blue() * coverage), qRound(coverage * 255));
        }
    }
    picture.setDevicePixelRatio(devicePixelRatio);
    return picture;
}

bool paint(QPainter& painter, const QString& name, const QRectF& rect, const QColor& color) {
    if (!has(name))
        return false;
    const qreal side = std::min(rect.width(), rect.height());
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1;
    const QImage picture = image(name, side, color, dpr);
    if (picture.isNull())
        return false;
    const QRectF target(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side);
    painter.drawImage(target, picture);
    return true;
}

}  // namespace ZantrelUI::Symbols
