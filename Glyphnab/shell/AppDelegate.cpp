#include "Glyphnab/shell/AppDelegate.h"

#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/notice/GrabShimmer.h"
#include "Glyphnab/shell/HotKeyBindings.h"
#include "Glyphnab/shell/MainMenu.h"
#include "Glyphnab/shell/StatusController.h"
#include "Glyphnab/notice/NoticePresenter.h"
#include "Glyphnab/shell/Updater.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelKit/Formatting.h"
#include "ZantrelKit/RunModes.h"
#include "ZantrelUI/desktop/HotKeys.h"
#include "ZantrelUI/desktop/KeyboardLayout.h"
#include "platform/async/MainThread.h"
#include "platform/log/Log.h"
#include "text/WarmUp.h"

#include <QGuiApplication>
#include <QLocale>
#include <QTimer>

#include <utility>

namespace Glyphnab {
namespace {

const Platform::Logger& log() {
    static const Platform::Logger logger(QStringLiteral("app"));
    return logger;
}

QString languageCode(const QString& identifier) {
    return identifier.section(u'-', 0, 0).section(u'_', 0, 0).toLower();
}

// The current locale with its language replaced, so numbers keep the user's region.
QLocale formattingLocale(const QString& language) {
    const QLocale system = QLocale::system();
    const QLocale::Language chosen = QLocale(language).language();
    if (chosen == QLocale::C || chosen == QLocale::AnyLanguage)
        return QLocale(QLocale::English, system.territory());
    return QLocale(chosen, system.territory());
}

}  // namespace

QString preferredLocalization(const QStringList& available, const QStringList& userLanguages) {
    for (const QString& wanted : userLanguages) {
        const QString code = languageCode(wanted);
        for (const QString& offered : available)
            if (languageCode(offered) == code)
                return offered;
    }
    return available.isEmpty() ? QStringLiteral("en") : available.first();
}

AppDelegate::AppDelegate(DelegateParts parts, const QStringList& arguments, QObject* parent)
    : QObject(parent), parts_(std::move(parts)) {
    const ZantrelKit::OwnerConfig config;
    // The Info.plist names the app; a build without one still has an identity of its own.
    const QString bundleId = config.value(QStringLiteral("CFBundleIdentifier")).value_or(QStringLiteral("org.glyphnab.Glyphnab"));
    context_ = std::make_unique<ZantrelUI::AppContext>(bundleId, ZantrelKit::AccentPair::glyphnab, config, arguments,
                                                       ZantrelKit::ScriptedRun::isActive());
}

AppDelegate::~AppDelegate() {
    // The panels and windows reach the model: they go first.
    status_.reset();
    windows_.reset();
    bindings_.reset();
    if (model_) {
        model_->setNotice(nullptr);
        model_->setShimmer(nullptr);
    }
    notice_.reset();
    shimmer_.reset();
    model_.reset();
}

GlyphnabModel& AppDelegate::model() {
    if (!model_)
        model_ = parts_.model(*context_, [this] { releaseForRelaunch(); }, [this] { reclaimAfterRelaunch(); });
    return *model_;
}

NoticePresenter* AppDelegate::notice() {
    if (!notice_ && parts_.notice) {
        QPointer<AppDelegate> self(this);
        notice_ = parts_.notice([self]() -> NoticeModel* { return self ? &self->model() : nullptr; });
    }
    return notice_.get();
}

DelegateWindows* AppDelegate::windows() {
    if (!windows_) {
        if (!parts_.windows) {
            log().error(u"no windows in this build: the window was not opened");
            return nullptr;
        }
        windows_ = parts_.windows(model(), updater());
        if (windows_)
            windows_->setHotKeyBindings(bindings_.get());
    }
    return windows_.get();
}

Updater& AppDelegate::updater() { return parts_.updater ? parts_.updater() : Updater::shared(); }

ZantrelUI::HotKeys& AppDelegate::hotKeys() { return parts_.hotKeys ? parts_.hotKeys() : ZantrelUI::HotKeys::shared(); }

void AppDelegate::finishLaunching() {
    Platform::assertMain();
    if (std::exchange(launched_, true))
        return;

    // 1. The kit formats in the language of the app's texts.
    const QStringList available = parts_.localizations ? parts_.localizations() : QStringList{};
    const QStringList user = parts_.userLanguages ? parts_.userLanguages() : QLocale::system().uiLanguages();
    ZantrelKit::Formatting::setLocale(formattingLocale(preferredLocalization(available, user)));
    ZantrelUI::KeyboardLayout::installAsTypedTextSource();

    // 2. The main menu's command keys.
    QPointer<AppDelegate> self(this);
    const QString product = context_->product().name;
    menu_ = std::make_unique<MainMenu>(product, [self] {
        if (self)
            self->openSettings();
    });
    menu_->install();

    // 3. The updater starts with the app.
    updater();

    // 4. The model and its panels.
    GlyphnabModel& grabs = model();
    if (NoticePresenter* presenter = notice())
        grabs.setNotice(noticesOn(*presenter));
    if (parts_.shimmer) {
        shimmer_ = parts_.shimmer();
        grabs.setShimmer(shimmerOn(*shimmer_));
    }

    // 5. The actions find the model here.
    if (parts_.shareModel)
        parts_.shareModel(&grabs);
    else
        log().error(u"no actions in this build");

    // 6. The grant panel.
    grabs.setShowGrantPanel([self] {
        if (!self)
            return;
        if (DelegateWindows* windows = self->windows())
            windows->showGrant();
    });

    // 7. The status item.
    if (parts_.status)
        status_ = parts_.status(grabs, [self] {
            if (self)
                self->openSettings();
        });
    else
        log().error(u"no status item in this build");

    // 8 and 9. The hot keys, registered now and again whenever the shortcuts change.
    bindings_ = std::make_unique<HotKeyBindings>(grabs, hotKeys());
    if (windows_)
        windows_->setHotKeyBindings(bindings_.get());
    if (auto* controller = qobject_cast<StatusController*>(status_.get()))
        controller->setHotKeyBindings(bindings_.get());

    // 10. The Services entry and the rest of the bus interface.
    services_.model = &grabs;
    if (parts_.publish)
        parts_.publish(*this);
    else
        log().error(u"no bus interface in this build");

    // 11. Warm the recognizer once the desktop has settled.
    grabs.warmUp(ZantrelText::TextReader::warmUpDelay);

    // 12. The first window, if any.
    if (grabs.prefs().onboarded) {
        if (grabs.checkGrantAtLaunch())
            if (DelegateWindows* set = windows())
                set->showGrant();
    } else if (DelegateWindows* set = windows()) {
        set->showOnboarding(product, onboardingSize);
    }

    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive)
                didBecomeActive();
        });
}

void AppDelegate::openSettings() {
    Platform::assertMain();
    DelegateWindows* set = windows();
    if (!set)
        return;
    QString title = GlyphnabCore::Words::menuSettings();
    title.remove(QChar(0x2026));
    set->showSettings(title, settingsSize);
}

void AppDelegate::registerHotKeys() {
    Platform::assertMain();
    if (bindings_)
        bindings_->registerHotKeys();
}

bool AppDelegate::shouldHandleReopen() {
    Platform::assertMain();
    if (ZantrelKit::TestHost::isActive())
        return false;
    reopen();
    return false;
}

void AppDelegate::reopen() {
    Platform::assertMain();
    DelegateWindows* set = windows();
    if (!set)
        return;
    if (!model().prefs().showIcon)
        set->selection().setTab(SettingsTab::general);
    openSettings();
}

void AppDelegate::openURLs(const QList<QUrl>& urls) {
    Platform::assertMain();
    if (ZantrelKit::TestHost::isActive())
        return;
    openFiles(urls);
}

void AppDelegate::openFiles(const QList<QUrl>& urls) {
    Platform::assertMain();
    model().readFiles(urls);
}

void AppDelegate::chooseFiles() {
    Platform::assertMain();
    if (ZantrelKit::TestHost::isActive())
        return;
    QTimer::singleShot(0, this, [this] { model().pickFile(); });
}

void AppDelegate::didBecomeActive() {
    Platform::assertMain();
    if (ZantrelKit::TestHost::isActive())
        return;
    model().refreshGrant();
}

void AppDelegate::releaseForRelaunch() {
    if (parts_.releaseName)
        parts_.releaseName();
    hotKeys().hold(relaunchHold, true);
}

void AppDelegate::reclaimAfterRelaunch() {
    hotKeys().hold(relaunchHold, false);
    if (parts_.reclaimName)
        parts_.reclaimName();
}

}  // namespace Glyphnab
