#pragma once

// The step indicator of multi-step windows: one dot per step, the current one long and lit.

#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/design/Motion.h"

namespace ZantrelUI {

class StepDots final : public GlassWidget, public AccessibleSource {
    Q_OBJECT
public:
    static constexpr qreal dotHeight = 7;
    static constexpr qreal dotWidth = 7;
    static constexpr qreal currentWidth = 22;
    static constexpr qreal spacing = 6;

    // `count` below 0 counts as 0.
    StepDots(int count, int current, QWidget* parent = nullptr);

    int count() const { return count_; }
    int current() const { return current_; }
    void setCurrent(int current);
    void setCount(int count);

    // The dots as drawn now (widths move while the current step changes).
    std::vector<QRectF> dotRects() const;
    const AnimatedValue& position() const { return *position_; }

    QSize sizeHint() const override;

    QAccessible::Role accessibleRole() const override { return QAccessible::StaticText; }
    QString accessibleText(QAccessible::Text kind) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int count_;
    int current_;
    AnimatedValue* position_;
};

// Pads a window's footer content: left, right and bottom by max(inset, 18), the top by 18
// when there is a divider (a hairline along the top edge), else 0.
class WindowFooter final : public GlassWidget {
    Q_OBJECT
public:
    WindowFooter(QWidget* content, bool divider, qreal inset, QWidget* parent = nullptr);

    bool divider() const { return divider_; }
    QMargins padding() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool divider_;
    qreal inset_;
};

}  // namespace ZantrelUI
