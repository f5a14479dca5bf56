#pragma once

// The drawing on the first-run welcome page: a card of text lines with a dragged selection
// over two of them, an arrow, and a clipboard card holding the result. Still, decorative,
// and invisible to assistive technology.

#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/GlassAccessibility.h"

#include <QList>

namespace Glyphnab {

class GrabIllustration final : public ZantrelUI::GlassWidget, public ZantrelUI::AccessibleSource {
public:
    static constexpr QSizeF screenCardSize{270, 132};
    // Room around the cards for their shadows and the selection's glow.
    static constexpr int room = 18;
    static constexpr QSizeF clipboardCardSize{128, 96};
    static constexpr qreal spacing = 22;
    static constexpr qreal arrowSide = 15;
    static constexpr qreal lineHeight = 7;
    static constexpr qreal lineSpacing = 11;
    static constexpr qreal lineInset = 18;
    // Where the selection lies on the screen card, from its top-left corner.
    static constexpr QRectF selectionFrame{9, 26, 252, 40};

    // The widths of the drawn text lines from the top, in points.
    explicit GrabIllustration(QList<qreal> widths, QWidget* parent = nullptr);

    const QList<qreal>& widths() const { return widths_; }

    // The pieces in this widget's coordinates: centred as a row in the widget.
    QRectF screenCardRect() const;
    QRectF arrowRect() const;
    QRectF clipboardCardRect() const;
    QRectF lineRect(int index) const;
    QRectF selectionRect() const;
    // The brighter lines are the two under the selection.
    static double lineOpacity(int index) { return index == 1 || index == 2 ? 0.9 : 0.45; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    QAccessible::Role accessibleRole() const override { return QAccessible::NoRole; }
    void addAccessibleState(QAccessible::State& state) const override { state.invisible = true; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal rowWidth() const;
    QList<qreal> widths_;
};

}  // namespace Glyphnab
