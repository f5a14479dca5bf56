#include "platform/log/Log.h"

#include <QThread>

#include <gtest/gtest.h>

#include <thread>

using namespace Platform;

namespace {

TEST(LogFormat, FillsPublicAndPlainConversionsInOrder) {
    EXPECT_EQ(formatLogMessage(u"capture failed: %{public}s", {LogArgument("no picture")}),
              QStringLiteral("capture failed: no picture"));
    EXPECT_EQ(formatLogMessage(u"grab: %{public}s, %ld characters", {LogArgument("text"), LogArgument(42L)}),
              QStringLiteral("grab: text, 42 characters"));
    EXPECT_EQ(formatLogMessage(u"%@ and %lld and %d%%", {LogArgument(QStringLiteral("a")), LogArgument(7LL), LogArgument(5)}),
              QStringLiteral("a and 7 and 5%"));
}

TEST(LogFormat, PrivateMissingAndStrayPercents) {
    EXPECT_EQ(formatLogMessage(u"user %{private}s", {LogArgument("secret")}), QStringLiteral("user <private>"));
    EXPECT_EQ(formatLogMessage(u"%s then %s", {LogArgument("one")}), QStringLiteral("one then (null)"));
    EXPECT_EQ(formatLogMessage(u"100% sure, %q, %{public", {}), QStringLiteral("100% sure, %q, %{public"));
    EXPECT_EQ(formatLogMessage(u"trailing %", {}), QStringLiteral("trailing %"));
}

TEST(LogStore, KeepsTheNewestEntriesInOrder) {
    LogStore store(3);
    for (int i = 0; i < 5; ++i)
        store.append({QDateTime::currentDateTime(), QStringLiteral("s"), QStringLiteral("c"), LogLevel::info,
                      QString::number(i)});
    const auto entries = store.entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries.front().message, QStringLiteral("2"));
    EXPECT_EQ(entries.back().message, QStringLiteral("4"));
}

TEST(Logger, EntriesReachTheSharedStoreWithCategoryAndLevel) {
    LogStore::shared().clear();
    const Logger log(QStringLiteral("org.glyphnab.Test"), QStringLiteral("grab"));
    std::thread worker([&] { log.error(u"recognition failed: %{public}s", "stalled"); });
    worker.join();
    log.info(u"Screen Recording granted");
    const auto entries = LogStore::shared().entries(QStringLiteral("org.glyphnab.Test"));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].category, QStringLiteral("grab"));
    EXPECT_EQ(entries[0].level, LogLevel::error);
    EXPECT_EQ(entries[0].message, QStringLiteral("recognition failed: stalled"));
    EXPECT_EQ(entries[1].message, QStringLiteral("Screen Recording granted"));
    EXPECT_TRUE(entries[1].time.isValid());
}

TEST(FatalDeathTest, PrintsTheMessageAndStops) {
    EXPECT_DEATH(fatal(QStringLiteral("unable to find bundle named ZantrelKit_ZantrelKit")),
                 "unable to find bundle named ZantrelKit_ZantrelKit");
}

}  // namespace
