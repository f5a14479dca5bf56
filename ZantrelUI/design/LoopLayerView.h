#pragma once

// The view under every repeating animation of the kit: one layer with one loop under the
// key "zantrel.loop", running only while somebody can see it (its window shown and
// exposed), motion is not reduced, and an optional time limit has not run out.

#include "ZantrelUI/design/MotionClock.h"
#include "ZantrelUI/design/MotionLayer.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class QPainter;
class QWindow;

namespace ZantrelUI {

class LoopLayerView : public QWidget {
    Q_OBJECT
public:
    static inline const QString loopKey = QStringLiteral("zantrel.loop");

    // Paints the layer for the current appearance; the view's presentation values are at hand.
    using Draw = std::function<void(LoopLayerView& view, QPainter& painter)>;

    LoopLayerView(std::optional<LayerAnimation> loop, bool reduceMotion, QWidget* parent = nullptr);
    ~LoopLayerView() override;

    MotionLayer& loopLayer() { return layer_; }
    const MotionLayer& loopLayer() const { return layer_; }

    const std::optional<LayerAnimation>& loop() const { return loop_; }
    // A new loop (or none) clears the time limit's verdict and starts from the beginning.
    void setLoop(std::optional<LayerAnimation> loop);
    bool reduceMotion() const { return reduceMotion_; }
    void setReduceMotion(bool reduce);
    void setDraw(Draw draw);
    // Seconds after a start at which the loop stops for good; takes effect at the next start.
    void setStopsAfter(std::optional<double> seconds) { stopsAfter_ = seconds; }
    std::optional<double> stopsAfter() const { return stopsAfter_; }
    bool expired() const { return expired_; }
    void setExpired(bool expired) { expired_ = expired; }

    void refresh(bool restart);
    // Lays the layer out again and repaints it.
    void redraw();
    bool isRunning() const { return layer_.hasAnimation(loopKey); }
    // Whether everything allows the loop to run now.
    bool mayRun() const;
    // Backing scale the layer is drawn at: the window's, or 2 without a window.
    qreal contentsScale() const;
    int drawCount() const { return drawCount_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchWindow();
    void refreshLater();
    bool windowVisible() const;

    MotionLayer layer_;
    std::optional<LayerAnimation> loop_;
    std::optional<double> stopsAfter_;
    bool expired_ = false;
    std::optional<MotionClock::TimerId> deadline_;
    bool reduceMotion_;
    Draw draw_;
    QPointer<QWidget> watchedWindow_;
    QPointer<QWindow> watchedHandle_;
    int drawCount_ = 0;
};

}  // namespace ZantrelUI
