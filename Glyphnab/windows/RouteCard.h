#pragma once

// The selectable card of the first-run route step: a symbol tile, the title, a choice mark,
// the explaining text and an optional footer. The chosen card shows a filled tile and check,
// an accent border and an accent glow. A click anywhere on the card chooses it; the footer's
// own controls act on their own. From the keyboard the card is a Tab stop with a focus
// ring: Space or Return chooses it, the arrow keys move to the card before or after it.

#include "ZantrelUI/context/Environment.h"

#include <QPointer>

#include <functional>

class QLabel;
class QSpacerItem;

namespace Glyphnab {

class RouteCard final : public ZantrelUI::GlassWidget {
    Q_OBJECT
public:
    static constexpr qreal radius = 14;
    static constexpr qreal inset = 16;
    static constexpr qreal tileSide = 34;
    static constexpr qreal markSide = 18;

    // The card takes ownership of `footer` (none for no footer).
    RouteCard(const QString& symbol, const QString& title, const QString& detail, bool chosen,
              std::function<void()> choose, QWidget* footer = nullptr, QWidget* parent = nullptr);

    bool chosen() const { return chosen_; }
    void setChosen(bool chosen);
    const QString& title() const { return title_; }
    QWidget* footer() const { return footer_; }
    QLabel* detailLabel() const { return detail_; }
    QLabel* titleLabel() const { return titleLabel_; }

    // The card's outline in this widget's coordinates; the rest is room for the glow.
    QRectF cardRect() const;
    QRectF tileRect() const;
    QRectF markRect() const;
    static qreal shadowRoom();

    void choose();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void environmentChanged() override;
    bool event(QEvent* event) override;

private:
    void recolor();
    // The card `step` places before (-1) or after (1) this one among its siblings.
    RouteCard* neighbour(int step) const;

    QString symbol_;
    QString title_;
    bool chosen_;
    std::function<void()> choose_;
    QLabel* titleLabel_;
    QLabel* detail_;
    QPointer<QWidget> footer_;
    QSpacerItem* tile_;
    QSpacerItem* mark_;
    bool pressedInside_ = false;
};

}  // namespace Glyphnab
