#include "ZantrelUI/pieces/TickBox.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelKit/MotionSpec.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/ReduceMotion.h"
#include "ZantrelUI/design/Symbols.h"
#include "platform/async/MainThread.h"

#include <QPainter>

#include <algorithm>

namespace ZantrelUI {

using ZantrelKit::TickState;

namespace TickBoxMark {

Look look(TickState state, bool enabled, ColorScheme scheme) {
    if (state == TickState::off) {
        // The disabled box gets the stronger ink so it still reads as a box.
        QColor border = (enabled ? Ink::tertiary() : Ink::primary()).resolve(scheme);
        border.setAlphaF(border.alphaF() * 0.75f);
        return {false, 1.25, border, Look::Glyph::none};
    }
    return {true, 1.0, QColor::fromRgbF(1, 1, 1, 0.25f),
            state == TickState::on ? Look::Glyph::check : Look::Glyph::dash};
}

void paint(QPainter& painter, const QRectF& box, TickState state, bool enabled, const Accent& accent,
           ColorScheme scheme, double fill) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = roundedPath(box, radius);
    const Look off = look(TickState::off, enabled, scheme);
    const double lit = std::clamp(fill, 0.0, 1.0);
    if (lit < 1) {
        painter.setOpacity(1 - lit);
        painter.fillPath(shape, Surface::faintFill().resolve(scheme));
        strokeRoundedInside(painter, box, radius, off.border, off.borderWidth);
    }
    if (lit > 0) {
        const Look on = look(state == TickState::off ? TickState::on : state, enabled, scheme);
        painter.setOpacity(lit);
        painter.fillPath(shape, accent.gradient(box, scheme));
        strokeRoundedInside(painter, box, radius, on.border, on.borderWidth);
        const QColor ink = Ink::onAccent().resolve(scheme);
        if (state == TickState::on) {
            Symbols::paint(painter, QStringLiteral("checkmark"), QRectF(box.center() - QPointF(5, 5), QSizeF(10, 10)),
                           ink);
        } else if (state == TickState::mixed) {
            painter.fillPath(capsulePath(QRectF(box.center() - QPointF(4, 1), QSizeF(8, 2))), ink);
        }
    }
    painter.restore();
}

}  // namespace TickBoxMark

Motion::Animation tickAnimation(bool reduced) { return Motion::spring(ZantrelKit::MotionSpec::snappy, reduced); }

namespace {

double fillOf(TickState state) { return state == TickState::off ? 0 : 1; }

QString switchValue(bool on) { return on ? ZantrelKit::Copy::switchOn() : ZantrelKit::Copy::switchOff(); }

}  // namespace

TickBox::TickBox(std::optional<QString> label, TickState state, bool enabled, std::function<void()> toggle,
                 QWidget* parent)
    : QAbstractButton(parent),
      label_(std::move(label)),
      state_(state),
      toggle_(std::move(toggle)),
      fill_(new AnimatedValue(fillOf(state), this)) {
    ensureGlassAccessibility();
    setEnabled(enabled);
    setFixedSize(17, 17);
    setFocusPolicy(Qt::TabFocus);
    if (label_)
        setAccessibleName(*label_);
    connect(fill_, &AnimatedValue::changed, this, qOverload<>(&QWidget::update));
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (toggle_)
            toggle_();
    });
}

TickBox::TickBox(bool isOn, bool enabled, std::function<void()> toggle, QWidget* parent)
    : TickBox(std::nullopt, isOn ? TickState::on : TickState::off, enabled, std::move(toggle), parent) {}

void TickBox::setState(TickState state) {
    if (state == state_)
        return;
    const TickState before = state_;
    state_ = state;
    // Between on and mixed only the glyph changes; the fill fades for off and back.
    if ((before == TickState::off) != (state == TickState::off))
        fill_->animateTo(fillOf(state), tickAnimation(ReduceMotion::of(this)));
    update();
}

void TickBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    TickBoxMark::paint(painter, QRectF(0, 0, 17, 17), state_, isEnabled(), Environment::of(this).accent,
                       colorScheme(this), fill_->value());
}

QString TickBox::accessibleText(QAccessible::Text kind) const {
    switch (kind) {
    case QAccessible::Name:
        return label_.value_or(QString());
    case QAccessible::Value:
        return ZantrelKit::Copy::Ticks::state(state_);
    default:
        return {};
    }
}

void TickBox::addAccessibleState(QAccessible::State& state) const {
    state.checkable = true;
    state.checked = state_ == TickState::on;
    state.checkStateMixed = state_ == TickState::mixed;
    state.selected = state_ == TickState::on;
}

QStringList TickBox::accessibleActions() const { return {QAccessibleActionInterface::pressAction()}; }

void TickBox::doAccessibleAction(const QString& action) {
    if (action == QAccessibleActionInterface::pressAction() && isEnabled())
        click();
}

TickBoxToggle::TickBoxToggle(const QString& label, bool isOn, QWidget* parent)
    : QAbstractButton(parent), fill_(new AnimatedValue(isOn ? 1 : 0, this)) {
    ensureGlassAccessibility();
    setText(label);
    setCheckable(true);
    setChecked(isOn);
    setFocusPolicy(Qt::TabFocus);
    setFont(Fonts::body());
    connect(fill_, &AnimatedValue::changed, this, qOverload<>(&QWidget::update));
}

void TickBoxToggle::setLabelsHidden(bool hidden) {
    labelsHidden_ = hidden;
    updateGeometry();
    update();
}

QRectF TickBoxToggle::boxRect() const { return QRectF(0, (height() - 17) / 2.0, 17, 17); }

QSize TickBoxToggle::sizeHint() const {
    if (labelsHidden_ || text().isEmpty())
        return {17, 17};
    const QFontMetrics metrics(Fonts::body());
    return {17 + 8 + metrics.horizontalAdvance(text()) + 1, std::max(17, metrics.height())};
}

void TickBoxToggle::checkStateSet() {
    fill_->animateTo(isChecked() ? 1 : 0, tickAnimation(ReduceMotion::of(this)));
    update();
}

void TickBoxToggle::nextCheckState() {
    Platform::assertMain();
    QAbstractButton::nextCheckState();
}

void TickBoxToggle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ColorScheme s = colorScheme(this);
    // The style draws on or off only, and always as enabled.
    TickBoxMark::paint(painter, boxRect(), isChecked() ? TickState::on : TickState::off, true,
                       Environment::of(this).accent, s, fill_->value());
    if (labelsHidden_)
        return;
    painter.setFont(Fonts::body());
    painter.setPen(Ink::primary().resolve(s));
    painter.drawText(QRectF(25, 0, width() - 25, height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     text());
}

QString TickBoxToggle::accessibleText(QAccessible::Text kind) const {
    switch (kind) {
    case QAccessible::Name:
        return text();
    case QAccessible::Value:
        return switchValue(isChecked());
    default:
        return {};
    }
}

void TickBoxToggle::addAccessibleState(QAccessible::State& state) const {
    state.checkable = true;
    state.checked = isChecked();
}

QStringList TickBoxToggle::accessibleActions() const { return {QAccessibleActionInterface::toggleAction()}; }

void TickBoxToggle::doAccessibleAction(const QString& action) {
    if (action == QAccessibleActionInterface::toggleAction() && isEnabled())
        click();
}

}  // namespace ZantrelUI
