#pragma once

// The application delegate: owns the process's objects, wires them together at launch in
// a fixed order, and answers what the desktop asks of the running app (reopen, files
// opened with it, becoming active). GUI thread only.

#include "Glyphnab/shell/ServiceProvider.h"
#include "Glyphnab/windows/SettingsSelection.h"
#include "ZantrelUI/context/AppContext.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>

namespace ZantrelUI {
class HotKeys;
}

namespace Glyphnab {

class AppDelegate;
class GlyphnabModel;
class GrabShimmer;
class HotKeyBindings;
class MainMenu;
class NoticeModel;
class NoticePresenter;
class Updater;

// The windows the delegate opens: the app's window set in the program.
class DelegateWindows {
public:
    virtual ~DelegateWindows() = default;
    virtual void showGrant() = 0;
    virtual void showSettings(const QString& title, QSize size) = 0;
    virtual void showOnboarding(const QString& title, QSize size) = 0;
    virtual SettingsSelection& selection() = 0;
    // The registered hot keys, for the Settings window to show which ones the desktop refused.
    virtual void setHotKeyBindings(const HotKeyBindings*) {}
};

// What the delegate builds the app from. `live()` gives the program's parts; tests give
// their own. An empty part is one this build does not have yet: its step is logged and
// skipped.
struct DelegateParts {
    // The one model over the context. `release` and `reclaim` give up and take back the
    // process's bus name and hot-key grabs around a relaunch.
    std::function<std::unique_ptr<GlyphnabModel>(ZantrelUI::AppContext& context, std::function<void()> release,
                                                 std::function<void()> reclaim)>
        model;
    std::function<std::unique_ptr<NoticePresenter>(std::function<NoticeModel*()> model)> notice;
    std::function<std::unique_ptr<GrabShimmer>()> shimmer;
    std::function<std::unique_ptr<DelegateWindows>(GlyphnabModel& model, Updater& updater)> windows;
    // The status item and its menu.
    std::function<std::unique_ptr<QObject>(GlyphnabModel& model, std::function<void()> openSettings)> status;
    // Stores the weak process-wide reference that the actions read.
    std::function<void(GlyphnabModel* model)> shareModel;
    std::function<ZantrelUI::HotKeys&()> hotKeys;
    std::function<Updater&()> updater;
    // Exports the bus object that carries the Services entry, the actions, open and reopen;
    // the delegate is launched (its model is there) by then.
    std::function<void(AppDelegate& delegate)> publish;
    // Gives up and takes back the bus name (around a relaunch).
    std::function<void()> releaseName;
    std::function<void()> reclaimName;
    // The languages the app's texts come in, and the user's, in order of preference.
    std::function<QStringList()> localizations;
    std::function<QStringList()> userLanguages;

    static DelegateParts live();
};

// The first of the app's localizations that the user prefers, else the first of the
// app's own, else "en". Languages match by their language code ("de-CH" takes "de").
QString preferredLocalization(const QStringList& available, const QStringList& userLanguages);

class AppDelegate final : public QObject {
    Q_OBJECT
public:
    static constexpr QSize settingsSize{640, 520};
    static constexpr QSize onboardingSize{580, 530};
    // Hot keys held while a relaunch gives them to the new instance.
    static inline const QString relaunchHold = QStringLiteral("relaunch");

    // `arguments`: the process's command line, program first.
    AppDelegate(DelegateParts parts, const QStringList& arguments, QObject* parent = nullptr);
    ~AppDelegate() override;

    ZantrelUI::AppContext& context() { return *context_; }
    // Made on first use.
    GlyphnabModel& model();
    NoticePresenter* notice();
    DelegateWindows* windows();
    const MainMenu* mainMenu() const { return menu_.get(); }
    QObject* status() const { return status_.get(); }
    // The Services entry: holds the model weakly from launch on.
    ServiceProvider& services() { return services_; }

    // The launch, in its fixed order; once.
    void finishLaunching();

    void openSettings();
    void registerHotKeys();

    // The desktop's requests. Under the test host each answers false and does nothing.
    bool shouldHandleReopen();
    void openURLs(const QList<QUrl>& urls);
    void didBecomeActive();
    static bool shouldTerminateAfterLastWindowClosed() { return false; }

    // What a reopen does: Settings, on the General tab when the status item is hidden.
    void reopen();
    // What files opened with the app do: the model reads them.
    void openFiles(const QList<QUrl>& urls);
    // The launcher's "Read Text in a File": the open dialog of "Text from File…", from a
    // fresh turn of the event loop so the request that asked is answered first.
    void chooseFiles();

private:
    void releaseForRelaunch();
    void reclaimAfterRelaunch();
    ZantrelUI::HotKeys& hotKeys();
    Updater& updater();

    DelegateParts parts_;
    std::unique_ptr<ZantrelUI::AppContext> context_;
    std::unique_ptr<GlyphnabModel> model_;
    std::unique_ptr<NoticePresenter> notice_;
    std::unique_ptr<GrabShimmer> shimmer_;
    std::unique_ptr<QObject> status_;
    std::unique_ptr<DelegateWindows> windows_;
    std::unique_ptr<MainMenu> menu_;
    std::unique_ptr<HotKeyBindings> bindings_;
    ServiceProvider services_;
    bool launched_ = false;
};

}  // namespace Glyphnab
