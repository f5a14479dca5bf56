#pragma once

// The content of the first-run window: three pages (welcome, how grabs read, the
// shortcuts) over a bar of step dots with Back and Continue, Continue becoming Done on the
// last page. Done hands over to the host's finish action, once. While it is on screen it
// holds the model's grant watch, so the permission status follows the desktop live.

#include "ZantrelKit/Onboarding.h"
#include "ZantrelUI/context/Environment.h"

#include <QPointer>

#include <functional>

class QVBoxLayout;

namespace ZantrelUI {
class AnimatedValue;
class Backdrop;
class PillButton;
class StepDots;
}  // namespace ZantrelUI

namespace Glyphnab {

class GlyphnabModel;
class GrantWatchHold;
class HotKeyBindings;

class OnboardingView final : public ZantrelUI::GlassWidget {
    Q_OBJECT
public:
    static constexpr QSize windowSize{580, 530};
    static constexpr int steps = 3;

    OnboardingView(GlyphnabModel& model, std::function<void()> finish, ZantrelKit::Onboarding flow = ZantrelKit::Onboarding(steps),
                   QWidget* parent = nullptr);

    const ZantrelKit::Onboarding& flow() const { return flow_; }
    // Back one step, never before the first.
    void goBack();
    // On to the next step; on the last one, the finish action (only the first time).
    void goOn();

    QWidget* page() const { return page_; }
    // The previous page while it fades out after a step change.
    QWidget* leavingPage() const { return leaving_; }
    ZantrelUI::StepDots* dots() const { return dots_; }
    // Hidden on the first step.
    ZantrelUI::PillButton* backButton() const { return back_; }
    // "Continue", or "Done" on the last step; Return presses it.
    ZantrelUI::PillButton* nextButton() const { return next_; }
    const ZantrelUI::AnimatedValue& pageFade() const { return *fade_; }
    bool holdsWatch() const;

    // The registered hot keys, whose refused shortcuts the keys step shows.
    void setHotKeyBindings(const HotKeyBindings* bindings);

    // The window's fixed size, whatever the page's texts need.
    QSize sizeHint() const override { return windowSize; }
    bool hasHeightForWidth() const override { return false; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showStep(bool animated);
    void applyFade();
    void dropLeavingPage();

    QPointer<GlyphnabModel> model_;
    QPointer<const HotKeyBindings> bindings_;
    std::function<void()> finish_;
    ZantrelKit::Onboarding flow_;
    bool finished_ = false;
    GrantWatchHold* watch_;
    ZantrelUI::Backdrop* backdrop_;
    QVBoxLayout* pageHolder_;
    QWidget* page_ = nullptr;
    QPointer<QWidget> leaving_;
    ZantrelUI::StepDots* dots_;
    ZantrelUI::PillButton* back_;
    ZantrelUI::PillButton* next_;
    ZantrelUI::AnimatedValue* fade_;
};

}  // namespace Glyphnab
