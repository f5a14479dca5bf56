#include "ZantrelUI/context/AppContext.h"

#include "ZantrelKit/DataFolder.h"
#include "ZantrelKit/PropertyList.h"
#include "ZantrelKit/RunModes.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <atomic>

namespace ZantrelUI {
namespace {

// Weakly held: the delegate owns the context, this only points at it while it lives.
std::atomic<AppContext*> currentContext{nullptr};

QString appFolderName(const QString& bundleId) {
    const QString last = bundleId.section(u'.', -1);
    return last.isEmpty() ? QStringLiteral("Glyphnab") : last;
}

QVariantMap mainInfo() {
    static const QVariantMap info = [] {
        const std::optional<QString> path = ZantrelKit::infoPlistPath();
        if (!path)
            return QVariantMap{};
        return ZantrelKit::PropertyList::readFile(*path).value_or(QVariantMap{});
    }();
    return info;
}

QString textOr(const QVariantMap& info, const QString& key, const QString& fallback) {
    const auto found = info.constFind(key);
    if (found == info.constEnd() || found->typeId() != QMetaType::QString)
        return fallback;
    return found->toString();
}

}  // namespace

std::unique_ptr<ZantrelKit::SettingsDefaultsStore> standardDefaults(const QString& bundleId) {
    const QString name = appFolderName(bundleId);
    return std::make_unique<ZantrelKit::SettingsDefaultsStore>(name, name);
}

std::unique_ptr<ZantrelKit::SettingsDefaultsStore> suiteDefaults(const QString& suitePath) {
    if (suitePath.isEmpty())
        return nullptr;
    const QFileInfo file(suitePath);
    if (file.isDir() || !QDir().mkpath(file.absolutePath()))
        return nullptr;
    auto store = std::make_unique<ZantrelKit::SettingsDefaultsStore>(suitePath);
    {
        const QSettings probe(suitePath, QSettings::IniFormat);
        if (probe.status() != QSettings::NoError)
            return nullptr;
    }
    return store;
}

AppContext::AppContext(QString bundleId, const ZantrelKit::AccentPair& accent, ZantrelKit::OwnerConfig info,
                       const QStringList& arguments, bool scripted)
    : bundleId_(std::move(bundleId)),
      config_(std::move(info)),
      product_(config_),
      accent_(accent),
      folders_(ZantrelKit::StoreFolders::resolve(bundleId_, arguments, scripted, ZantrelKit::TestHost::isActive())) {
    if (folders_.defaultsSuite) {
        if (auto suite = suiteDefaults(*folders_.defaultsSuite)) {
            defaults_ = std::move(suite);
            standardDefaults_ = false;
        }
    }
    if (!defaults_)
        defaults_ = standardDefaults(bundleId_);
    currentContext.store(this);
}

AppContext::~AppContext() {
    // Only a context that is still the current one clears it; a newer one stays current.
    AppContext* self = this;
    currentContext.compare_exchange_strong(self, nullptr);
}

AppContext* AppContext::current() { return currentContext.load(); }

QString AppContext::shortVersion() const { return appShortVersion(); }
QString AppContext::buildNumber() const { return appBuildNumber(); }

QString appShortVersion(const QVariantMap& info) {
    return textOr(info, QStringLiteral("CFBundleShortVersionString"), QStringLiteral("1.0"));
}
QString appShortVersion() { return appShortVersion(mainInfo()); }

QString appBuildNumber(const QVariantMap& info) { return textOr(info, QStringLiteral("CFBundleVersion"), {}); }
QString appBuildNumber() { return appBuildNumber(mainInfo()); }

}  // namespace ZantrelUI
