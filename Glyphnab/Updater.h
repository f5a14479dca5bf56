#pragma once

// The app's update check. It runs only when the Info.plist names a feed and a public
// key; otherwise it stays idle and `canCheck` stays false.

#include "ZantrelKit/OwnerConfig.h"

#include <QObject>

namespace Glyphnab {

class Updater final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool canCheck READ canCheck NOTIFY canCheckChanged)
public:
    explicit Updater(const ZantrelKit::OwnerConfig& config, QObject* parent = nullptr);
    ~Updater() override;

    // The process's updater, made on first use from the app context's Info.plist.
    static Updater& shared();

    // Both "SUFeedURL" and "SUPublicEDKey" are set.
    bool configured() const { return configured_; }
    bool canCheck() const { return canCheck_; }

    // The user's check; does nothing when updates are not configured.
    void checkForUpdates();

Q_SIGNALS:
    void canCheckChanged(bool canCheck);

private:
    void setCanCheck(bool canCheck);

    bool configured_ = false;
    bool canCheck_ = false;
};

}  // namespace Glyphnab
