#pragma once

// The integer stepper: a capsule with a minus button, the value and a plus button, stepping
// a bound integer by a fixed step within a closed range; arrow keys step it while it has
// focus, and the value can optionally be typed.

#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/pieces/Bound.h"

#include <QAbstractButton>

#include <cstdint>
#include <functional>

class QLineEdit;

namespace ZantrelUI {

class RollingNumber;

// The stepper's arithmetic: every write is clamped into the range, and a step saturates
// instead of overflowing.
namespace StepperMath {
struct Range {
    std::int64_t lower = 0;
    std::int64_t upper = 0;
};
std::int64_t clamp(std::int64_t value, const Range& range);
std::int64_t stepped(std::int64_t value, std::int64_t step, int direction, const Range& range);
// The typed field's width: max(digits of the upper bound, 3) × 9 + 8.
int fieldWidth(std::int64_t upper);
}  // namespace StepperMath

// The round minus or plus glyph.
class StepGlyph final : public QAbstractButton {
    Q_OBJECT
public:
    StepGlyph(QString symbol, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {22, 22}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString symbol_;
};

class GlassStepper final : public GlassWidget, public AccessibleSource {
    Q_OBJECT
public:
    using Range = StepperMath::Range;

    GlassStepper(QString title, BoundPtr<std::int64_t> value, Range range, std::int64_t step, bool typed,
                 std::function<QString(std::int64_t)> valueText, QWidget* parent = nullptr);

    void stepUp();
    void stepDown();

    StepGlyph* minusButton() const { return minus_; }
    StepGlyph* plusButton() const { return plus_; }
    // The typed field, or none.
    QLineEdit* field() const { return field_; }
    RollingNumber* valueView() const { return number_; }
    // The capsule's border colour as drawn now.
    QColor border() const;

    // A typed stepper is only the frame around its field, which is the one control there;
    // otherwise the stepper is one adjustable control and hides its parts.
    QAccessible::Role accessibleRole() const override { return typed_ ? QAccessible::Grouping : QAccessible::SpinBox; }
    QString accessibleText(QAccessible::Text kind) const override;
    QList<QWidget*> accessibleWidgets() const override;
    QStringList accessibleActions() const override;
    void doAccessibleAction(const QString& action) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void environmentChanged() override;

private:
    void write(std::int64_t value);
    void sync();
    void commitField();
    // Arrow keys: true when handled.
    bool arrow(int key);

    QString title_;
    BoundPtr<std::int64_t> value_;
    Range range_;
    std::int64_t step_;
    bool typed_;
    std::function<QString(std::int64_t)> valueText_;
    StepGlyph* minus_;
    StepGlyph* plus_;
    QLineEdit* field_ = nullptr;
    RollingNumber* number_ = nullptr;
};

}  // namespace ZantrelUI
