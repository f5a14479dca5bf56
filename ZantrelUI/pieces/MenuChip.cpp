#include "ZantrelUI/pieces/MenuChip.h"

#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/Symbols.h"
#include "ZantrelUI/context/Environment.h"
#include "platform/async/MainThread.h"

#include <QPainter>

#include <cmath>

namespace ZantrelUI {

namespace {
QFont chipFont() { return Fonts::system(12, QFont::DemiBold); }
constexpr qreal chevronSide = 9;
}  // namespace

MenuChipButton::MenuChipButton(QString title, QWidget* parent) : QAbstractButton(parent), title_(std::move(title)) {
    ensureGlassAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(title_);
    connect(this, &QAbstractButton::clicked, this, [this] { popUp(); });
}

void MenuChipButton::popUp() {
    Platform::assertMain();
    std::unique_ptr<QMenu> menu = makeMenu();
    menu_ = menu.release();
    menu_->setAttribute(Qt::WA_DeleteOnClose);
    menu_->popup(mapToGlobal(QPoint(0, height())));
}

QSize MenuChipButton::sizeHint() const {
    const QFontMetricsF metrics(chipFont());
    const qreal w = 10 + metrics.horizontalAdvance(shownText()) + 4 + chevronSide + 10;
    return QSize(int(std::ceil(w)), std::max(26, int(std::ceil(metrics.height() + 8))));
}

bool MenuChipButton::hitButton(const QPoint& pos) const { return capsulePath(QRectF(rect())).contains(pos); }

void MenuChipButton::paintEvent(QPaintEvent*) {
    const ColorScheme s = colorScheme(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect());
    painter.fillPath(capsulePath(r), Surface::faintFill().resolve(s));
    strokeCapsuleInside(painter, r, Surface::track().resolve(s));
    const QRectF chevron(r.right() - 10 - chevronSide, r.center().y() - chevronSide / 2, chevronSide, chevronSide);
    Symbols::paint(painter, QStringLiteral("chevron.up.chevron.down"), chevron, Ink::tertiary().resolve(s));
    painter.setFont(chipFont());
    painter.setPen(Ink::primary().resolve(s));
    const QRectF textRect(10, 0, chevron.left() - 4 - 10, height());
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                     QFontMetricsF(chipFont()).elidedText(shownText(), Qt::ElideRight, textRect.width()));
    if (hasFocus()) {
        QColor ring = Environment::of(this).accent.top.resolve(s);
        ring.setAlphaF(0.7f);
        strokeCapsuleInside(painter, r, ring, 1.5);
    }
}

QString MenuChipButton::accessibleText(QAccessible::Text kind) const {
    switch (kind) {
    case QAccessible::Name:
        return title_;
    case QAccessible::Value:
        return shownText();
    default:
        return {};
    }
}

QStringList MenuChipButton::accessibleActions() const { return {QAccessibleActionInterface::showMenuAction()}; }

void MenuChipButton::doAccessibleAction(const QString& action) {
    if (action == QAccessibleActionInterface::showMenuAction() && isEnabled())
        popUp();
}

}  // namespace ZantrelUI
