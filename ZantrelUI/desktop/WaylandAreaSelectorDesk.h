#pragma once

// The selector's desktop in a Wayland session. Apps cannot place windows or see through
// them onto other apps' pixels there, so the screens are pictured first (through the
// session's screen service) and each panel fills its own output, drawing over its part of
// that picture. No other app's window can be named or activated.

#include "ZantrelUI/desktop/AreaSelectorDesk.h"

namespace Platform {
class ScreenService;
}

namespace ZantrelUI {

class WaylandAreaSelectorDesk final : public AreaSelectorDesk {
public:
    explicit WaylandAreaSelectorDesk(Platform::ScreenService& screen) : screen_(screen) {}

    QList<QRectF> screens() const override;
    QPointF pointer() const override;
    bool translucent() const override { return false; }
    QImage freeze(const QRectF& screen) const override;
    bool grabInput(QWidget& panel) override;
    void releaseInput(QWidget& panel) override;
    std::optional<FrontWindow> frontWindow() const override { return std::nullopt; }
    void activate(const FrontWindow&) override {}
    QCoro::Task<bool> prepare() override;
    void present(QWidget& panel, const QRectF& screen) override;

private:
    Platform::ScreenService& screen_;
};

}  // namespace ZantrelUI
