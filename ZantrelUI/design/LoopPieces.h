#pragma once

// Small looping pieces over LoopLayerView: a breathing dot, a breathing symbol, dashes
// marching along a line and a turning dashed ring. Offscreen they draw a still form and
// make no loop view; under reduced motion the loop view shows its layer at rest.

#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/LoopLayerView.h"

#include <QPointF>

namespace ZantrelUI {

// The shared part: builds or drops the loop view as `offscreen` changes and passes reduced
// motion on.
class LoopPiece : public GlassWidget {
    Q_OBJECT
public:
    LoopLayerView* loopView() const { return view_; }

protected:
    explicit LoopPiece(QWidget* parent);
    // Builds the view at the end of the subclass's constructor.
    void build();
    virtual std::optional<LayerAnimation> makeLoop() const = 0;
    virtual void configure(LoopLayerView&) {}
    virtual void drawLayer(LoopLayerView& view, QPainter& painter) = 0;
    virtual void paintStill(QPainter& painter) = 0;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void environmentChanged() override;

private:
    LoopLayerView* view_ = nullptr;
};

class PulseDot final : public LoopPiece {
    Q_OBJECT
public:
    explicit PulseDot(qreal size, QWidget* parent = nullptr);
    static LayerAnimation loop();

protected:
    std::optional<LayerAnimation> makeLoop() const override { return loop(); }
    void drawLayer(LoopLayerView& view, QPainter& painter) override;
    void paintStill(QPainter& painter) override;

private:
    qreal size_;
};

class PulseGlyph final : public LoopPiece {
    Q_OBJECT
public:
    PulseGlyph(QString symbol, qreal size, DynamicColor color, QWidget* parent = nullptr);
    static LayerAnimation loop();

protected:
    std::optional<LayerAnimation> makeLoop() const override { return loop(); }
    void drawLayer(LoopLayerView& view, QPainter& painter) override;
    void paintStill(QPainter& painter) override;

private:
    void paintSymbol(QPainter& painter, double scale);
    QString symbol_;
    qreal size_;
    DynamicColor color_;
};

class FlowDashes final : public LoopPiece {
    Q_OBJECT
public:
    // `from` and `to` are fractions of the width and height, y downwards.
    FlowDashes(QPointF from, QPointF to, DynamicColor color, double cyclesPerSecond, qreal lineWidth,
               QWidget* parent = nullptr);

    static std::optional<LayerAnimation> loop(double cyclesPerSecond);
    // A new speed replaces the loop (its phase restarts); the same speed keeps it.
    void setCyclesPerSecond(double cyclesPerSecond);
    // The line in widget coordinates.
    QLineF line() const;

protected:
    std::optional<LayerAnimation> makeLoop() const override { return loop(cycles_); }
    void drawLayer(LoopLayerView& view, QPainter& painter) override;
    void paintStill(QPainter& painter) override;

private:
    void paintDashes(QPainter& painter, double phase);
    QPointF from_;
    QPointF to_;
    DynamicColor color_;
    double cycles_;
    qreal lineWidth_;
};

class TurningRing final : public LoopPiece {
    Q_OBJECT
public:
    // Turns for `turnsFor` seconds, then stands still for the life of its view.
    TurningRing(DynamicColor color, qreal line, double turnsFor, QWidget* parent = nullptr);
    static LayerAnimation loop();
    // Repaints in another colour; the loop and its time limit go on.
    void setColor(const DynamicColor& color);
    // The dash length that splits the ring into 10 dashes and 10 gaps.
    static qreal dash(qreal side, qreal line);

protected:
    std::optional<LayerAnimation> makeLoop() const override { return loop(); }
    void configure(LoopLayerView& view) override;
    void drawLayer(LoopLayerView& view, QPainter& painter) override;
    void paintStill(QPainter& painter) override;

private:
    void paintRing(QPainter& painter, double rotation);
    DynamicColor color_;
    qreal line_;
    double turnsFor_;
};

}  // namespace ZantrelUI
