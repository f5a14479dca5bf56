#pragma once

// The glass windows' full background, and the card surface every grouped area uses.

#include "ZantrelUI/context/Environment.h"

#include <QFrame>

class QVBoxLayout;

namespace ZantrelUI {

// A tinted vertical gradient with a soft accent glow at the top. Over a live window the
// gradient lets the desktop's blur (where the compositor offers one) show through; drawn
// offscreen, or with high contrast on, it is fully opaque.
class Backdrop final : public GlassWidget {
public:
    struct Look {
        double topOpacity;
        double bottomOpacity;
        double glowOpacity;
        bool screenBlend;  // the glow is screened onto the gradient (dark) or laid over it
    };
    static Look look(bool opaque, bool offscreen, ColorScheme scheme);

    explicit Backdrop(QWidget* parent = nullptr);

    // What the backdrop paints now.
    Look currentLook() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Paints the card surface: a translucent rounded fill with a faint shadow and an inner
// border that runs from light at the top to darker at the bottom.
// `withShadow` paints the shadow too, for callers that left room around the card.
void paintGlassCard(QPainter& painter, const QRectF& rect, qreal radius, ColorScheme scheme, bool withShadow = true);

// A container drawn as a glass card; its content goes in `contentLayout()`. Its shadow
// falls outside its frame, so it is a drop-shadow effect rather than painted.
class GlassCard : public GlassWidget {
public:
    explicit GlassCard(qreal radius = 14, QWidget* parent = nullptr);

    QVBoxLayout* contentLayout() const { return layout_; }
    qreal radius() const { return radius_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void environmentChanged() override;

private:
    void updateShadow();

    qreal radius_;
    QVBoxLayout* layout_;
};

}  // namespace ZantrelUI
