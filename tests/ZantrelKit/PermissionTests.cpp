#include "ZantrelKit/DefaultsStore.h"
#include "ZantrelKit/FullDiskAccess.h"
#include "ZantrelKit/GrantMemory.h"
#include "ZantrelKit/GrantWatch.h"
#include "ZantrelKit/Permission.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace ZantrelKit;

namespace {

TEST(Permission, PanesAndBreadcrumbs) {
    EXPECT_EQ(Permission::screenRecording().breadcrumb(), QStringLiteral("Settings > Privacy > Screen Recording"));
    EXPECT_EQ(Permission::accessibility(26).pane.last(), QStringLiteral("Accessibility"));
    EXPECT_EQ(Permission::accessibility(27).pane.last(), QStringLiteral("Device Control and Data Access"));
    EXPECT_EQ(Permission::accessibility(), Permission::accessibility(26));
}

TEST(GrantWatch, ReportsOnlyRealChanges) {
    GrantWatch watch;
    EXPECT_EQ(watch.update(true), std::nullopt);  // the first observation
    EXPECT_EQ(watch.update(false), GrantWatch::Change::lost);
    EXPECT_EQ(watch.update(false), std::nullopt);
    EXPECT_EQ(watch.update(true), GrantWatch::Change::landed);
    EXPECT_EQ(watch.granted, true);
    GrantWatch startsOff;
    EXPECT_EQ(startsOff.update(false), std::nullopt);
    EXPECT_EQ(startsOff.update(true), GrantWatch::Change::landed);
}

// The same grant memory over both stores.
class GrantMemoryTest : public testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        if (GetParam())
            store = std::make_unique<SettingsDefaultsStore>(folder.filePath(QStringLiteral("defaults.ini")));
        else
            store = std::make_unique<MemoryDefaultsStore>();
    }

    QTemporaryDir folder;
    std::unique_ptr<DefaultsStore> store;
    const Permission& screen = Permission::screenRecording();
};

TEST_P(GrantMemoryTest, NotGrantedWithNoMemoryWritesNothing) {
    EXPECT_FALSE(GrantMemory::lost(screen, false, *store));
    GrantMemory::remember(screen, false, *store);
    EXPECT_FALSE(store->contains(QStringLiteral("grant.screenRecording.seen")));
}

TEST_P(GrantMemoryTest, LossIsReportedOnceUntilGrantedAgain) {
    EXPECT_FALSE(GrantMemory::lost(screen, true, *store));
    EXPECT_EQ(store->boolValue(QStringLiteral("grant.screenRecording.seen")), true);
    EXPECT_TRUE(GrantMemory::lost(screen, false, *store));
    EXPECT_FALSE(store->contains(QStringLiteral("grant.screenRecording.seen")));
    EXPECT_FALSE(GrantMemory::lost(screen, false, *store));
    GrantMemory::remember(screen, true, *store);
    EXPECT_TRUE(GrantMemory::lost(screen, false, *store));
}

TEST_P(GrantMemoryTest, AStoredFalseIsNoMemoryAndPermissionsAreApart) {
    store->setBool(GrantMemory::key(Permission::camera()), false);
    EXPECT_FALSE(GrantMemory::lost(Permission::camera(), false, *store));
    GrantMemory::remember(Permission::camera(), true, *store);
    EXPECT_FALSE(GrantMemory::lost(screen, false, *store));
    EXPECT_TRUE(GrantMemory::lost(Permission::camera(), false, *store));
}

INSTANTIATE_TEST_SUITE_P(Stores, GrantMemoryTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("Settings") : std::string("Memory");
                         });

TEST(SettingsDefaultsStore, ValuesSurviveReopeningTheFile) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("defaults.ini"));
    {
        SettingsDefaultsStore store(path);
        store.setBool(QStringLiteral("grant.screenRecording.seen"), true);
        store.setString(QStringLiteral("settings.tab"), QStringLiteral("about"));
        store.setBytes(QStringLiteral("preferences"), QByteArray("{\"a\":1}\n\0x", 10));
        store.setString(QStringLiteral("gone"), QStringLiteral("x"));
        store.remove(QStringLiteral("gone"));
    }
    const SettingsDefaultsStore reopened(path);
    EXPECT_EQ(reopened.boolValue(QStringLiteral("grant.screenRecording.seen")), true);
    EXPECT_EQ(reopened.string(QStringLiteral("settings.tab")), QStringLiteral("about"));
    EXPECT_EQ(reopened.bytes(QStringLiteral("preferences")), QByteArray("{\"a\":1}\n\0x", 10));
    EXPECT_FALSE(reopened.contains(QStringLiteral("gone")));
    // A text that is no flag reads as no flag, and a text is not bytes.
    EXPECT_EQ(reopened.boolValue(QStringLiteral("settings.tab")), std::nullopt);
    EXPECT_EQ(reopened.bytes(QStringLiteral("settings.tab")), std::nullopt);
}

TEST(MemoryDefaultsStore, FlagsFromTextAndNumbers) {
    MemoryDefaultsStore store;
    store.setString(QStringLiteral("a"), QStringLiteral("YES"));
    store.setString(QStringLiteral("b"), QStringLiteral("0"));
    store.setString(QStringLiteral("c"), QStringLiteral("maybe"));
    EXPECT_EQ(store.boolValue(QStringLiteral("a")), true);
    EXPECT_EQ(store.boolValue(QStringLiteral("b")), false);
    EXPECT_EQ(store.boolValue(QStringLiteral("c")), std::nullopt);
    EXPECT_EQ(store.boolValue(QStringLiteral("missing")), std::nullopt);
}

TEST(FullDiskAccess, FirstAnswerThatIsNotMissingDecides) {
    QStringList probed;
    const auto answering = [&probed](FullDiskAccess::Opened first, FullDiskAccess::Opened second) {
        return [&probed, first, second](const QString& path) {
            probed.append(path);
            return probed.size() == 1 ? first : second;
        };
    };
    using enum FullDiskAccess::Opened;
    EXPECT_TRUE(FullDiskAccess::granted(answering(missing, opened)));
    EXPECT_EQ(probed, FullDiskAccess::probePaths());
    probed.clear();
    EXPECT_FALSE(FullDiskAccess::granted(answering(refused, opened)));
    EXPECT_EQ(probed.size(), 1);  // the second path is not probed
    probed.clear();
    EXPECT_TRUE(FullDiskAccess::granted(answering(opened, refused)));
    probed.clear();
    EXPECT_FALSE(FullDiskAccess::granted(answering(missing, missing)));
    probed.clear();
    EXPECT_FALSE(FullDiskAccess::granted(answering(missing, refused)));
}

TEST(FullDiskAccess, ProbeListAndTheLiveAnswerHere) {
    EXPECT_EQ(FullDiskAccess::probePaths(QStringLiteral("/home/ann")),
              (QStringList{QStringLiteral("/home/ann/.local/share"), QStringLiteral("/home/ann")}));
    // Nothing but the file permissions stands between a program and its user's files.
    EXPECT_TRUE(FullDiskAccess::granted());
}

TEST(FullDiskAccess, OpenMapsEveryOutcome) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("a.db"));
    QFile writer(file);
    ASSERT_TRUE(writer.open(QIODevice::WriteOnly));
    writer.close();
    EXPECT_EQ(FullDiskAccess::open(file), FullDiskAccess::Opened::opened);
    EXPECT_EQ(FullDiskAccess::open(folder.filePath(QStringLiteral("none.db"))), FullDiskAccess::Opened::missing);
    // A path through a plain file fails with ENOTDIR: refused, not missing.
    EXPECT_EQ(FullDiskAccess::open(file + QStringLiteral("/inner")), FullDiskAccess::Opened::refused);
}

}  // namespace

namespace {

// Whole numbers over both stores; the INI file gives them back as text.
TEST_P(GrantMemoryTest, WholeNumbersSurviveTheStoreAndNothingElseReadsAsOne) {
    EXPECT_EQ(store->integer(QStringLiteral("onboarding.step")), std::nullopt);
    store->setInteger(QStringLiteral("onboarding.step"), 2);
    EXPECT_EQ(store->integer(QStringLiteral("onboarding.step")), 2);
    if (GetParam()) {
        const SettingsDefaultsStore reopened(folder.filePath(QStringLiteral("defaults.ini")));
        EXPECT_EQ(reopened.integer(QStringLiteral("onboarding.step")), 2);
    }
    store->setString(QStringLiteral("onboarding.step"), QStringLiteral("2.5"));
    EXPECT_EQ(store->integer(QStringLiteral("onboarding.step")), std::nullopt);
    store->setBool(QStringLiteral("onboarding.step"), true);
    EXPECT_EQ(store->integer(QStringLiteral("onboarding.step")), std::nullopt);
}

}  // namespace
