#include "Glyphnab/windows/AppWindows.h"

#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/windows/GrantPanelView.h"
#include "Glyphnab/shell/HotKeyBindings.h"
#include "Glyphnab/windows/OnboardingPages.h"
#include "Glyphnab/windows/OnboardingView.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelKit/Copy.h"
#include "ZantrelKit/DefaultsStore.h"
#include "ZantrelKit/Permission.h"
#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/design/GlassWindow.h"
#include "platform/async/MainThread.h"

#include <QPointer>

#include <algorithm>
#include <memory>

namespace Glyphnab {

using namespace ZantrelUI;

AppWindows::AppWindows(GlyphnabModel& model, Updater& updater, QObject* parent)
    : QObject(parent),
      model_(model),
      updater_(updater),
      settings_(new GlassWindow(false, true, this)),
      onboarding_(new GlassWindow(false, false, this)),
      grant_(new GlassWindow(false, false, this)),
      selection_(new SettingsSelection(this)) {}

AppWindows::~AppWindows() = default;

void AppWindows::setHotKeyBindings(const HotKeyBindings* bindings) { bindings_ = bindings; }

const HotKeyBindings* AppWindows::hotKeyBindings() const { return bindings_; }

QString AppWindows::settingsTitle(const QString& appName) {
    QString title = GlyphnabCore::Words::menuSettings();
    title.remove(QChar(0x2026));
    if (title.endsWith(QStringLiteral("...")))
        title.chop(3);
    // A taskbar or window switcher shows the title alone, among every other app's
    // settings: it names the app.
    return appName.isEmpty() ? title.trimmed() : appName + u' ' + title.trimmed();
}

QString AppWindows::grantTitle() {
    return ZantrelKit::Copy::Permission::name(ZantrelKit::Permission::screenRecording());
}

int AppWindows::resumeStep(const ZantrelKit::DefaultsStore& defaults) {
    const qint64 stored = defaults.integer(onboardingStepKey).value_or(0);
    return static_cast<int>(std::clamp<qint64>(stored, 0, 2));
}

QWidget* AppWindows::grantRoot(QWidget* parent) {
    Platform::assertMain();
    const QPointer<AppWindows> self(this);
    auto* view = new GrantPanelView(
        model_,
        [self] {
            if (self)
                self->closeGrant();
        },
        parent);
    Environment::setAccent(view, model_.accent());
    return view;
}

QWidget* AppWindows::onboardingRoot(QWidget* parent) {
    Platform::assertMain();
    const QPointer<AppWindows> self(this);
    const ZantrelKit::Onboarding flow(OnboardingView::steps, resumeStep(model_.context().defaults()));
    auto* view = new OnboardingView(
        model_,
        [self] {
            if (self)
                self->finishOnboarding();
        },
        flow, parent);
    view->setHotKeyBindings(bindings_);
    Environment::setAccent(view, model_.accent());
    return view;
}

void AppWindows::showGrant() {
    Platform::assertMain();
    // Measured on a panel of its own, which is dropped again; the shown one is built by
    // the window when it has no content.
    QSize size;
    {
        std::unique_ptr<QWidget> measuring(grantRoot());
        size = HostedPanel::fittingSize(measuring.get());
    }
    const QPointer<AppWindows> self(this);
    grant_->show(grantTitle(), size.width(), size.height(), {}, {}, [self](QWidget* window) -> QWidget* {
        return self ? self->grantRoot(window) : nullptr;
    });
}

void AppWindows::closeGrant() { grant_->close(); }

void AppWindows::showSettings() {
    Platform::assertMain();
    const QPointer<AppWindows> self(this);
    settings_->show(settingsTitle(model_.appName()), settingsWidth, settingsHeight, {}, {}, [self](QWidget* window) -> QWidget* {
        return self ? self->settingsRoot(window) : nullptr;
    });
}

void AppWindows::showOnboarding() {
    Platform::assertMain();
    const QPointer<AppWindows> self(this);
    onboarding_->show(model_.appName(), OnboardingView::windowSize.width(), OnboardingView::windowSize.height(), {}, {},
                      [self](QWidget* window) -> QWidget* { return self ? self->onboardingRoot(window) : nullptr; });
}

void AppWindows::reopen() {
    Platform::assertMain();
    if (!model_.prefs().showIcon)
        selection_->setTab(SettingsTab::general);
    showSettings();
}

void AppWindows::finishOnboarding() {
    Platform::assertMain();
    GlyphnabCore::Preferences prefs = model_.prefs();
    prefs.onboarded = true;
    model_.setPrefs(prefs);
    model_.context().defaults().setInteger(onboardingStepKey, 0);
    onboarding_->close();
}

}  // namespace Glyphnab
