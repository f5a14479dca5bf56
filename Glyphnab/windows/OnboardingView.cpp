#include "Glyphnab/windows/OnboardingView.h"

#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/windows/GrantWatchHold.h"
#include "Glyphnab/windows/OnboardingPages.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelKit/MotionSpec.h"
#include "ZantrelUI/design/Backdrop.h"
#include "ZantrelUI/design/Motion.h"
#include "ZantrelUI/design/OverhangItem.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/ReduceMotion.h"
#include "ZantrelUI/design/StepDots.h"
#include "platform/async/MainThread.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <QtMath>

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
    // Holds the focus for Return and Escape when no control has it, but is no Tab stop.
    setFocusPolicy(Qt::ClickFocus);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    pageHolder_ = new QVBoxLayout();
    const int side = 36 - pageOverhang();
    pageHolder_->setContentsMargins(side, 38, side, 0);
    column->addLayout(pageHolder_, 1);

    auto* bar = new QHBoxLayout();
    bar->setContentsMargins(36, 8, 36, 24);
    bar->setSpacing(12);
    dots_ = new StepDots(flow_.steps(), flow_.step(), this);
    bar->addWidget(dots_, 0, Qt::AlignVCenter);
    bar->addStretch(1);
    back_ = new PillButton(Words::onboardingBack(), false, true, this);
    connect(back_, &QAbstractButton::clicked, this, &OnboardingView::goBack);
    bar->addWidget(back_, 0, Qt::AlignVCenter);
    next_ = new PillButton(QString(), true, true, this);
    connect(next_, &QAbstractButton::clicked, this, &OnboardingView::goOn);
    // Its capsule, not its shadow, ends the bar, so the page keeps the height it needs.
    const QMarginsF shadow = next_->room();
    bar->addItem(new OverhangItem(next_, QMargins(qCeil(shadow.left()), qCeil(shadow.top()), qCeil(shadow.right()),
                                                  qCeil(shadow.bottom()))));
    column->addLayout(bar);

    connect(fade_, &AnimatedValue::changed, this, &OnboardingView::applyFade);
    connect(fade_, &AnimatedValue::finished, this, &OnboardingView::dropLeavingPage);
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

void OnboardingView::showStep(bool animated) {
    if (!model_)
        return;
    const int step = flow_.step();
    dropLeavingPage();
    if (page_ != nullptr) {
        pageHolder_->removeWidget(page_);
        if (animated) {
            // The old page stays where it was and fades out while the new one fades in.
            leaving_ = page_;
            leaving_->setAttribute(Qt::WA_TransparentForMouseEvents);
            leaving_->setFocusPolicy(Qt::NoFocus);
            for (QWidget* child : leaving_->findChildren<QWidget*>())
                child->setFocusPolicy(Qt::NoFocus);
        } else {
            page_->hide();
            page_->deleteLater();
        }
    }
    if (step <= 0)
        page_ = new WelcomePage(*model_, this);
    else if (step == 1)
        page_ = new RoutePage(*model_, this);
    else
        page_ = new KeysPage(*model_, this);
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

namespace {

void setOpacity(QWidget* page, double opacity) {
    if (opacity >= 1) {
        // At rest the page draws without an effect in the way.
        page->setGraphicsEffect(nullptr);
        return;
    }
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(page->graphicsEffect());
    if (effect == nullptr) {
        effect = new QGraphicsOpacityEffect(page);
        page->setGraphicsEffect(effect);
    }
    effect->setOpacity(opacity);
}

}  // namespace

void OnboardingView::applyFade() {
    const double opacity = std::clamp(fade_->value(), 0.0, 1.0);
    if (page_ != nullptr)
        setOpacity(page_, opacity);
    if (leaving_ != nullptr) {
        if (opacity >= 1 && !fade_->isAnimating())
            dropLeavingPage();
        else
            setOpacity(leaving_, 1 - opacity);
    }
}

void OnboardingView::dropLeavingPage() {
    if (leaving_ == nullptr)
        return;
    leaving_->hide();
    leaving_->deleteLater();
    leaving_ = nullptr;
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
