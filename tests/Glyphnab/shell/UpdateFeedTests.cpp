#include "Glyphnab/windows/UpdateDialog.h"
#include "Glyphnab/shell/UpdateFeed.h"

#include <gtest/gtest.h>

namespace Glyphnab {
namespace {

using namespace UpdateFeed;

QByteArray feed(const QByteArray& items) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<rss version=\"2.0\" xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">"
           "<channel><title>Glyphnab</title>" +
           items + "</channel></rss>";
}

QByteArray item(const QByteArray& shortVersion, const QByteArray& link = "https://glyphnab.org/download") {
    return "<item><title>Glyphnab " + shortVersion + "</title><link>" + link +
           "</link><sparkle:shortVersionString>" + shortVersion + "</sparkle:shortVersionString></item>";
}

int order(QStringView a, QStringView b) {
    const std::strong_ordering o = compareVersions(a, b);
    return o < 0 ? -1 : o > 0 ? 1 : 0;
}

TEST(UpdateVersions, ComponentsCompareAsNumbers) {
    EXPECT_EQ(order(u"1.10", u"1.9"), 1);
    EXPECT_EQ(order(u"1.9", u"1.10"), -1);
    EXPECT_EQ(order(u"2.0", u"1.99.99"), 1);
    EXPECT_EQ(order(u"1.0", u"1.0.0"), 0);
    EXPECT_EQ(order(u"1.0.0", u"1"), 0);
    EXPECT_EQ(order(u"1.0", u"1.0.1"), -1);
    EXPECT_EQ(order(u"010.2", u"10.2"), 0);
    EXPECT_EQ(order(u" 3.1 ", u"3.1"), 0);
    // Numbers far past any integer type still order.
    EXPECT_EQ(order(u"1.123456789012345678901234567890", u"1.99999999999999999999"), 1);
}

TEST(UpdateVersions, WordsMarkPreReleases) {
    EXPECT_EQ(order(u"2.0b1", u"2.0"), -1);
    EXPECT_EQ(order(u"2.0", u"2.0b1"), 1);
    EXPECT_EQ(order(u"2.0b1", u"2.0b2"), -1);
    EXPECT_EQ(order(u"2.0-beta", u"2.0.1"), -1);
    EXPECT_EQ(order(u"2.0RC1", u"2.0rc1"), 0);
    EXPECT_TRUE(isUsableVersion(u"0.1"));
    EXPECT_FALSE(isUsableVersion(u""));
    EXPECT_FALSE(isUsableVersion(u"  "));
    EXPECT_FALSE(isUsableVersion(u"beta"));
}

TEST(UpdateFeedParse, NewestOfSeveralItemsIsTheHighestVersionNotTheFirst) {
    const QByteArray xml = feed(item("1.2", "https://glyphnab.org/1.2") + item("1.10", "https://glyphnab.org/1.10") +
                                item("1.9", "https://glyphnab.org/1.9"));
    const auto items = parse(xml);
    ASSERT_TRUE(items.has_value());
    EXPECT_EQ(items->size(), 3u);
    const auto best = newest(xml);
    ASSERT_TRUE(best.has_value());
    EXPECT_EQ(best->releaseVersion(), "1.10");
    EXPECT_EQ(best->title, "Glyphnab 1.10");
    EXPECT_EQ(best->page, QUrl("https://glyphnab.org/1.10"));
}

TEST(UpdateFeedParse, VersionsComeFromTheItemThenItsEnclosure) {
    // The item's own elements win over the enclosure's attributes; a page falls back to the
    // enclosure; enclosures inside deltas belong to other builds.
    const QByteArray xml = feed(
        "<item><title>A</title>"
        "<enclosure url=\"https://glyphnab.org/a.tar.gz\" sparkle:version=\"7\" sparkle:shortVersionString=\"1.4\"/>"
        "</item>"
        "<item><title>B</title><sparkle:version>9</sparkle:version>"
        "<enclosure url=\"https://glyphnab.org/b.tar.gz\" sparkle:version=\"8\"/>"
        "<sparkle:deltas><enclosure url=\"https://glyphnab.org/d\" sparkle:version=\"99\" "
        "sparkle:shortVersionString=\"99.0\"/></sparkle:deltas></item>");
    const auto items = parse(xml);
    ASSERT_TRUE(items.has_value());
    ASSERT_EQ(items->size(), 2u);
    EXPECT_EQ((*items)[0], (Item{"A", "7", "1.4", QUrl("https://glyphnab.org/a.tar.gz")}));
    EXPECT_EQ((*items)[1], (Item{"B", "9", "", QUrl("https://glyphnab.org/b.tar.gz")}));
    EXPECT_EQ((*items)[1].releaseVersion(), "9");
}

TEST(UpdateFeedParse, ItemsWithoutAVersionAreSkipped) {
    const QByteArray some = feed("<item><title>no version</title><link>https://x.org</link></item>" + item("0.3") +
                                 "<item><sparkle:shortVersionString>next</sparkle:shortVersionString></item>");
    const auto items = parse(some);
    ASSERT_TRUE(items.has_value());
    ASSERT_EQ(items->size(), 1u);
    EXPECT_EQ(items->front().releaseVersion(), "0.3");

    EXPECT_EQ(newest(feed("<item><title>none</title></item>")).error(), FeedError::noVersion);
    EXPECT_EQ(newest(feed("")).error(), FeedError::noVersion);
    EXPECT_EQ(evaluate(feed(""), "0.1"), Result(Failed{Failed::Reason::noVersion, {}}));
}

TEST(UpdateFeedParse, GarbageIsUnreadable) {
    for (const QByteArray& garbage :
         {QByteArray(), QByteArray("not a feed"), QByteArray("{\"version\": \"9.9\"}"),
          QByteArray("<html><body>502 Bad Gateway</body></html>"),
          QByteArray("<feed xmlns=\"http://www.w3.org/2005/Atom\"><entry/></feed>"),
          QByteArray("<rss version=\"2.0\"><title>no channel</title></rss>"),
          // cut short after a good item: nothing of it is trusted
          feed(item("9.0")).left(feed(item("9.0")).size() - 12),
          // an undeclared namespace prefix
          QByteArray("<rss><channel><item><sparkle:version>5</sparkle:version></item></channel></rss>")}) {
        EXPECT_EQ(parse(garbage).error(), FeedError::unreadable) << garbage.constData();
        EXPECT_EQ(evaluate(garbage, "0.1"), Result(Failed{Failed::Reason::unreadable, {}})) << garbage.constData();
    }
}

TEST(UpdateFeedEvaluate, EqualOlderAndNewerVersions) {
    const QByteArray xml = feed(item("1.10"));
    EXPECT_EQ(evaluate(xml, "1.10"), Result(UpToDate{"1.10"}));
    EXPECT_EQ(evaluate(xml, "1.10.0"), Result(UpToDate{"1.10.0"}));
    EXPECT_EQ(evaluate(xml, "2.0"), Result(UpToDate{"2.0"}));
    const Result newer = evaluate(xml, "1.9");
    ASSERT_TRUE(std::holds_alternative<Available>(newer));
    EXPECT_EQ(std::get<Available>(newer).item.releaseVersion(), "1.10");
    EXPECT_EQ(std::get<Available>(newer).installed, "1.9");
    EXPECT_TRUE(std::holds_alternative<Available>(evaluate(feed(item("2.0")), "2.0b3")));
}

TEST(UpdateAddresses, FeedsAreHttpsOrPlainHttpToThisMachine) {
    EXPECT_TRUE(feedAddressAllowed(QUrl("https://glyphnab.org/appcast.xml")));
    EXPECT_TRUE(feedAddressAllowed(QUrl("HTTPS://glyphnab.org/appcast.xml")));
    EXPECT_TRUE(feedAddressAllowed(QUrl("http://127.0.0.1:8080/appcast.xml")));
    EXPECT_TRUE(feedAddressAllowed(QUrl("http://[::1]:8080/appcast.xml")));
    EXPECT_TRUE(feedAddressAllowed(QUrl("http://localhost/appcast.xml")));
    EXPECT_FALSE(feedAddressAllowed(QUrl("http://glyphnab.org/appcast.xml")));
    EXPECT_FALSE(feedAddressAllowed(QUrl("http://127.0.0.1.example.com/appcast.xml")));
    EXPECT_FALSE(feedAddressAllowed(QUrl("http://10.0.0.1/appcast.xml")));
    EXPECT_FALSE(feedAddressAllowed(QUrl("ftp://glyphnab.org/appcast.xml")));
    EXPECT_FALSE(feedAddressAllowed(QUrl("file:///tmp/appcast.xml")));
    EXPECT_FALSE(feedAddressAllowed(QUrl("glyphnab.org/appcast.xml")));
    EXPECT_FALSE(feedAddressAllowed(QUrl()));
}

TEST(UpdateAddresses, OnlyWebPagesAreOfferedForDownload) {
    const Result unsafe = evaluate(feed(item("3.0", "javascript:alert(1)")), "1.0");
    ASSERT_TRUE(std::holds_alternative<Available>(unsafe));
    EXPECT_TRUE(std::get<Available>(unsafe).item.page.isEmpty());
    EXPECT_EQ(newest(feed(item("3.0", "file:///etc/passwd")))->page, QUrl());
    EXPECT_EQ(newest(feed(item("3.0", "  http://glyphnab.org/get  ")))->page, QUrl("http://glyphnab.org/get"));

    const UpdateMessage noPage = updateMessage(unsafe, "Glyphnab");
    EXPECT_EQ(noPage.title, "Glyphnab 3.0 is available");
    EXPECT_EQ(noPage.detail, "You have version 1.0.");
    EXPECT_EQ(noPage.download, std::nullopt);
}

TEST(UpdateMessages, EachStateSaysWhatHappened) {
    const QString app = QStringLiteral("Glyphnab");
    EXPECT_EQ(updateMessage(std::nullopt, app), (UpdateMessage{"Checking for updates…", "", std::nullopt}));
    EXPECT_EQ(updateMessage(Result(UpToDate{"0.1.0"}), app),
              (UpdateMessage{"You're up to date", "Glyphnab 0.1.0 is the newest version.", std::nullopt}));
    const Result available = Available{Item{"t", "", "0.2", QUrl("https://glyphnab.org/get")}, "0.1.0"};
    EXPECT_EQ(updateMessage(available, app).download, QUrl("https://glyphnab.org/get"));

    using Reason = Failed::Reason;
    const auto detail = [&](Reason reason, const QString& text = {}) {
        const UpdateMessage message = updateMessage(Result(Failed{reason, text}), app);
        EXPECT_EQ(message.title, "Couldn't check for updates");
        EXPECT_EQ(message.download, std::nullopt);
        return message.detail;
    };
    EXPECT_EQ(detail(Reason::network, "Connection refused"), "The update server couldn't be reached: Connection refused");
    EXPECT_EQ(detail(Reason::refusedAddress), "The update feed moved to an address that isn't secure, so it wasn't read.");
    EXPECT_EQ(detail(Reason::tooLarge), "The update feed is too large to read.");
    EXPECT_EQ(detail(Reason::unreadable), "The update feed couldn't be read.");
    EXPECT_EQ(detail(Reason::noVersion), "The update feed lists no version.");
}

}  // namespace
}  // namespace Glyphnab
