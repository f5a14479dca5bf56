#pragma once

// The app's window set: the Settings window, the first-run window and the Screen
// Recording grant panel, the selected settings tab, and the builders of their contents.
// One per process, owned by the application delegate. A window is made on first show and
// kept after closing; its content is built afresh each time it is shown again.

#include "Glyphnab/windows/SettingsSelection.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace ZantrelKit {
class DefaultsStore;
}
namespace ZantrelUI {
class GlassWindow;
}

namespace Glyphnab {

class GlyphnabModel;
class HotKeyBindings;
class Updater;

class AppWindows final : public QObject {
    Q_OBJECT
public:
    static constexpr int settingsWidth = 640;
    static constexpr int settingsHeight = 520;

    AppWindows(GlyphnabModel& model, Updater& updater, QObject* parent = nullptr);
    ~AppWindows() override;

    GlyphnabModel& model() const { return model_; }
    Updater& updater() const { return updater_; }
    ZantrelUI::GlassWindow& settings() const { return *settings_; }
    ZantrelUI::GlassWindow& onboarding() const { return *onboarding_; }
    ZantrelUI::GlassWindow& grant() const { return *grant_; }
    SettingsSelection& selection() const { return *selection_; }
    // The registered hot keys, whose refused shortcuts the Shortcuts tab shows; none until
    // the app has registered them.
    void setHotKeyBindings(const HotKeyBindings* bindings);
    const HotKeyBindings* hotKeyBindings() const;

    // Opens the grant panel, or brings it to the front unchanged.
    void showGrant();
    void closeGrant();
    // Opens the Settings window ("<app> Settings", 640 × 520).
    void showSettings();
    // Opens the first-run window (titled with the app's name, 580 × 530).
    void showOnboarding();
    // Opening the app again: with the tray icon hidden the General tab comes first, so the
    // user lands where the icon can be turned back on.
    void reopen();

    // The contents, each made with the app's accent.
    QWidget* grantRoot(QWidget* parent = nullptr);
    QWidget* onboardingRoot(QWidget* parent = nullptr);
    QWidget* settingsRoot(QWidget* parent = nullptr);

    // Marks the first run finished (through the model, so it is saved), forgets the
    // resume step and closes the first-run window.
    void finishOnboarding();

    // The stored resume step within 0 to 2; a missing or unreadable value is 0.
    static int resumeStep(const ZantrelKit::DefaultsStore& defaults);
    // "Settings…" without its ellipsis.
    static QString settingsTitle(const QString& appName);
    static QString grantTitle();

private:
    GlyphnabModel& model_;
    Updater& updater_;
    ZantrelUI::GlassWindow* settings_;
    ZantrelUI::GlassWindow* onboarding_;
    ZantrelUI::GlassWindow* grant_;
    SettingsSelection* selection_;
    QPointer<const HotKeyBindings> bindings_;
};

}  // namespace Glyphnab
