#pragma once

// The drag-to-select overlay of a grab from the screen: every screen is covered and
// dimmed, the user drags a rectangle, and the pick returns it in global screen points
// (origin at the bottom left of the primary screen, y up), or nothing when cancelled.

#include "ZantrelUI/desktop/AreaSelectorDesk.h"
#include "platform/screen/ScreenSpace.h"

#include <QColor>
#include <QFont>
#include <QCoroTask>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

namespace ZantrelUI {

// The screens could not be pictured for a pick, so no overlay opened; says why.
class PickFailure : public std::runtime_error {
public:
    explicit PickFailure(Platform::CaptureFailure failure);
    const Platform::CaptureFailure& failure() const { return failure_; }

private:
    Platform::CaptureFailure failure_;
};

class SelectionView;

class AreaSelector final : public QObject {
    Q_OBJECT
public:
    struct Look {
        QColor accent = QColor(255, 45, 85);  // pink, until the app gives its accent
        QString hint;
    };

    explicit AreaSelector(std::unique_ptr<AreaSelectorDesk> desk = makeLiveAreaSelectorDesk(),
                          QObject* parent = nullptr);
    ~AreaSelector() override;

    // Covers the screens and waits for a drag. Nothing when the user cancels (Escape, a
    // right click), when the rectangle is under 4 × 4 points or off every screen, when
    // another pick is waiting, and when there is no screen or the pointer or keyboard
    // cannot be taken (the pick could not be ended by the user then). Throws PickFailure
    // when the screens cannot be pictured where the overlay needs that.
    QCoro::Task<std::optional<QRectF>> pick(Look look);

    // Ends a waiting pick with nothing; does nothing when none waits.
    void cancel();
    // The grab that followed the pick has delivered (or given up): takes away whatever
    // still covers the screens for it.
    void uncover();

    bool isPicking() const { return pending_ != nullptr; }
    // The overlay's panels while a pick runs, one per screen in screen order.
    const std::vector<QPointer<SelectionView>>& panels() const { return panels_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Pending;
    class PickAwaiter;

    bool showOverlay(const Look& look);
    void mouseDown(QPointF point);
    void drag(QPointF point);
    void mouseUp(QPointF point);
    void finish(std::optional<QRectF> result);
    QList<QRectF> globalFrames() const;
    Platform::ScreenSpace screenSpace() const;

    std::unique_ptr<AreaSelectorDesk> desk_;
    std::shared_ptr<Pending> pending_;
    std::vector<QPointer<SelectionView>> panels_;
    QPointer<SelectionView> grabbed_;
    std::optional<QPointF> start_;
    std::optional<FrontWindow> previous_;
};

// One screen's panel: the dimmed overlay with the selection hole, its outline, the size
// label and the hint. Its own coordinates have the origin at the bottom left, y up.
class SelectionView final : public QWidget {
    Q_OBJECT
public:
    SelectionView(QRectF frame, Platform::ScreenSpace space);

    // The screen in global points.
    const QRectF& frame() const { return frame_; }
    // The size label's font: digits of one width, so the label does not jitter in a drag.
    static QFont labelFont();

    const AreaSelector::Look& look() const { return look_; }
    void setLook(AreaSelector::Look look);
    const std::optional<QRectF>& selection() const { return selection_; }
    void setSelection(std::optional<QRectF> selection);
    bool showsHint() const { return showsHint_; }
    void setShowsHint(bool on);
    void setFrozen(QImage picture);

    std::function<void(QPointF)> onDown, onDrag, onUp;  // global screen points
    std::function<void()> onCancel;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPointF globalPoint(const QMouseEvent& event) const;

    QRectF frame_;
    Platform::ScreenSpace space_;
    AreaSelector::Look look_;
    std::optional<QRectF> selection_;
    bool showsHint_ = false;
    QImage frozen_;
};

}  // namespace ZantrelUI
