#pragma once

// The family's tri-state tick box: a bare box for rows and cards whose caller owns the
// state, and a check button drawn as a box followed by its label. Both share one drawing.

#include "ZantrelKit/TickState.h"
#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/design/Motion.h"

#include <QAbstractButton>

#include <functional>
#include <optional>

namespace ZantrelUI {

// The drawn box: 17 × 17, radius 5; accent gradient with a check or a dash when ticked or
// mixed, a faint fill with an inner border when not.
namespace TickBoxMark {
inline constexpr qreal side = 17;
inline constexpr qreal radius = 5;

struct Look {
    bool accentFill;
    qreal borderWidth;
    QColor border;
    enum class Glyph { none, check, dash } glyph;
};
Look look(ZantrelKit::TickState state, bool enabled, ColorScheme scheme);

// Paints the mark into `box` (17 × 17). `fill` is how far the accent look shows (0 the
// unticked box, 1 the accent box); the glyph follows `state`.
void paint(QPainter& painter, const QRectF& box, ZantrelKit::TickState state, bool enabled, const Accent& accent,
           ColorScheme scheme, double fill = 1);
}  // namespace TickBoxMark

// The animation a change of tick runs: the snappy spring, or its short reduced form.
Motion::Animation tickAnimation(bool reduced);

// The stand-alone box. It never changes its state itself: a click only runs `toggle`.
class TickBox final : public QAbstractButton, public AccessibleSource {
    Q_OBJECT
public:
    TickBox(std::optional<QString> label, ZantrelKit::TickState state, bool enabled, std::function<void()> toggle,
            QWidget* parent = nullptr);
    TickBox(bool isOn, bool enabled, std::function<void()> toggle, QWidget* parent = nullptr);

    ZantrelKit::TickState state() const { return state_; }
    // The caller's new state; the change is animated.
    void setState(ZantrelKit::TickState state);
    const std::optional<QString>& label() const { return label_; }
    const AnimatedValue& fill() const { return *fill_; }

    QSize sizeHint() const override { return {17, 17}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

    QAccessible::Role accessibleRole() const override { return QAccessible::CheckBox; }
    QString accessibleText(QAccessible::Text kind) const override;
    void addAccessibleState(QAccessible::State& state) const override;
    QStringList accessibleActions() const override;
    void doAccessibleAction(const QString& action) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

private:
    std::optional<QString> label_;
    ZantrelKit::TickState state_;
    std::function<void()> toggle_;
    AnimatedValue* fill_;
};

// A checkable button drawn as the box and its label (13 pt, primary), 8 apart; a click
// anywhere on it flips it. It never draws the mixed state, and a disabled one keeps its
// box drawn as enabled.
class TickBoxToggle final : public QAbstractButton, public AccessibleSource {
    Q_OBJECT
public:
    explicit TickBoxToggle(const QString& label, bool isOn = false, QWidget* parent = nullptr);

    // Hidden labels show only the 17 × 17 box.
    void setLabelsHidden(bool hidden);
    bool labelsHidden() const { return labelsHidden_; }
    const AnimatedValue& fill() const { return *fill_; }
    QRectF boxRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    QAccessible::Role accessibleRole() const override { return QAccessible::CheckBox; }
    QString accessibleText(QAccessible::Text kind) const override;
    void addAccessibleState(QAccessible::State& state) const override;
    QStringList accessibleActions() const override;
    void doAccessibleAction(const QString& action) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
    void checkStateSet() override;
    void nextCheckState() override;

private:
    bool labelsHidden_ = false;
    AnimatedValue* fill_;
};

}  // namespace ZantrelUI
