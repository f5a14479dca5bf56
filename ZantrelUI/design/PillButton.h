#pragma once

// The glass capsule button: plain (faint fill) or prominent (accent gradient), in two sizes,
// with an optional symbol before its title.

#include "ZantrelUI/design/Motion.h"

#include <QAbstractButton>

namespace ZantrelUI {

class PillButton : public QAbstractButton {
    Q_OBJECT
public:
    // What the button paints in a state.
    struct Look {
        double opacity;
        double scale;
        bool accentFill;  // the gradient; otherwise a plain fill
        bool strongFill;  // the pressed plain fill
        bool accentShadow;

        friend bool operator==(const Look&, const Look&) = default;
    };
    static Look lookFor(bool prominent, bool enabled, bool pressed, bool reduceMotion);

    // Shadow room around a prominent capsule (its accent shadow falls outside it).
    static constexpr qreal shadowRoom = 6;

    explicit PillButton(const QString& title = {}, bool prominent = false, bool large = false, QWidget* parent = nullptr);

    bool prominent() const { return prominent_; }
    bool large() const { return large_; }
    void setProminent(bool prominent);
    void setLarge(bool large);
    // A symbol name drawn before the title, or none.
    void setSymbol(const QString& symbol);
    const QString& symbol() const { return symbol_; }
    // The symbol after the title instead of before it (a chevron, say).
    void setSymbolTrails(bool trails);
    bool symbolTrails() const { return symbolTrails_; }

    Look currentLook() const;
    // The capsule in this widget's coordinates, at rest (before the pressed scale).
    QRectF capsuleRect() const;
    // The widget's room around the capsule (the prominent shadow's).
    QMarginsF room() const;
    const AnimatedValue& pressAnimation() const { return *pressed_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    QFont titleFont() const;

    bool prominent_;
    bool large_;
    QString symbol_;
    bool symbolTrails_ = false;
    AnimatedValue* pressed_;
};

}  // namespace ZantrelUI
