#pragma once

// The family's determinate progress bar: a rounded track with an accent fill that glides
// to the current fraction. Assistive technology sees a plain progress indicator.

#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/GlassAccessibility.h"

#include <QString>

namespace ZantrelUI {

class AnimatedValue;

class GlassProgress final : public GlassWidget, public AccessibleSource {
    Q_OBJECT
public:
    // `value` is kept as given; it is clamped only where it is drawn or reported.
    GlassProgress(double value, QString title, qreal height, QWidget* parent = nullptr);

    double value() const { return value_; }
    const QString& title() const { return title_; }
    qreal barHeight() const { return height_; }

    // A new value glides there with the gentle spring, or jumps under reduced motion.
    void setValue(double value);
    void setTitle(const QString& title);

    // The fraction drawn: 0 to 1, and 0 for a value that is not a number.
    static double clampedFraction(double value);
    // The fill of a track `width` wide: never narrower than the bar is high.
    static qreal fillWidth(double fraction, qreal width, qreal height);

    // The fraction the fill is drawn at now (moves while the glide runs).
    double shownFraction() const;
    QRectF trackRect() const;
    QRectF fillRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    QAccessible::Role accessibleRole() const override { return QAccessible::ProgressBar; }
    QString accessibleText(QAccessible::Text kind) const override;
    std::optional<AccessibleRange> accessibleRange() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double value_;
    QString title_;
    qreal height_;
    AnimatedValue* shown_;
};

}  // namespace ZantrelUI
