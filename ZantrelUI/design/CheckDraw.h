#pragma once

// Two one-shot animations: a gradient disc with a check mark that pops in and draws its
// stroke when played, and a soft light band that sweeps once across a view.

#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/MotionLayer.h"

#include <QVariant>

namespace ZantrelUI {

class CheckDrawView final : public QWidget {
    Q_OBJECT
public:
    struct Colors {
        DynamicColor top;
        DynamicColor bottom;
        DynamicColor ink;
    };

    CheckDrawView(Colors colors, bool reduceMotion, QWidget* parent = nullptr);

    // Shows the finished drawing and animates into it once (again on every call).
    void play();
    // The stroke is drawn, the disc at full size and both fully opaque.
    bool isSettled() const;

    const Colors& colors() const { return colors_; }
    void setColors(Colors colors);
    bool reduceMotion() const { return reduceMotion_; }
    void setReduceMotion(bool reduce) { reduceMotion_ = reduce; }

    MotionLayer& disc() { return disc_; }
    MotionLayer& check() { return check_; }

    // Geometry for the current size: the disc square, the check's points and its width.
    QRectF discRect() const;
    std::array<QPointF, 3> checkPoints() const;  // in this widget's coordinates
    qreal lineWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    Colors colors_;
    bool reduceMotion_;
    MotionLayer disc_;
    MotionLayer check_;
};

// The check of a size in the environment's accent: a still form when drawn offscreen,
// otherwise a CheckDrawView that plays once, when first shown.
class CheckDraw final : public GlassWidget {
    Q_OBJECT
public:
    explicit CheckDraw(qreal size, QWidget* parent = nullptr);

    CheckDrawView* view() const { return view_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void environmentChanged() override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void rebuild();

    qreal size_;
    CheckDrawView* view_ = nullptr;
    bool played_ = false;
};

class ShimmerView final : public QWidget {
    Q_OBJECT
public:
    static inline const QString sweepKey = QStringLiteral("sweep");

    explicit ShimmerView(bool reduceMotion, QWidget* parent = nullptr);

    // One pass of the band from beyond the left edge to beyond the right; none when reduced.
    void sweep();
    bool reduceMotion() const { return reduceMotion_; }
    void setReduceMotion(bool reduce) { reduceMotion_ = reduce; }
    MotionLayer& band() { return band_; }
    // The band's three stop positions (fractions of the width) as drawn now.
    QList<double> locations() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool reduceMotion_;
    MotionLayer band_;
};

// Sweeps each time its trigger changes (not when first shown); nothing offscreen.
class Shimmer final : public GlassWidget {
    Q_OBJECT
public:
    explicit Shimmer(QVariant trigger, QWidget* parent = nullptr);

    void setTrigger(const QVariant& trigger);
    ShimmerView* view() const { return view_; }

protected:
    void environmentChanged() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void rebuild();

    QVariant last_;
    ShimmerView* view_ = nullptr;
};

}  // namespace ZantrelUI
