#pragma once

// The selector's desktop in a Wayland session. Apps cannot place windows or see through
// them onto other apps' pixels there, so the screens are pictured first (through the
// session's screen service) and each panel fills its own output, drawing over its part of
// that picture. No other app's window can be named or activated. A Wayland desktop hands
// the clipboard only to an app with a focused window, so after a pick the screens stay
// covered by their (identical) frozen pictures until the text is delivered.

#include "ZantrelUI/desktop/AreaSelectorDesk.h"

#include <QPointer>

#include <chrono>
#include <vector>

namespace Platform {
class ScreenService;
}

namespace ZantrelUI {

class WaylandAreaSelectorDesk final : public AreaSelectorDesk {
public:
    // How long the covers wait for the text at most: a long reading shows its progress.
    static constexpr std::chrono::milliseconds coverLimit{2000};

    explicit WaylandAreaSelectorDesk(Platform::ScreenService& screen) : screen_(screen) {}
    ~WaylandAreaSelectorDesk() override;

    QList<QRectF> screens() const override;
    QPointF pointer() const override;
    bool translucent() const override { return false; }
    QImage freeze(const QRectF& screen) const override;
    bool grabInput(QWidget& panel) override;
    void releaseInput(QWidget& panel) override;
    std::optional<FrontWindow> frontWindow() const override { return std::nullopt; }
    void activate(const FrontWindow&) override {}
    QCoro::Task<std::expected<void, Platform::CaptureFailure>> prepare(std::stop_token stop) override;
    void present(QWidget& panel, const QRectF& screen) override;
    void coverUntilDelivered() override;
    void pickCancelled() override;
    void uncover() override;

    bool isCovering() const { return !covers_.empty(); }

private:
    Platform::ScreenService& screen_;
    std::vector<QPointer<QWidget>> covers_;
    std::shared_ptr<int> coverRound_;
};

}  // namespace ZantrelUI
