#include "ZantrelUI/design/GlowSwitch.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/ReduceMotion.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace ZantrelUI {

namespace MS = ZantrelKit::MotionSpec;

namespace {

// Holds the switch's place in the row; the switch itself paints it.
class SwitchFace final : public QWidget {
public:
    explicit SwitchFace(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        const qreal m = GlowSwitch::glowMargin;
        setFixedSize(qRound(GlowSwitch::switchSize.width() + 2 * m), qRound(GlowSwitch::switchSize.height() + 2 * m));
    }
};

}  // namespace

GlowSwitch::GlowSwitch(QWidget* parent)
    : QAbstractButton(parent), row_(new QHBoxLayout(this)), face_(new SwitchFace(this)), knob_(new AnimatedValue(0, this)) {
    ensureGlassAccessibility();
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    row_->setContentsMargins(0, 0, 0, 0);
    row_->setSpacing(12);
    connect(knob_, &AnimatedValue::changed, this, qOverload<>(&QWidget::update));
    arrange();
}

GlowSwitch::GlowSwitch(const QString& label, QWidget* parent) : GlowSwitch(parent) {
    auto* text = new QLabel(label);
    text->setTextFormat(Qt::PlainText);
    text->setFont(Fonts::body());
    setLabelWidget(text);
    ownsLabelText_ = true;
    setAccessibleLabel(label);
    setText(label);
}

void GlowSwitch::setLabelWidget(QWidget* label) {
    if (label_ == label)
        return;
    if (label_)
        label_->deleteLater();
    label_ = label;
    if (label_) {
        label_->setParent(this);
        label_->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    arrange();
}

void GlowSwitch::setLabelsHidden(bool hidden) {
    if (labelsHidden_ == hidden)
        return;
    labelsHidden_ = hidden;
    arrange();
}

void GlowSwitch::arrange() {
    while (row_->count() > 0)
        delete row_->takeAt(0);
    const bool showLabel = label_ && !labelsHidden_;
    if (label_)
        label_->setVisible(showLabel);
    if (showLabel) {
        row_->addWidget(label_, 1);
        row_->addSpacing(8);
    }
    // With the label hidden the row holds only the switch, so it never stretches.
    row_->addWidget(face_, 0, Qt::AlignVCenter | Qt::AlignRight);
    setSizePolicy(showLabel ? QSizePolicy::Preferred : QSizePolicy::Fixed, QSizePolicy::Fixed);
    updateGeometry();
}

QRectF GlowSwitch::switchRect() const {
    const QRectF face = face_->geometry();
    return QRectF(face.left() + glowMargin, face.top() + glowMargin, switchSize.width(), switchSize.height());
}

qreal GlowSwitch::knobOffset() const { return 2.5 + knobTravel * knob_->value(); }

// A switch on screen moves on the spring whoever changes it; one not shown yet starts
// where its state puts it.
void GlowSwitch::checkStateSet() { moveKnob(userToggling_ || isVisible()); }

void GlowSwitch::nextCheckState() {
    userToggling_ = true;
    setChecked(!isChecked());
    userToggling_ = false;
    // A mouse click sets the state with the button's refresh held back, so
    // `checkStateSet` does not run for it.
    moveKnob(true);
}

void GlowSwitch::moveKnob(bool animated) {
    const double target = isChecked() ? 1 : 0;
    if (knob_->target() == target && (knob_->isAnimating() || knob_->value() == target)) {
        update();
        return;
    }
    if (animated)
        knob_->animateTo(target, Motion::spring(MS::snappy, ReduceMotion::of(this)));
    else
        knob_->setValue(target);
    update();
}

bool GlowSwitch::event(QEvent* event) {
    const bool environment = event->type() == EnvironmentChangeEvent::type();
    if (environment || event->type() == QEvent::Polish || event->type() == QEvent::Show) {
        // A text label of our own takes the primary ink of the appearance in force.
        if (auto* text = qobject_cast<QLabel*>(label_.data()); text != nullptr && ownsLabelText_) {
            QPalette palette = text->palette();
            const ColorScheme s = colorScheme(this);
            for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText}) {
                palette.setColor(QPalette::Active, role, Ink::primary().resolve(s));
                palette.setColor(QPalette::Inactive, role, Ink::primary().resolve(s));
                palette.setColor(QPalette::Disabled, role, Ink::tertiary().resolve(s));
            }
            text->setPalette(palette);
        }
        update();
        if (environment)
            return true;
    }
    return QAbstractButton::event(event);
}

void GlowSwitch::paintEvent(QPaintEvent*) {
    const ColorScheme s = colorScheme(this);
    const Accent accent = Environment::of(this).accent;
    const double on = std::clamp(knob_->value(), 0.0, 1.0);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.5);
    const QRectF track = switchRect();
    const QPainterPath capsule = capsulePath(track);

    QColor glowColor = accent.top.resolve(s);
    glowColor.setAlphaF(static_cast<float>(0.4 * on));
    paintShadow(painter, capsule, Shadow{glowColor, 6, QPointF(0, 2)});

    // The off fill and the on gradient cross-fade as the knob travels.
    painter.save();
    painter.setOpacity(painter.opacity() * (1 - on));
    painter.fillPath(capsule, Surface::faintFill().resolve(s));
    strokeCapsuleInside(painter, track, Surface::track().resolve(s));
    painter.restore();
    painter.save();
    painter.setOpacity(painter.opacity() * on);
    painter.fillPath(capsule, accent.gradient(track, s));
    strokeCapsuleInside(painter, track, QColor::fromRgbF(1, 1, 1, 0.25f));
    painter.restore();

    const QRectF knob(track.left() + knobOffset(), track.top() + 2.5, knobDiameter, knobDiameter);
    QPainterPath knobPath;
    knobPath.addEllipse(knob);
    paintShadow(painter, knobPath, Shadow{QColor::fromRgbF(0, 0, 0, 0.25f), 2, QPointF(0, 1)});
    painter.fillPath(knobPath, Qt::white);

    if (hasFocus() && focusPolicy() != Qt::NoFocus) {
        QColor ring = accent.top.resolve(s);
        ring.setAlphaF(0.6f);
        strokeCapsuleInside(painter, track.adjusted(-2, -2, 2, 2), ring, 1.5);
    }
}

QString GlowSwitch::accessibleText(QAccessible::Text kind) const {
    switch (kind) {
    case QAccessible::Name:
        return accessibleLabel_.isEmpty() ? text() : accessibleLabel_;
    case QAccessible::Value:
        return isChecked() ? ZantrelKit::Copy::switchOn() : ZantrelKit::Copy::switchOff();
    default:
        return {};
    }
}

void GlowSwitch::addAccessibleState(QAccessible::State& state) const {
    state.checkable = true;
    state.checked = isChecked();
}

QStringList GlowSwitch::accessibleActions() const { return {QAccessibleActionInterface::toggleAction()}; }

void GlowSwitch::doAccessibleAction(const QString& action) {
    if (action == QAccessibleActionInterface::toggleAction() && isEnabled())
        click();
}

}  // namespace ZantrelUI
