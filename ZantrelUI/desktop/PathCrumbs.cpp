#include "ZantrelUI/desktop/PathCrumbs.h"

#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/Symbols.h"
#include "platform/async/MainThread.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace ZantrelUI {

PathCrumbs::PathCrumbs(QStringList pane, QWidget* parent) : GlassWidget(parent), pane_(std::move(pane)) {
    Platform::assertMain();
    ensureGlassAccessibility();
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PathCrumbs::setPane(QStringList pane) {
    if (pane_ == pane)
        return;
    pane_ = std::move(pane);
    updateGeometry();
    update();
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

QFont PathCrumbs::nameFont(bool last) {
    QFont font = Fonts::small();
    font.setWeight(last ? QFont::DemiBold : QFont::Medium);
    return font;
}

std::vector<PathCrumbs::Crumb> PathCrumbs::layout(const QStringList& pane, std::optional<qreal> height) {
    std::vector<Crumb> crumbs;
    qreal rowHeight = 0;
    for (int i = 0; i < pane.size(); ++i)
        rowHeight = std::max(rowHeight, std::ceil(QFontMetricsF(nameFont(i == pane.size() - 1)).height()) + 2 * padY);
    const qreal top = height ? (*height - rowHeight) / 2 : 0;
    qreal x = 0;
    for (int i = 0; i < pane.size(); ++i) {
        Crumb crumb;
        crumb.name = pane[i];
        crumb.last = i == pane.size() - 1;
        if (i > 0) {
            crumb.chevron = QRectF(x, top + (rowHeight - chevronSize) / 2, chevronSize, chevronSize);
            x += chevronSize + spacing;
        }
        // One line, never cut: the row keeps the size its names need.
        const qreal textWidth = std::ceil(QFontMetricsF(nameFont(crumb.last)).horizontalAdvance(crumb.name));
        crumb.capsule = QRectF(x, top, textWidth + 2 * padX, rowHeight);
        crumb.text = crumb.capsule.adjusted(padX, padY, -padX, -padY);
        x += crumb.capsule.width() + spacing;
        crumbs.push_back(crumb);
    }
    return crumbs;
}

QSizeF PathCrumbs::idealSize(const QStringList& pane) {
    const std::vector<Crumb> crumbs = layout(pane);
    if (crumbs.empty())
        return {0, 0};
    return {crumbs.back().capsule.right(), crumbs.back().capsule.height()};
}

QSize PathCrumbs::sizeHint() const { return idealSize(pane_).toSize(); }

QString PathCrumbs::accessibleText(QAccessible::Text kind) const {
    return kind == QAccessible::Name ? pane_.join(QStringLiteral(", ")) : QString();
}

void PathCrumbs::paintEvent(QPaintEvent*) {
    Platform::assertMain();
    const ColorScheme s = scheme();
    const Accent accent = environment().accent;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Crumb& crumb : layout(pane_, height())) {
        if (crumb.chevron)
            Symbols::paint(painter, QStringLiteral("chevron.right"), *crumb.chevron, Ink::tertiary().resolve(s));
        QColor fill = Surface::faintFill().resolve(s);
        QColor stroke = Surface::track().resolve(s);
        QColor ink = Ink::secondary().resolve(s);
        if (crumb.last) {
            fill = accent.top.resolve(s);
            fill.setAlphaF(0.14f);
            stroke = accent.top.resolve(s);
            stroke.setAlphaF(0.45f);
            ink = accent.ink.resolve(s);
        }
        painter.fillPath(capsulePath(crumb.capsule), fill);
        strokeCapsuleInside(painter, crumb.capsule, stroke, 1);
        painter.setFont(nameFont(crumb.last));
        painter.setPen(ink);
        painter.drawText(crumb.text, Qt::AlignCenter | Qt::TextSingleLine, crumb.name);
    }
}

}  // namespace ZantrelUI
