#include "ZantrelKit/documents/LinkCleaner.h"

#include <QSet>

#include <algorithm>

namespace ZantrelKit::LinkCleaner {
namespace {

const QSet<QString>& trackingSet() {
    static const QSet<QString> names = [] {
        QSet<QString> set;
        set.reserve(qsizetype(trackingNames.size()));
        for (const std::string_view name : trackingNames)
            set.insert(QString::fromLatin1(name.data(), qsizetype(name.size())));
        return set;
    }();
    return names;
}

// The query's items as they are encoded; nothing for a link without a query.
QStringList encodedItems(const QUrl& url) {
    if (!url.isValid() || !url.hasQuery())
        return {};
    return url.query(QUrl::FullyEncoded).split(u'&');
}

// A server reads "utm%5Fsource" as utm_source, so names are judged decoded.
bool isTrackingItem(const QString& encodedItem) {
    const QString encodedName = encodedItem.section(u'=', 0, 0);
    return isTracking(QUrl::fromPercentEncoding(encodedName.toUtf8()));
}

}  // namespace

bool isTracking(QStringView name) {
    const QString lowered = name.toString().toLower();
    return lowered.startsWith(QLatin1String("utm_")) || trackingSet().contains(lowered);
}

std::int64_t trackerCount(const QUrl& url) {
    const QStringList items = encodedItems(url);
    return std::count_if(items.begin(), items.end(), isTrackingItem);
}

QUrl clean(const QUrl& url) {
    const QStringList items = encodedItems(url);
    if (items.isEmpty())
        return url;
    QStringList kept;
    for (const QString& item : items)
        if (!isTrackingItem(item))
            kept.append(item);
    if (kept.size() == items.size())
        return url;
    QUrl cleaned = url;
    if (kept.isEmpty())
        cleaned.setQuery(QString());
    else
        cleaned.setQuery(kept.join(u'&'), QUrl::StrictMode);
    return cleaned.isValid() ? cleaned : url;
}

}  // namespace ZantrelKit::LinkCleaner
