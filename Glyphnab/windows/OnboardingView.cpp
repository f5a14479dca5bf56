#include "Glyphnab/windows/OnboardingView.h"

#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/shell/HotKeyBindings.h"
#include "Glyphnab/windows/GrantWatchHold.h"
#include "Glyphnab/windows/OnboardingPages.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelKit/MotionSpec.h"
#include "ZantrelUI/design/Backdrop.h"
#include "ZantrelUI/design/Motion.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/ReduceMotion.h"
#include "ZantrelUI/design/StepDots.h"
#include "platform/async/MainThread.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace Glyphnab {

using namespace ZantrelUI;
namespace Words = GlyphnabCore::Words;

OnboardingView::OnboardingView(GlyphnabModel& model, std::function<void()> finish, ZantrelKit::Onboarding flow,
                               QWidget* parent)
    : GlassWidget(parent), model_(&model), finish_(std::move(finish)), flow_(flow),
      watch_(new GrantWatchHold(model, this)), backdrop_(new Backdrop(this)),
      fade_(new AnimatedValue(1, this)) {
    Platform::assertMain();
    setFixedSize(windowSize);
    // It takes the focus first, for Return, but is no Tab stop: it would show none.
    setFocusPolicy(Qt::ClickFocus);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    pageHolder_ = new QVBoxLayout();
    pageHolder_->setContentsMargins(36, 38, 36, 0);
    column->addLayout(pageHolder_, 1);

    auto* bar = new QHBoxLayout();
    bar->setContentsMargins(36, 12, 36, 24);
    bar->setSpacing(12);
    dots_ = new StepDots(flow_.steps(), flow_.step(), this);
    bar->addWidget(dots_, 0, Qt::AlignVCenter);
    bar->addStretch(1);
    back_ = new PillButton(Words::onboardingBack(), false, true, this);
    connect(back_, &QAbstractButton::clicked, this, &OnboardingView::goBack);
    bar->addWidget(back_, 0, Qt::AlignVCenter);
    next_ = new PillButton(QString(), true, true, this);
    connect(next_, &QAbstractButton::clicked, this, &OnboardingView::goOn);
    bar->addWidget(next_, 0, Qt::AlignVCenter);
    column->addLayout(bar);

    connect(fade_, &AnimatedValue::changed, this, &OnboardingView::applyFade);
    showStep(false);
}

bool OnboardingView::holdsWatch() const { return watch_->holds(); }

void OnboardingView::goBack() {
    Platform::assertMain();
    const int before = flow_.step();
    flow_.back();
    if (flow_.step() != before)
        showStep(true);
}

void OnboardingView::goOn() {
    Platform::assertMain();
    if (flow_.advance() == ZantrelKit::Onboarding::Outcome::moved) {
        showStep(true);
        return;
    }
    // A second press before the window has gone must not finish the run again.
    if (finished_)
        return;
    finished_ = true;
    if (finish_)
        finish_();
}

void OnboardingView::setHotKeyBindings(const HotKeyBindings* bindings) {
    bindings_ = bindings;
    if (auto* keys = qobject_cast<KeysPage*>(page_))
        keys->setHotKeyBindings(bindings);
}

void OnboardingView::showStep(bool animated) {
    if (!model_)
        return;
    const int step = flow_.step();
    if (page_ != nullptr) {
        pageHolder_->removeWidget(page_);
        page_->deleteLater();
        page_->hide();
    }
    if (step <= 0)
        page_ = new WelcomePage(*model_, this);
    else if (step == 1)
        page_ = new RoutePage(*model_, this);
    else {
        auto* keys = new KeysPage(*model_, this);
        keys->setHotKeyBindings(bindings_);
        page_ = keys;
    }
    pageHolder_->addWidget(page_);
    page_->show();

    dots_->setCurrent(step);
    back_->setVisible(step >= 1);
    next_->setText(step + 1 >= flow_.steps() ? Words::onboardingDone() : Words::onboardingNext());
    next_->updateGeometry();

    if (animated) {
        fade_->setValue(0);
        fade_->animateTo(1, Motion::spring(ZantrelKit::MotionSpec::snappy, ReduceMotion::of(this)));
    } else {
        fade_->setValue(1);
    }
    applyFade();
}

void OnboardingView::applyFade() {
    if (page_ == nullptr)
        return;
    const double opacity = std::clamp(fade_->value(), 0.0, 1.0);
    if (opacity >= 1) {
        // At rest the page draws without an effect in the way.
        page_->setGraphicsEffect(nullptr);
        return;
    }
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(page_->graphicsEffect());
    if (effect == nullptr) {
        effect = new QGraphicsOpacityEffect(page_);
        page_->setGraphicsEffect(effect);
    }
    effect->setOpacity(opacity);
}

void OnboardingView::showEvent(QShowEvent* event) {
    GlassWidget::showEvent(event);
    if (QWidget* top = window(); top != nullptr && top->focusWidget() == nullptr)
        setFocus(Qt::OtherFocusReason);
}

void OnboardingView::resizeEvent(QResizeEvent* event) {
    GlassWidget::resizeEvent(event);
    backdrop_->setGeometry(rect());
    backdrop_->lower();
}

void OnboardingView::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        next_->click();
        return;
    }
    GlassWidget::keyPressEvent(event);
}

}  // namespace Glyphnab
