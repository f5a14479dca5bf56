#include "ZantrelUI/pieces/GlassStepper.h"

#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/LoopPieces.h"
#include "ZantrelUI/design/MotionPieces.h"
#include "ZantrelUI/design/Symbols.h"
#include "platform/async/MainThread.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>

#include <algorithm>
#include <limits>

namespace ZantrelUI {

namespace StepperMath {

std::int64_t clamp(std::int64_t value, const Range& range) {
    return std::min(std::max(value, range.lower), range.upper);
}

std::int64_t stepped(std::int64_t value, std::int64_t step, int direction, const Range& range) {
    std::int64_t next = 0;
    const bool overflow = direction >= 0 ? __builtin_add_overflow(value, step, &next)
                                         : __builtin_sub_overflow(value, step, &next);
    if (overflow) {
        // Past the ends of 64 bits: the range's own end in that direction.
        const bool upwards = (direction >= 0) == (step >= 0);
        return upwards ? range.upper : range.lower;
    }
    return clamp(next, range);
}

int fieldWidth(std::int64_t upper) {
    const int digits = static_cast<int>(QString::number(upper).size());
    return std::max(digits, 3) * 9 + 8;
}

}  // namespace StepperMath

StepGlyph::StepGlyph(QString symbol, QWidget* parent) : QAbstractButton(parent), symbol_(std::move(symbol)) {
    setFixedSize(22, 22);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(QString());
}

void StepGlyph::paintEvent(QPaintEvent*) {
    const ColorScheme s = colorScheme(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = Surface::strongFill().resolve(s);
    fill.setAlphaF(fill.alphaF() * (isEnabled() ? 1.0f : 0.4f));
    QPainterPath circle;
    circle.addEllipse(QRectF(rect()));
    painter.fillPath(circle, fill);
    const QColor ink = (isEnabled() ? Ink::primary() : Ink::tertiary()).resolve(s);
    Symbols::paint(painter, symbol_, QRectF(6, 6, 10, 10), ink);
}

GlassStepper::GlassStepper(QString title, BoundPtr<std::int64_t> value, Range range, std::int64_t step, bool typed,
                           std::function<QString(std::int64_t)> valueText, QWidget* parent)
    : GlassWidget(parent),
      title_(std::move(title)),
      value_(std::move(value)),
      range_(range),
      step_(step),
      typed_(typed),
      valueText_(std::move(valueText)) {
    ensureGlassAccessibility();
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);
    minus_ = new StepGlyph(QStringLiteral("minus"), this);
    plus_ = new StepGlyph(QStringLiteral("plus"), this);
    connect(minus_, &QAbstractButton::clicked, this, [this] { stepDown(); });
    connect(plus_, &QAbstractButton::clicked, this, [this] { stepUp(); });
    row->addWidget(minus_);
    if (typed_) {
        field_ = new QLineEdit(this);
        field_->setFrame(false);
        field_->setAlignment(Qt::AlignCenter);
        field_->setFont(Fonts::monospacedDigits(Fonts::roundedCaption()));
        field_->setFixedWidth(StepperMath::fieldWidth(range_.upper));
        field_->setAccessibleName(title_);
        field_->setStyleSheet(QStringLiteral("background: transparent;"));
        field_->installEventFilter(this);
        connect(field_, &QLineEdit::editingFinished, this, [this] { commitField(); });
        row->addWidget(field_);
        setFocusPolicy(Qt::NoFocus);
    } else {
        number_ = new RollingNumber(double(value_->get()), valueText_ ? valueText_(value_->get()) : QString(),
                                    Fonts::monospacedDigits(Fonts::roundedCaption()), this);
        number_->setMinimumWidth(34);
        row->addWidget(number_, 0, Qt::AlignCenter);
        setFocusPolicy(Qt::StrongFocus);
    }
    row->addWidget(plus_);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    value_->watch(this, [this] { sync(); });
    sync();
    environmentChanged();
}

void GlassStepper::write(std::int64_t value) {
    Platform::assertMain();
    value_->set(StepperMath::clamp(value, range_));
}

void GlassStepper::stepUp() { value_->set(StepperMath::stepped(value_->get(), step_, +1, range_)); }

void GlassStepper::stepDown() { value_->set(StepperMath::stepped(value_->get(), step_, -1, range_)); }

void GlassStepper::sync() {
    const std::int64_t v = value_->get();
    minus_->setEnabled(v > range_.lower);
    plus_->setEnabled(v < range_.upper);
    if (number_) {
        number_->setValue(double(v), valueText_ ? valueText_(v) : QString::number(v));
        number_->updateGeometry();
    }
    if (field_ && !field_->hasFocus()) {
        QLocale locale;
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
        field_->setText(locale.toString(static_cast<qlonglong>(v)));
    }
    update();
}

void GlassStepper::commitField() {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    bool ok = false;
    const qlonglong typed = locale.toLongLong(field_->text().trimmed(), &ok);
    // Text that is no number leaves the value as it was.
    if (ok)
        write(typed);
    field_->setText(locale.toString(static_cast<qlonglong>(value_->get())));
}

bool GlassStepper::arrow(int key) {
    switch (key) {
    case Qt::Key_Left:
        if (typed_)
            return false;  // the text cursor moves
        stepDown();
        return true;
    case Qt::Key_Down:
        stepDown();
        return true;
    case Qt::Key_Right:
        if (typed_)
            return false;
        stepUp();
        return true;
    case Qt::Key_Up:
        stepUp();
        return true;
    default:
        return false;
    }
}

void GlassStepper::keyPressEvent(QKeyEvent* event) {
    if (arrow(event->key()))
        event->accept();
    else
        GlassWidget::keyPressEvent(event);
}

bool GlassStepper::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
                commitField();
                arrow(key->key());
                field_->selectAll();
                return true;
            }
        }
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            update();
    }
    return GlassWidget::eventFilter(watched, event);
}

void GlassStepper::environmentChanged() {
    if (field_) {
        QPalette palette = field_->palette();
        palette.setColor(QPalette::Text, resolve(Ink::primary()));
        field_->setPalette(palette);
    }
    update();
}

void GlassStepper::focusInEvent(QFocusEvent* event) {
    GlassWidget::focusInEvent(event);
    update();
}

void GlassStepper::focusOutEvent(QFocusEvent* event) {
    GlassWidget::focusOutEvent(event);
    update();
}

QColor GlassStepper::border() const {
    const bool focused = hasFocus() || (field_ && field_->hasFocus());
    if (!focused)
        return resolve(Surface::track());
    QColor ring = resolve(environment().accent.top);
    ring.setAlphaF(0.7f);
    return ring;
}

void GlassStepper::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect());
    painter.fillPath(capsulePath(r), resolve(Surface::faintFill()));
    strokeCapsuleInside(painter, r, border());
}

QString GlassStepper::accessibleText(QAccessible::Text kind) const {
    if (typed_)
        return {};
    switch (kind) {
    case QAccessible::Name:
        return title_;
    case QAccessible::Value:
        return valueText_ ? valueText_(value_->get()) : QString::number(value_->get());
    default:
        return {};
    }
}

QList<QWidget*> GlassStepper::accessibleWidgets() const {
    if (field_ == nullptr)
        return {};
    return {field_};
}

QStringList GlassStepper::accessibleActions() const {
    if (typed_)
        return {};
    return {QAccessibleActionInterface::increaseAction(), QAccessibleActionInterface::decreaseAction()};
}

void GlassStepper::doAccessibleAction(const QString& action) {
    if (action == QAccessibleActionInterface::increaseAction())
        stepUp();
    else if (action == QAccessibleActionInterface::decreaseAction())
        stepDown();
}

}  // namespace ZantrelUI
