#pragma once

// The one model of the app: every command (hot key, menu, drop, open, D-Bus, settings,
// onboarding) ends here. It holds the preferences, the recent grabs, the Screen
// Recording state and the busy guard, and runs the three roads of a grab: the screen,
// the clipboard and files. GUI thread only.

#include "Glyphnab/model/GlyphnabModelPanels.h"
#include "Glyphnab/notice/NoticePresenter.h"
#include "Glyphnab/model/PictureSource.h"
#include "Glyphnab/model/ReadProgress.h"
#include "Glyphnab/model/SystemCalls.h"
#include "GlyphnabCore/Outcome.h"
#include "GlyphnabCore/PageCut.h"
#include "GlyphnabCore/Preferences.h"
#include "GlyphnabCore/Recents.h"
#include "platform/log/Log.h"
#include "platform/screen/X11Capture.h"
#include "text/ImageInput.h"
#include "text/Input.h"
#include "text/ReadOptions.h"
#include "text/Reading.h"

#include <QByteArray>
#include <QCoroTask>
#include <QObject>
#include <QRectF>
#include <QUrl>

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>

namespace Platform {
class Clock;
class Pasteboard;
}
namespace ZantrelUI {
class AppContext;
}

namespace Glyphnab {

// What an App Shortcuts action reports instead of a notice.
struct IntentFailure : std::exception {
    explicit IntentFailure(QString text, ZantrelText::ImageInput::Problem why = {})
        : message(std::move(text)), problem(why), utf8_(message.toUtf8()) {}
    const char* what() const noexcept override { return utf8_.constData(); }
    QString message;
    // What was wrong with the file, when that is what failed.
    ZantrelText::ImageInput::Problem problem;

private:
    QByteArray utf8_;
};

// Where the model's waits and languages come from; empty members take the process's.
struct ModelAmbient {
    Platform::Clock* clock = nullptr;
    std::function<QStringList()> supportedLanguages;
    std::function<QStringList()> preferredLanguages;
};

class GlyphnabModel final : public QObject, public NoticeModel {
    Q_OBJECT
    Q_PROPERTY(GlyphnabCore::Preferences prefs READ prefs WRITE setPrefs NOTIFY prefsChanged)
    Q_PROPERTY(GlyphnabCore::Recents recents READ recents NOTIFY recentsChanged)
    Q_PROPERTY(bool screenAllowed READ screenAllowed NOTIFY screenAllowedChanged)
    Q_PROPERTY(bool screenRecordingAsked READ screenRecordingAsked NOTIFY screenRecordingAskedChanged)
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    Q_PROPERTY(Glyphnab::ReadProgress* progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(bool grantAgain READ grantAgain NOTIFY grantAgainChanged)
public:
    using Reader =
        std::function<QCoro::Task<ZantrelText::Reading>(QImage, ZantrelText::ReadOptions, std::stop_token)>;
    using Warmer = std::function<QCoro::Task<void>(ZantrelText::ReadOptions)>;

    using Ambient = ModelAmbient;

    // Where a grab stands once it has ended.
    enum class GrabEnd { delivered, stopped, captureFailed, readFailed };
    struct GrabResult {
        GrabEnd end = GrabEnd::stopped;
        std::optional<GlyphnabCore::Outcome> outcome;  // only when delivered
        QString captureFailure;                        // why, when the capture failed
    };

    static constexpr int pageLimit = 30;
    static constexpr std::chrono::milliseconds noticeGone{90};
    static constexpr std::chrono::milliseconds busyNoticeAfter{300};
    static constexpr std::chrono::seconds grantPollEvery{1};
    // A capture that has not answered by then is taken as failed.
    static constexpr std::chrono::seconds captureTimeLimit{10};

    // Under the test host, stops the process when given the live system calls or the
    // desktop's clipboard.
    GlyphnabModel(ZantrelUI::AppContext& context, std::shared_ptr<Platform::Pasteboard> pasteboard,
                  PictureSource pictures, SystemCalls system, Reader reader, Warmer warmer, Ambient ambient = {},
                  QObject* parent = nullptr);
    ~GlyphnabModel() override;

    // The live reader and warmer of the recognition engine.
    static Reader liveReader();
    static Warmer liveWarmer();

    // State.
    const GlyphnabCore::Preferences& prefs() const { return prefs_; }
    void setPrefs(const GlyphnabCore::Preferences& prefs);
    const GlyphnabCore::Recents& recents() const { return recents_; }
    void addRecent(const QString& text);
    void clearRecents();
    bool screenAllowed() const { return screenAllowed_; }
    bool screenRecordingAsked() const { return screenRecordingAsked_; }
    bool busy() const { return busy_; }
    bool picking() const { return picking_; }
    ReadProgress* progress() const { return progress_.get(); }
    bool grantAgain() const { return grantAgain_; }
    const std::optional<QRectF>& lastArea() const { return lastArea_; }
    const QStringList& supportedLanguages() const { return supportedLanguages_; }
    // The system's preferred languages, in its order, as recognition follows them.
    QStringList preferredLanguages() const { return preferredLanguages_(); }
    Platform::Pasteboard& pasteboard() const { return *pasteboard_; }
    const SystemCalls& system() const { return system_; }
    ZantrelUI::AppContext& context() const { return context_; }

    void setNotice(std::unique_ptr<NoticeShowing> notice) { notice_ = std::move(notice); }
    void setShimmer(std::unique_ptr<ShimmerPlaying> shimmer) { shimmer_ = std::move(shimmer); }
    void setShowGrantPanel(std::function<void()> show) { showGrantPanel_ = std::move(show); }

    // Screen Recording.
    void refreshGrant();
    bool checkGrantAtLaunch();
    void watchGrant(bool on);
    int grantWatchers() const { return watchers_; }
    bool pollingGrant() const { return grantPoll_.has_value(); }
    void askForScreenRecording();

    void warmUp(std::chrono::nanoseconds after);

    // The screen.
    void startGrab(bool other);
    void beginGrab(ZantrelText::LineMode mode);
    void grabSameArea();
    QCoro::Task<GrabResult> grabArea(QRectF area, ZantrelText::LineMode mode, std::stop_token stop);
    // Logs why the screen could not be read and says it in a failure notice.
    void showCaptureFailure(const QString& reason, Platform::CaptureFailure::Cause cause);

    // The clipboard and files.
    void read(const Platform::Pasteboard& board, std::optional<ZantrelText::LineMode> mode = {});
    void readFiles(const QList<QUrl>& urls);
    void pickFile();
    // The folder the file dialog opens in: the last one a file was picked from, else the
    // pictures folder, else home; a folder that has gone since counts as none.
    static QString pickStartFolder(const std::optional<QString>& last, const QString& pictures, const QString& home);
    void copyRecent(const QString& text);
    static std::optional<GlyphnabCore::PageCut> pageCut(const QList<QUrl>& files);
    // Throws IntentFailure; a stop through `stop` ends the reading.
    QCoro::Task<GlyphnabCore::Outcome> readForIntent(QList<QUrl> urls, std::stop_token stop = {});
    // What the busy notice says when a new command would be refused now; nothing when
    // the model is free.
    std::optional<QString> busyRefusal() const;
    // Throws IntentFailure; a stop through `stop` ends the grab like the notice's Stop.
    QCoro::Task<GlyphnabCore::Outcome> grabForIntent(ZantrelText::LineMode mode, double pickLimitSeconds,
                                                     std::stop_token stop = {});

    // The notice's view of the model.
    QString appName() const override;
    ZantrelUI::Accent accent() const override;
    void openLink(const QUrl& link) override;
    void copyToPasteboard(const QString& text) override;
    void cancelWork() override;
    void beginGrab(std::optional<ZantrelText::LineMode> mode) override;

Q_SIGNALS:
    // One event, delivered later on the GUI thread, for every real preferences change.
    void changed();
    void prefsChanged();
    void recentsChanged();
    void screenAllowedChanged();
    void screenRecordingAskedChanged();
    void busyChanged();
    void progressChanged();
    void grantAgainChanged();

private:
    enum class ReadEnd { read, stopped, failed };
    struct Recognized {
        ReadEnd end = ReadEnd::stopped;
        GlyphnabCore::Outcome outcome;
    };

    static bool checkTestHost(const SystemCalls& system, const Platform::Pasteboard* pasteboard);
    void prefsDidChange(const GlyphnabCore::Preferences& old);
    ZantrelText::ReadOptions readOptions(const GlyphnabCore::Preferences& prefs) const;
    void setBusy(bool busy);
    void setPicking(bool picking) { picking_ = picking; }
    void setProgress(std::shared_ptr<ReadProgress> progress);
    void setScreenAllowed(bool allowed);
    void setGrantAgain(bool again);
    void showNotice(const NoticeContent& content);
    bool hideNotice();
    void showBusyNotice();
    // A fresh stop source for a new command's work; cancelWork stops it.
    std::stop_token beginWork();

    QCoro::Task<void> pickRoad(ZantrelText::LineMode mode, std::stop_token stop);
    QCoro::Task<void> sameAreaRoad(QRectF area, std::stop_token stop);
    QCoro::Task<std::optional<GlyphnabCore::Outcome>> recognizeInputs(
        QList<ZantrelText::Input> inputs, ZantrelText::LineMode mode, bool markBusy, GrabSource source,
        std::optional<GlyphnabCore::PageCut> pageCut, std::stop_token stop, bool* readFailed = nullptr);
    QCoro::Task<Recognized> readInputs(QList<ZantrelText::Input> inputs, ZantrelText::LineMode mode,
                                       ReadProgress* progress, std::stop_token stop);
    QCoro::Task<void> delayedBusyNotice(std::shared_ptr<ReadProgress> progress);
    void finishWork(bool markBusy, const std::shared_ptr<ReadProgress>& progress);
    QCoro::Task<void> boardRoad(std::shared_ptr<Platform::Pasteboard> snapshot,
                                std::optional<ZantrelText::LineMode> mode, std::stop_token stop);
    QCoro::Task<void> filesRoad(QList<QUrl> urls, std::stop_token stop);
    // The grab intent under the clipboard route: the clipboard's picture read as the
    // shortcut reads it. Throws IntentFailure.
    QCoro::Task<GlyphnabCore::Outcome> clipboardForIntent(ZantrelText::LineMode mode, std::stop_token stop);
    QCoro::Task<void> pollGrant(std::stop_token stop);

    // First, so that the test-host stops come before anything is stored.
    const bool hostChecked_;
    ZantrelUI::AppContext& context_;
    std::shared_ptr<Platform::Pasteboard> pasteboard_;
    PictureSource pictures_;
    SystemCalls system_;
    Reader reader_;
    Warmer warmer_;
    Platform::Clock& clock_;
    std::function<QStringList()> preferredLanguages_;
    std::optional<QCoro::Task<void>> warming_;
    std::stop_source warmingStop_;
    QStringList supportedLanguages_;
    Platform::Logger log_;
    GlyphnabCore::Preferences prefs_;
    GlyphnabCore::Recents recents_;
    bool screenAllowed_ = false;
    bool screenRecordingAsked_ = false;
    bool busy_ = false;
    std::shared_ptr<ReadProgress> progress_;
    std::stop_source work_;
    bool picking_ = false;
    std::optional<QRectF> lastArea_;
    std::optional<QString> pickFolder_;
    std::unique_ptr<NoticeShowing> notice_;
    std::unique_ptr<ShimmerPlaying> shimmer_;
    std::function<void()> showGrantPanel_ = [] {};
    std::optional<std::stop_source> grantPoll_;
    int watchers_ = 0;
    std::optional<bool> watch_;
    bool grantAgain_ = false;
};

}  // namespace Glyphnab
