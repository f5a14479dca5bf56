#include "Glyphnab/shell/UpdateFeed.h"

#include <QHostAddress>
#include <QXmlStreamReader>

#include <algorithm>
#include <optional>

namespace Glyphnab::UpdateFeed {
namespace {

constexpr QLatin1StringView sparkleNamespace("http://www.andymatuschak.org/xml-namespaces/sparkle");

// One piece of a version text: a run of digits or a run of other non-separator characters.
struct Token {
    bool number = false;
    QStringView text;
};

bool isSeparator(QChar c) {
    return c == u'.' || c == u'-' || c == u'_' || c == u'+' || c == u' ';
}

std::vector<Token> tokens(QStringView version) {
    std::vector<Token> list;
    const QStringView trimmed = version.trimmed();
    qsizetype i = 0;
    while (i < trimmed.size()) {
        if (isSeparator(trimmed[i])) {
            ++i;
            continue;
        }
        const bool number = trimmed[i].isDigit();
        const qsizetype start = i;
        while (i < trimmed.size() && !isSeparator(trimmed[i]) && trimmed[i].isDigit() == number)
            ++i;
        list.push_back({number, trimmed.mid(start, i - start)});
    }
    return list;
}

// Digit runs of any length: leading zeros dropped, then longer is larger, then by text.
std::strong_ordering compareNumbers(QStringView a, QStringView b) {
    const auto strip = [](QStringView s) {
        qsizetype i = 0;
        while (i + 1 < s.size() && s[i] == u'0')
            ++i;
        return s.mid(i);
    };
    const QStringView x = strip(a);
    const QStringView y = strip(b);
    if (x.size() != y.size())
        return x.size() <=> y.size();
    const int c = x.compare(y);
    return c <=> 0;
}

std::strong_ordering compareWords(QStringView a, QStringView b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c <=> 0;
}

// A version that has ended against what the other one goes on with: more numbers make the
// other one later unless they are all zero; a word makes it earlier (a pre-release).
std::strong_ordering compareTail(const std::vector<Token>& rest, std::size_t from) {
    for (std::size_t i = from; i < rest.size(); ++i) {
        if (!rest[i].number)
            return std::strong_ordering::less;
        if (compareNumbers(rest[i].text, u"0") != 0)
            return std::strong_ordering::greater;
    }
    return std::strong_ordering::equal;
}

QString sparkleAttribute(const QXmlStreamAttributes& attributes, QLatin1StringView name) {
    return attributes.value(sparkleNamespace, name).toString().trimmed();
}

std::optional<QUrl> allowedPage(const QString& text) {
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (url.isValid() && pageAddressAllowed(url))
        return url;
    return std::nullopt;
}

Item readItem(QXmlStreamReader& reader) {
    Item item;
    QString link;
    QString enclosureUrl;
    QString enclosureVersion;
    QString enclosureShortVersion;
    while (reader.readNextStartElement()) {
        const QStringView ns = reader.namespaceUri();
        const QStringView name = reader.name();
        if (ns.isEmpty() && name == u"title") {
            item.title = reader.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        } else if (ns.isEmpty() && name == u"link") {
            link = reader.readElementText(QXmlStreamReader::SkipChildElements);
        } else if (ns.isEmpty() && name == u"enclosure") {
            const QXmlStreamAttributes attributes = reader.attributes();
            enclosureUrl = attributes.value(QLatin1StringView("url")).toString();
            enclosureVersion = sparkleAttribute(attributes, QLatin1StringView("version"));
            enclosureShortVersion = sparkleAttribute(attributes, QLatin1StringView("shortVersionString"));
            reader.skipCurrentElement();
        } else if (ns == sparkleNamespace && name == u"version") {
            item.version = reader.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        } else if (ns == sparkleNamespace && name == u"shortVersionString") {
            item.shortVersion = reader.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        } else {
            // Deltas hold enclosures of their own that are not this item's.
            reader.skipCurrentElement();
        }
    }
    if (item.version.isEmpty())
        item.version = enclosureVersion;
    if (item.shortVersion.isEmpty())
        item.shortVersion = enclosureShortVersion;
    if (!isUsableVersion(item.shortVersion))
        item.shortVersion.clear();
    if (!isUsableVersion(item.version))
        item.version.clear();
    item.page = allowedPage(link).value_or(allowedPage(enclosureUrl).value_or(QUrl()));
    return item;
}

}  // namespace

std::strong_ordering compareVersions(QStringView a, QStringView b) {
    const std::vector<Token> x = tokens(a);
    const std::vector<Token> y = tokens(b);
    const std::size_t common = std::min(x.size(), y.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (x[i].number && y[i].number) {
            if (const auto c = compareNumbers(x[i].text, y[i].text); c != 0)
                return c;
        } else if (x[i].number != y[i].number) {
            // "2.0.1" against "2.0b1": the number goes on with the release, the word is before it.
            return x[i].number ? std::strong_ordering::greater : std::strong_ordering::less;
        } else if (const auto c = compareWords(x[i].text, y[i].text); c != 0) {
            return c;
        }
    }
    if (x.size() > common)
        return compareTail(x, common);
    if (y.size() > common)
        return 0 <=> compareTail(y, common);
    return std::strong_ordering::equal;
}

bool isUsableVersion(QStringView version) {
    const QStringView trimmed = version.trimmed();
    return !trimmed.isEmpty() && trimmed.front().isDigit();
}

std::expected<std::vector<Item>, FeedError> parse(const QByteArray& xml) {
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || !reader.namespaceUri().isEmpty() || reader.name() != u"rss")
        return std::unexpected(FeedError::unreadable);
    bool channel = false;
    std::vector<Item> items;
    while (reader.readNextStartElement()) {
        if (reader.name() != u"channel" || !reader.namespaceUri().isEmpty()) {
            reader.skipCurrentElement();
            continue;
        }
        channel = true;
        while (reader.readNextStartElement()) {
            if (reader.name() == u"item" && reader.namespaceUri().isEmpty()) {
                Item item = readItem(reader);
                if (!item.releaseVersion().isEmpty())
                    items.push_back(std::move(item));
            } else {
                reader.skipCurrentElement();
            }
        }
    }
    // A feed cut short or broken anywhere is not trusted in part.
    if (reader.hasError() || !channel)
        return std::unexpected(FeedError::unreadable);
    return items;
}

std::expected<Item, FeedError> newest(const QByteArray& xml) {
    const std::expected<std::vector<Item>, FeedError> items = parse(xml);
    if (!items)
        return std::unexpected(items.error());
    if (items->empty())
        return std::unexpected(FeedError::noVersion);
    const Item* best = &items->front();
    for (const Item& item : *items)
        if (compareVersions(item.releaseVersion(), best->releaseVersion()) > 0)
            best = &item;
    return *best;
}

bool feedAddressAllowed(const QUrl& url) {
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == u"https")
        return true;
    return scheme == u"http" && isLoopback(url);
}

bool isLoopback(const QUrl& url) {
    if (url.host().compare(u"localhost", Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(url.host());
    return !address.isNull() && address.isLoopback();
}

bool pageAddressAllowed(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == u"https" || scheme == u"http");
}

QString describe(const Failed& failed) {
    switch (failed.reason) {
    case Failed::Reason::network:
        return failed.detail.isEmpty() ? QStringLiteral("network error") : failed.detail;
    case Failed::Reason::refusedAddress:
        return QStringLiteral("redirected to a refused address");
    case Failed::Reason::tooLarge:
        return QStringLiteral("feed too large");
    case Failed::Reason::unreadable:
        return QStringLiteral("feed unreadable");
    case Failed::Reason::noVersion:
        return QStringLiteral("no version in the feed");
    }
    return QStringLiteral("unknown");
}

Result evaluate(const QByteArray& body, const QString& installed) {
    const std::expected<Item, FeedError> item = newest(body);
    if (!item) {
        const auto reason =
            item.error() == FeedError::noVersion ? Failed::Reason::noVersion : Failed::Reason::unreadable;
        return Failed{reason, {}};
    }
    if (compareVersions(item->releaseVersion(), installed) > 0)
        return Available{*item, installed};
    return UpToDate{installed};
}

}  // namespace Glyphnab::UpdateFeed
