#include "ZantrelKit/documents/LinkCleaner.h"

#include <gtest/gtest.h>

using namespace ZantrelKit;
using namespace Qt::Literals::StringLiterals;

namespace {

QString cleaned(const QString& link) { return LinkCleaner::clean(QUrl(link)).toString(QUrl::FullyEncoded); }

TEST(LinkCleaner, TrackingNamesIgnoringCase) {
    EXPECT_TRUE(LinkCleaner::isTracking(u"utm_anything"));
    EXPECT_TRUE(LinkCleaner::isTracking(u"UTM_Medium"));
    EXPECT_TRUE(LinkCleaner::isTracking(u"FbClid"));
    EXPECT_TRUE(LinkCleaner::isTracking(u"srsltid"));
    EXPECT_FALSE(LinkCleaner::isTracking(u"fbclid2"));
    EXPECT_FALSE(LinkCleaner::isTracking(u"utm"));
    EXPECT_FALSE(LinkCleaner::isTracking(u"id"));
}

TEST(LinkCleaner, RemovesOnlyTrackingItems) {
    EXPECT_EQ(cleaned(u"https://example.com/a?utm_source=x&id=7"_s), u"https://example.com/a?id=7"_s);
    EXPECT_EQ(cleaned(u"https://example.com/a?UTM_Medium=x"_s), u"https://example.com/a"_s);
    EXPECT_EQ(cleaned(u"https://example.com/a?gclid=1&q=a%26b%20c&gclid=2#part"_s),
              u"https://example.com/a?q=a%26b%20c#part"_s);
    EXPECT_EQ(cleaned(u"https://example.com/?fbclid=1#top"_s), u"https://example.com/#top"_s);
    EXPECT_EQ(cleaned(u"https://example.com/?flag&utm_id=3&empty="_s), u"https://example.com/?flag&empty="_s);
    EXPECT_EQ(cleaned(u"https://example.com/?utm%5Fsource=x&k=v"_s), u"https://example.com/?k=v"_s);
}

TEST(LinkCleaner, LinksWithNothingToRemoveComeBackTheSame) {
    for (const QString& link : {u"https://example.com/path#frag"_s, u"https://example.com/?a=1&b=%2F"_s,
                                u"https://example.com/?"_s, u"mailto:someone@example.com"_s}) {
        const QUrl url(link);
        EXPECT_EQ(LinkCleaner::clean(url), url) << link.toStdString();
        EXPECT_EQ(LinkCleaner::trackerCount(url), 0);
    }
}

TEST(LinkCleaner, CountsEveryTrackingItem) {
    EXPECT_EQ(LinkCleaner::trackerCount(QUrl(u"https://e.com/?gclid=1&gclid=2&x=1&utm_term=a"_s)), 3);
    EXPECT_EQ(LinkCleaner::trackerCount(QUrl()), 0);
}

}  // namespace
