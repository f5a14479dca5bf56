#include "ZantrelUI/design/PillButton.h"

#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/ReduceMotion.h"
#include "ZantrelUI/design/Symbols.h"

#include <QPainter>

#include <cmath>

namespace ZantrelUI {

PillButton::Look PillButton::lookFor(bool prominent, bool enabled, bool pressed, bool reduceMotion) {
    Look look{};
    look.accentFill = prominent;
    look.strongFill = !prominent && pressed;
    look.accentShadow = prominent && enabled;
    look.opacity = !enabled ? 0.4 : pressed ? 0.85 : 1;
    look.scale = pressed && !reduceMotion ? 0.97 : 1;
    return look;
}

PillButton::PillButton(const QString& title, bool prominent, bool large, QWidget* parent)
    : QAbstractButton(parent), prominent_(prominent), large_(large), pressed_(new AnimatedValue(0, this)) {
    setText(title);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(pressed_, &AnimatedValue::changed, this, qOverload<>(&QWidget::update));
    // The pressed state eases the same way whether or not motion is reduced.
    connect(this, &QAbstractButton::pressed, this, [this] { pressed_->animateTo(1, Motion::hover()); });
    connect(this, &QAbstractButton::released, this, [this] { pressed_->animateTo(0, Motion::hover()); });
}

void PillButton::setProminent(bool prominent) {
    prominent_ = prominent;
    updateGeometry();
    update();
}

void PillButton::setLarge(bool large) {
    large_ = large;
    updateGeometry();
    update();
}

void PillButton::setSymbol(const QString& symbol) {
    symbol_ = symbol;
    updateGeometry();
    update();
}

void PillButton::setSymbolTrails(bool trails) {
    symbolTrails_ = trails;
    update();
}

QFont PillButton::titleFont() const { return large_ ? Fonts::label() : Fonts::system(12, QFont::DemiBold); }

QMarginsF PillButton::room() const {
    return prominent_ ? QMarginsF(shadowRoom, shadowRoom - 2, shadowRoom, shadowRoom + 2) : QMarginsF();
}

QSize PillButton::sizeHint() const {
    const QFontMetricsF metrics(titleFont());
    qreal content = metrics.horizontalAdvance(text());
    const qreal symbolSide = std::round(metrics.height() * 0.9);
    if (!symbol_.isEmpty())
        content += symbolSide + (text().isEmpty() ? 0 : 6);
    const qreal h = large_ ? 20 : 14;
    const qreal v = large_ ? 9 : 6;
    const QMarginsF r = room();
    return QSize(static_cast<int>(std::ceil(content + 2 * h + r.left() + r.right())),
                 static_cast<int>(std::ceil(metrics.height() + 2 * v + r.top() + r.bottom())));
}

QRectF PillButton::capsuleRect() const { return QRectF(rect()).marginsRemoved(room()); }

bool PillButton::hitButton(const QPoint& pos) const { return capsulePath(capsuleRect()).contains(pos); }

PillButton::Look PillButton::currentLook() const {
    return lookFor(prominent_, isEnabled(), isDown(), ReduceMotion::of(this));
}

bool PillButton::event(QEvent* event) {
    if (event->type() == EnvironmentChangeEvent::type()) {
        update();
        return true;
    }
    return QAbstractButton::event(event);
}

void PillButton::paintEvent(QPaintEvent*) {
    const ColorScheme s = colorScheme(this);
    const Accent accent = Environment::of(this).accent;
    const Look rest = lookFor(prominent_, isEnabled(), false, ReduceMotion::of(this));
    const Look down = lookFor(prominent_, isEnabled(), true, ReduceMotion::of(this));
    const double p = std::clamp(pressed_->value(), 0.0, 1.0);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(rest.opacity + (down.opacity - rest.opacity) * p);
    const QRectF capsule = capsuleRect();
    const double scale = rest.scale + (down.scale - rest.scale) * p;
    painter.translate(capsule.center());
    painter.scale(scale, scale);
    painter.translate(-capsule.center());
    const QPainterPath shape = capsulePath(capsule);

    if (rest.accentShadow) {
        QColor shadow = accent.top.resolve(s);
        shadow.setAlphaF(0.35f);
        paintShadow(painter, shape, Shadow{shadow, 8, QPointF(0, 2)});
    }
    if (prominent_) {
        painter.fillPath(shape, accent.gradient(capsule, s));
        strokeCapsuleInside(painter, capsule, QColor::fromRgbF(1, 1, 1, 0.28f));
    } else {
        QColor faint = Surface::faintFill().resolve(s);
        QColor strong = Surface::strongFill().resolve(s);
        QColor mixed = QColor::fromRgbF(faint.redF() + (strong.redF() - faint.redF()) * p,
                                        faint.greenF() + (strong.greenF() - faint.greenF()) * p,
                                        faint.blueF() + (strong.blueF() - faint.blueF()) * p,
                                        faint.alphaF() + (strong.alphaF() - faint.alphaF()) * p);
        painter.fillPath(shape, mixed);
        strokeCapsuleInside(painter, capsule, Surface::track().resolve(s));
    }

    const QColor ink = prominent_ ? Ink::onAccent().resolve(s) : Ink::primary().resolve(s);
    const QFont font = titleFont();
    const QFontMetricsF metrics(font);
    const qreal symbolSide = std::round(metrics.height() * 0.9);
    qreal contentWidth = metrics.horizontalAdvance(text());
    if (!symbol_.isEmpty())
        contentWidth += symbolSide + (text().isEmpty() ? 0 : 6);
    qreal x = capsule.center().x() - contentWidth / 2;
    if (!symbol_.isEmpty() && !symbolTrails_) {
        Symbols::paint(painter, symbol_, QRectF(x, capsule.center().y() - symbolSide / 2, symbolSide, symbolSide), ink);
        x += symbolSide + 6;
    }
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(QRectF(x, capsule.top(), capsule.right() - x, capsule.height()), Qt::AlignVCenter | Qt::AlignLeft,
                     text());
    if (!symbol_.isEmpty() && symbolTrails_) {
        x += metrics.horizontalAdvance(text()) + (text().isEmpty() ? 0 : 6);
        Symbols::paint(painter, symbol_, QRectF(x, capsule.center().y() - symbolSide / 2, symbolSide, symbolSide), ink);
    }

    if (hasFocus()) {
        QColor ring = accent.top.resolve(s);
        ring.setAlphaF(0.7f);
        strokeCapsuleInside(painter, capsule.adjusted(-2, -2, 2, 2), ring, 1.5);
    }
}

}  // namespace ZantrelUI
