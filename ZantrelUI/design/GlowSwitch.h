#pragma once

// The glass on/off switch: a 38 × 22 capsule that fills with the accent gradient and glows
// when on, with its label (text or any widget) in front. The whole row toggles.

#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/design/Motion.h"

#include <QAbstractButton>
#include <QPointer>

class QHBoxLayout;
class QLabel;

namespace ZantrelUI {

class GlowSwitch final : public QAbstractButton, public AccessibleSource {
    Q_OBJECT
public:
    static constexpr QSizeF switchSize{38, 22};
    static constexpr qreal knobDiameter = 17;  // 22 − 2 × 2.5
    static constexpr qreal knobTravel = 16;
    // Room around the switch for its glow, which is drawn outside the capsule.
    static constexpr qreal glowMargin = 4;

    explicit GlowSwitch(QWidget* parent = nullptr);
    explicit GlowSwitch(const QString& label, QWidget* parent = nullptr);

    // The label in front of the switch; the switch takes ownership. Clicks on it toggle.
    void setLabelWidget(QWidget* label);
    QWidget* labelWidget() const { return label_; }
    // `.hidden` labels: only the switch shows, with no spacer.
    void setLabelsHidden(bool hidden);
    bool labelsHidden() const { return labelsHidden_; }
    // What assistive technology reads as the switch's name.
    void setAccessibleLabel(const QString& label) { accessibleLabel_ = label; }

    // The switch capsule in this widget's coordinates.
    QRectF switchRect() const;
    // Left edge of the knob inside the capsule, as drawn now.
    qreal knobOffset() const;
    const AnimatedValue& knob() const { return *knob_; }

    QAccessible::Role accessibleRole() const override { return QAccessible::CheckBox; }
    QString accessibleText(QAccessible::Text kind) const override;
    void addAccessibleState(QAccessible::State& state) const override;
    QStringList accessibleActions() const override;
    void doAccessibleAction(const QString& action) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
    void checkStateSet() override;
    void nextCheckState() override;

private:
    void arrange();
    void moveKnob(bool animated);

    QHBoxLayout* row_;
    QWidget* face_;
    QPointer<QWidget> label_;
    bool labelsHidden_ = false;
    bool userToggling_ = false;
    bool ownsLabelText_ = false;
    QString accessibleLabel_;
    AnimatedValue* knob_;
};

}  // namespace ZantrelUI
