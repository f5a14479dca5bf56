#include "ZantrelKit/OwnerConfig.h"

#include "ZantrelKit/DataFolder.h"
#include "ZantrelKit/PropertyList.h"

#include <QMetaType>

namespace ZantrelKit {

OwnerConfig::OwnerConfig() {
    const std::optional<QString> path = infoPlistPath();
    if (!path)
        return;
    if (const std::optional<QVariantMap> info = PropertyList::readFile(*path))
        *this = OwnerConfig(*info);
}

OwnerConfig::OwnerConfig(const QVariantMap& info) {
    for (auto it = info.begin(); it != info.end(); ++it)
        if (it.value().metaType() == QMetaType::fromType<QString>())
            info_.insert(it.key(), it.value().toString());
}

std::optional<QString> OwnerConfig::value(const QString& key) const {
    const auto it = info_.constFind(key);
    if (it == info_.constEnd())
        return std::nullopt;
    if (it->isEmpty() || it->contains(QLatin1StringView("PLACEHOLDER"), Qt::CaseSensitive))
        return std::nullopt;
    return *it;
}

bool OwnerConfig::updatesConfigured() const {
    if (info_.isEmpty())
        return false;
    return value(QStringLiteral("SUFeedURL")).has_value() &&
           value(QStringLiteral("SUPublicEDKey")).has_value();
}

Product::Product(const OwnerConfig& config)
    : name(config.value(QStringLiteral("CFBundleDisplayName"))
               .value_or(config.value(QStringLiteral("CFBundleName")).value_or(QStringLiteral("?")))),
      boxName(config.value(QStringLiteral("ZNBoxName")).value_or(QStringLiteral("?"))) {}

}  // namespace ZantrelKit
