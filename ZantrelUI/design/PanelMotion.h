#pragma once

// Fades a floating panel in with a small spring grow about an anchor, and fades it out
// before ordering it out. A generation counter keeps a hide whose fade is still running
// from ordering out a panel that was shown again since.

#include "ZantrelUI/design/MotionLayer.h"

#include <QObject>
#include <QPointF>
#include <QPointer>

class QWidget;

namespace ZantrelUI {

class PanelMotion final : public QObject {
    Q_OBJECT
public:
    static inline const QString inKey = QStringLiteral("zantrel.panel.in");
    static inline const QString growKey = QStringLiteral("zantrel.panel.grow");
    static inline const QString outKey = QStringLiteral("zantrel.panel.out");

    explicit PanelMotion(QObject* parent = nullptr);

    int generation() const { return generation_; }

    // The panel's content view: its first child widget; none means nothing to animate.
    static QWidget* contentView(QWidget* panel);
    // The layer that draws a panel's content (opacity and transform), made on first use.
    static MotionLayer* layerOf(QWidget* content, bool create = true);

    // `anchor`: x from the left, y from the top, each 0 to 1.
    void show(QWidget* panel, bool makeKey, bool reduceMotion, double scale, QPointF anchor);
    // Shows the panel whole at once: without a compositor a fade would rise from black.
    void showStill(QWidget* panel, bool makeKey);
    void hide(QWidget* panel, bool immediately);

private:
    int generation_ = 0;
};

}  // namespace ZantrelUI
