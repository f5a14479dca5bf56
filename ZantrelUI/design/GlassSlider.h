#pragma once

// A slider with an accent-filled track and a white knob, arrow-key steps, and an optional
// value text that the caller formats.

#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/GlassAccessibility.h"

namespace ZantrelUI {

class GlassSlider final : public GlassWidget, public AccessibleSource {
    Q_OBJECT
public:
    static constexpr qreal knobDiameter = 16;
    static constexpr qreal height = 20;

    // The step nearest `value` (halves away from zero), kept inside [lower, upper].
    static double snap(double value, double lower, double upper, double step);

    GlassSlider(QString title, double value, double lower, double upper, double step, QString valueText = {},
                bool showsValue = false, QWidget* parent = nullptr);

    double value() const { return value_; }
    // Written as given (the caller's binding); user input is snapped.
    void setValue(double value);
    void setValueText(const QString& text);
    const QString& valueText() const { return valueText_; }
    double lower() const { return lower_; }
    double upper() const { return upper_; }
    double step() const { return step_; }

    // The track's usable width (where the knob's centre can go) and the knob's left edge.
    QRectF trackRect() const;
    qreal knobOffset() const;
    // The value a pointer at `x` (widget coordinates) chooses.
    double valueAt(qreal x) const;

    QSize sizeHint() const override;

    QAccessible::Role accessibleRole() const override { return QAccessible::Slider; }
    QString accessibleText(QAccessible::Text kind) const override;
    QStringList accessibleActions() const override;
    void doAccessibleAction(const QString& action) override;
    std::optional<AccessibleRange> accessibleRange() const override;
    void setAccessibleValue(double value) override;

Q_SIGNALS:
    void valueChanged(double value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void choose(double raw);
    qreal sliderWidth() const;

    QString title_;
    double value_;
    double lower_;
    double upper_;
    double step_;
    QString valueText_;
    bool showsValue_;
};

}  // namespace ZantrelUI
