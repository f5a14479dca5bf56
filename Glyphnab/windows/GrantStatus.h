#pragma once

// The small live mark of a permission: a pulsing dot while it is off, a check that draws
// itself once it is on. The two cross-fade when the state changes (a short plain change
// under reduced motion). Decorative: the text beside it says the same.

#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/design/LoopPieces.h"

#include <QPointer>

namespace ZantrelUI {
class AnimatedValue;
}

namespace Glyphnab {

class GrantStatus final : public ZantrelUI::GlassWidget, public ZantrelUI::AccessibleSource {
    Q_OBJECT
public:
    static constexpr qreal side = 14;
    static constexpr qreal checkSize = 14;
    static constexpr qreal dotSize = 8;

    explicit GrantStatus(bool on, QWidget* parent = nullptr);

    bool on() const { return on_; }
    void setOn(bool on);

    // The pieces on screen now; both while they cross-fade.
    ZantrelUI::CheckDraw* check() const { return check_; }
    ZantrelUI::PulseDot* dot() const { return dot_; }
    // 1 when the check shows fully, 0 when the dot does.
    const ZantrelUI::AnimatedValue& fade() const { return *fade_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    QAccessible::Role accessibleRole() const override { return QAccessible::NoRole; }
    void addAccessibleState(QAccessible::State& state) const override { state.invisible = true; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void place();
    void applyFade();
    void dropHidden();

    bool on_;
    QPointer<ZantrelUI::CheckDraw> check_;
    QPointer<ZantrelUI::PulseDot> dot_;
    ZantrelUI::AnimatedValue* fade_;
};

}  // namespace Glyphnab
