#pragma once

// The one way the kit puts a view into an ordinary window: made once per holder and
// reused, content rebuilt after each close, height fitted to the content, Escape closing
// it and a question asked before the user closes it.

#include "ZantrelUI/context/Environment.h"

#include <QPointer>
#include <QSizeF>
#include <QWidget>

#include <functional>
#include <optional>

namespace ZantrelUI {

class EscapeWindow;

class GlassWindow final : public QObject {
    Q_OBJECT
public:
    using Content = std::function<QWidget*(QWidget* window)>;

    GlassWindow(bool resizable, bool closesOnEscape, QObject* parent = nullptr);
    ~GlassWindow() override;

    // Makes the window on first use, installs the content when it is not installed, sets the
    // title, brings the window to the front. `width` and `height` size a new window only.
    void show(const QString& title, qreal width, qreal height, std::function<void()> onClose = {},
              std::function<bool()> ask = {}, const Content& content = {});
    // Closes the window without asking.
    void close();
    bool isVisible() const;
    QWidget* window() const;
    bool hosted() const { return hosted_; }
    bool resizable() const { return resizable_; }

    // Sets the window's height to `height` (rounded up, at most the screen's available
    // height), keeping the top edge and staying inside the available area.
    void fitHeight(qreal height);

    // The frame rule of `fitHeight` on its own: the new geometry, or none when nothing moves.
    // Coordinates are Qt's (y down); `available` is the screen's usable area, if any.
    static std::optional<QRect> fittedGeometry(const QRect& frame, qreal height, const std::optional<QRect>& available);

private:
    friend class EscapeWindow;
    void windowWillClose();
    void watchContent(QWidget* content);

    bool resizable_;
    bool closesOnEscape_;
    bool hosted_ = false;
    std::function<void()> onClose_;
    std::function<bool()> ask_;
    QPointer<EscapeWindow> window_;
};

// The window class: Escape without modifiers closes (through the question), the
// background drags the window, and closing by the user asks first.
class EscapeWindow final : public GlassWidget {
    Q_OBJECT
public:
    EscapeWindow(GlassWindow* holder, bool closesOnEscape);

    bool closesOnEscape() const { return closesOnEscape_; }
    // Whether Escape with these modifiers closes the window.
    static bool escapeCloses(Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    friend class GlassWindow;
    QPointer<GlassWindow> holder_;
    bool closesOnEscape_;
    bool closingPlainly_ = false;
    // Where the left button went down on the background, until the drag starts or ends.
    std::optional<QPointF> pressedAt_;
};

// The size a window or panel should have to show `content`: its preferred size rounded up,
// at least 100 × 60.
namespace HostedPanel {
QSize fittingSize(const QSizeF& measured);
QSize fittingSize(QWidget* content);
}  // namespace HostedPanel

}  // namespace ZantrelUI
