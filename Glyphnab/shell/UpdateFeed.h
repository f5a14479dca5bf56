#pragma once

// The update feed: an RSS appcast whose items carry their versions in the sparkle
// namespace, read without a display. Deciding whether an item is newer than the running
// program is done here too, so the network side only fetches bytes.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QUrl>

#include <compare>
#include <expected>
#include <variant>
#include <vector>

namespace Glyphnab::UpdateFeed {

// Version texts ordered by their components: runs of digits compare as numbers ("1.10" is
// after "1.9"), missing trailing numbers count as zero ("1.0" equals "1.0.0"), and a word
// where the other text has ended or has a number marks a pre-release ("2.0b1" before "2.0").
std::strong_ordering compareVersions(QStringView a, QStringView b);

// A version text that can be compared: it starts with a digit once trimmed.
bool isUsableVersion(QStringView version);

struct Item {
    QString title;
    QString version;       // sparkle:version, on the enclosure or the item
    QString shortVersion;  // sparkle:shortVersionString, on the enclosure or the item
    QUrl page;             // where the user gets it: the item's link, else the enclosure's url

    // The version people read and the one compared with ours: the short version when the
    // item has one, else its version.
    QString releaseVersion() const { return shortVersion.isEmpty() ? version : shortVersion; }

    friend bool operator==(const Item&, const Item&) = default;
};

enum class FeedError {
    unreadable,  // not XML, or not an RSS channel
    noVersion,   // no item carries a usable version
};

// The items that carry a usable version, in feed order.
std::expected<std::vector<Item>, FeedError> parse(const QByteArray& xml);

// The item with the highest release version (the earlier one on a tie).
std::expected<Item, FeedError> newest(const QByteArray& xml);

// Feeds are fetched over https only; plain http is allowed to this machine alone.
bool feedAddressAllowed(const QUrl& url);
// The address names this machine: "localhost" or a loopback IP address.
bool isLoopback(const QUrl& url);
// A download page the desktop may open: an http or https address with a host.
bool pageAddressAllowed(const QUrl& url);

// What one check found.
struct UpToDate {
    QString installed;

    friend bool operator==(const UpToDate&, const UpToDate&) = default;
};
struct Available {
    Item item;
    QString installed;

    friend bool operator==(const Available&, const Available&) = default;
};
struct Failed {
    enum class Reason { network, refusedAddress, tooLarge, unreadable, noVersion };
    Reason reason;
    QString detail;  // the network's own error text, when there is one

    friend bool operator==(const Failed&, const Failed&) = default;
};
using Result = std::variant<UpToDate, Available, Failed>;

// A failure in a few plain words, for the log.
QString describe(const Failed& failed);

// The answer for a fetched feed body and the running program's version.
Result evaluate(const QByteArray& body, const QString& installed);

// Feeds larger than this are refused rather than held in memory.
inline constexpr qint64 maximumFeedBytes = 4 * 1024 * 1024;

}  // namespace Glyphnab::UpdateFeed
