#pragma once

// The one per-process description of the running app: who it is, what its Info.plist
// says, its accent, where it keeps state and its defaults store. The application delegate
// makes it first thing; any code reaches it afterwards through `current()`.

#include "ZantrelKit/AccentPair.h"
#include "ZantrelKit/DefaultsStore.h"
#include "ZantrelKit/OwnerConfig.h"
#include "ZantrelKit/StoreFolders.h"
#include "ZantrelUI/context/Appearance.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <memory>

namespace ZantrelUI {

class AppContext final {
public:
    // `scripted` marks an automated run, whose state lives under "--state-dir".
    AppContext(QString bundleId, const ZantrelKit::AccentPair& accent, ZantrelKit::OwnerConfig info,
               const QStringList& arguments, bool scripted = false);
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    // The most recently made context that still exists; none before the first and after
    // it is gone.
    static AppContext* current();

    const QString& bundleId() const { return bundleId_; }
    const ZantrelKit::OwnerConfig& config() const { return config_; }
    const ZantrelKit::Product& product() const { return product_; }
    const Accent& accent() const { return accent_; }
    const ZantrelKit::StoreFolders& folders() const { return folders_; }
    ZantrelKit::DefaultsStore& defaults() const { return *defaults_; }
    // True when the defaults are the app's standard file rather than the named suite.
    bool usesStandardDefaults() const { return standardDefaults_; }

    QString shortVersion() const;
    QString buildNumber() const;

private:
    QString bundleId_;
    ZantrelKit::OwnerConfig config_;
    ZantrelKit::Product product_;
    Accent accent_;
    ZantrelKit::StoreFolders folders_;
    std::unique_ptr<ZantrelKit::DefaultsStore> defaults_;
    bool standardDefaults_ = true;
};

// The app's standard defaults file: ~/.config/<app name>/<app name>.ini, the app name being
// the bundle identifier's last component.
std::unique_ptr<ZantrelKit::SettingsDefaultsStore> standardDefaults(const QString& bundleId);

// The suite's store, or nothing when its folder cannot be made or the file is unusable.
std::unique_ptr<ZantrelKit::SettingsDefaultsStore> suiteDefaults(const QString& suitePath);

// The Info.plist's "CFBundleShortVersionString" when it is a text, else "1.0".
QString appShortVersion();
QString appShortVersion(const QVariantMap& info);
// The Info.plist's "CFBundleVersion" when it is a text, else the empty text.
QString appBuildNumber();
QString appBuildNumber(const QVariantMap& info);

}  // namespace ZantrelUI
