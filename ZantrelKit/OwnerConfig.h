#pragma once

// The app's Info.plist reduced to its text values, with one rule for what counts as a
// configured value.

#include <QHash>
#include <QString>
#include <QVariantMap>

#include <optional>

namespace ZantrelKit {

class OwnerConfig {
public:
    // The app's own Info.plist (in the data folder); empty when there is none.
    OwnerConfig();
    // Keeps the entries whose value is a text; numbers, booleans, lists and the rest are dropped.
    explicit OwnerConfig(const QVariantMap& info);

    const QHash<QString, QString>& info() const { return info_; }

    // The text under the key, or nothing when it is missing, empty or holds "PLACEHOLDER".
    std::optional<QString> value(const QString& key) const;

    // Both the update feed and its signing key are configured.
    bool updatesConfigured() const;

    friend bool operator==(const OwnerConfig&, const OwnerConfig&) = default;

private:
    QHash<QString, QString> info_;
};

// The product description of an Info.plist.
struct Product {
    QString name;     // "CFBundleDisplayName", else "CFBundleName", else "?"
    QString boxName;  // the family's name: "ZNBoxName", else "?"

    explicit Product(const OwnerConfig& config);

    friend bool operator==(const Product&, const Product&) = default;
};

}  // namespace ZantrelKit
