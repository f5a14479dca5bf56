#pragma once

// The app's update check. It runs only when the Info.plist names a feed and a public
// key; otherwise it stays idle and `canCheck` stays false. A configured updater looks at
// the feed a minute after start and then once a day, and speaks up only when a newer
// version is out; the user's check shows its own small window with whatever it finds.
// Nothing is downloaded or installed: a new version's page is opened on request.

#include "Glyphnab/shell/UpdateFeed.h"
#include "ZantrelKit/OwnerConfig.h"

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <chrono>
#include <optional>
#include <stop_token>

class QNetworkAccessManager;
class QNetworkReply;

namespace Glyphnab {

class UpdateDialog;

class Updater final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool canCheck READ canCheck NOTIFY canCheckChanged)
public:
    // When the background checks run (on the shared clock).
    struct Schedule {
        std::chrono::nanoseconds first = std::chrono::minutes(1);
        std::chrono::nanoseconds every = std::chrono::hours(24);
    };

    // Configured, it starts the background checks on the standard schedule.
    explicit Updater(const ZantrelKit::OwnerConfig& config, QObject* parent = nullptr);
    // Configured, it runs background checks only when given a schedule.
    Updater(const ZantrelKit::OwnerConfig& config, std::optional<Schedule> schedule, QObject* parent = nullptr);
    ~Updater() override;

    // The process's updater, made on first use from the app context's Info.plist and
    // owned by the application object.
    static Updater& shared();

    // Both "SUFeedURL" and "SUPublicEDKey" are set, and the feed is an https address (or
    // plain http to this machine).
    bool configured() const { return configured_; }
    // Configured and no check running.
    bool canCheck() const { return canCheck_; }

    // The user's check; does nothing when updates are not configured. Joins a background
    // check that is already running.
    void checkForUpdates();

    const QUrl& feed() const { return feed_; }
    // The running program's version that feeds are compared with.
    const QString& installedVersion() const { return installed_; }
    // The window of the user's checks, once one was shown.
    UpdateDialog* dialog() const { return dialog_; }

Q_SIGNALS:
    void canCheckChanged(bool canCheck);
    // Every check's answer, the user's and the background ones.
    void checkFinished(const Glyphnab::UpdateFeed::Result& result);

private:
    void startCheck(bool userAsked);
    void finishCheck(QNetworkReply* reply);
    void setCanCheck(bool canCheck);
    UpdateDialog& ensureDialog();

    bool configured_ = false;
    bool canCheck_ = false;
    QUrl feed_;
    QString installed_;
    QString appName_;
    QNetworkAccessManager* network_ = nullptr;
    QPointer<QNetworkReply> reply_;
    bool userAsked_ = false;
    bool refused_ = false;
    bool tooLarge_ = false;
    QString announced_;  // the newest version a background check already told about
    UpdateDialog* dialog_ = nullptr;
    std::stop_source schedule_;
};

}  // namespace Glyphnab
