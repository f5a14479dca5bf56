#include "ZantrelKit/StoreFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ZantrelKit;

namespace {

const QString bundleId = QStringLiteral("org.example.App");

QUrl folder(const QString& path) { return QUrl::fromLocalFile(path); }

class StoreFoldersTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        user = UserFolders{home.filePath(QStringLiteral("data")), home.filePath(QStringLiteral("cache")),
                           home.filePath(QStringLiteral("data/group"))};
    }

    // A file inside the test host's state root, to see whether the root was wiped.
    QString plantMarker(const QString& id) const {
        const QString root = StoreFolders::testHostRoot(id, user);
        EXPECT_TRUE(QDir().mkpath(root + QStringLiteral("/deep")));
        const QString marker = root + QStringLiteral("/deep/marker");
        QFile file(marker);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return marker;
    }

    QTemporaryDir home;
    UserFolders user;
};

TEST_F(StoreFoldersTest, ScriptedRunWithAStateDirectoryKeepsEverythingUnderIt) {
    const QStringList arguments{QStringLiteral("app"), QStringLiteral("--state-dir"), QStringLiteral("/tmp/s")};
    const StoreFolders folders = StoreFolders::resolve(bundleId, arguments, true, false, user);
    EXPECT_EQ(folders.app, folder(QStringLiteral("/tmp/s/org.example.App")));
    EXPECT_EQ(folders.shared, folder(QStringLiteral("/tmp/s/shared")));
    EXPECT_EQ(folders.defaultsSuite, QStringLiteral("/tmp/s/defaults"));

    // Without the scripted flag the argument means nothing.
    const StoreFolders normal = StoreFolders::resolve(bundleId, arguments, false, false, user);
    EXPECT_EQ(normal.app, folder(user.dataHome + QStringLiteral("/org.example.App")));
}

TEST_F(StoreFoldersTest, OnlyTheFirstCompleteStateDirectoryPairCounts) {
    const auto resolve = [this](const QStringList& arguments) {
        return StoreFolders::resolve(bundleId, arguments, true, false, user);
    };
    EXPECT_EQ(resolve({QStringLiteral("app"), QStringLiteral("--state-dir"), QStringLiteral("/a"),
                       QStringLiteral("--state-dir"), QStringLiteral("/b")})
                  .defaultsSuite,
              QStringLiteral("/a/defaults"));
    const StoreFolders last = resolve({QStringLiteral("app"), QStringLiteral("--state-dir")});
    EXPECT_EQ(last.app, folder(user.dataHome + QStringLiteral("/org.example.App")));
    EXPECT_FALSE(last.defaultsSuite);
    EXPECT_FALSE(resolve({QStringLiteral("app"), QStringLiteral("--state-dir=/a")}).defaultsSuite);
    EXPECT_EQ(resolve({QStringLiteral("app"), QStringLiteral("--state-dir"), QStringLiteral("rel/s")}).defaultsSuite,
              QDir::current().absoluteFilePath(QStringLiteral("rel/s/defaults")));
}

TEST_F(StoreFoldersTest, TestHostStartsFromAnEmptyRootUnderTheCache) {
    const QString marker = plantMarker(bundleId);
    const QString root = user.cacheHome + QStringLiteral("/Zantrel/state-apptest-org.example.App");
    const StoreFolders folders = StoreFolders::resolve(bundleId, {QStringLiteral("app")}, false, true, user);
    EXPECT_FALSE(QFile::exists(marker));
    EXPECT_FALSE(QFile::exists(root));
    EXPECT_EQ(folders.app, folder(root + QStringLiteral("/org.example.App")));
    EXPECT_EQ(folders.shared, folder(root + QStringLiteral("/shared")));
    EXPECT_EQ(folders.defaultsSuite, root + QStringLiteral("/defaults"));
    // A missing root is no failure.
    EXPECT_EQ(StoreFolders::resolve(bundleId, {}, false, true, user), folders);
}

TEST_F(StoreFoldersTest, AStateDirectoryBeatsTheTestHostAndSparesItsRoot) {
    const QString marker = plantMarker(bundleId);
    const StoreFolders folders = StoreFolders::resolve(
        bundleId, {QStringLiteral("app"), QStringLiteral("--state-dir"), QStringLiteral("/tmp/s")}, true, true, user);
    EXPECT_EQ(folders.defaultsSuite, QStringLiteral("/tmp/s/defaults"));
    EXPECT_TRUE(QFile::exists(marker));
}

TEST_F(StoreFoldersTest, TheWipeNeverLeavesItsCacheRoot) {
    // A folder beside the cache that "x/../../victim" would reach.
    const QString victim = home.filePath(QStringLiteral("cache/victim/file"));
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("cache/victim"))));
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("cache/Zantrel/state-apptest-x"))));
    QFile file(victim);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    for (const QString& id : {QStringLiteral("x/../../victim"), QStringLiteral(".."), QStringLiteral("a/b")})
        StoreFolders::resolve(id, {}, false, true, user);
    EXPECT_TRUE(QFile::exists(victim));

    // A root that is a link loses the link, not what it points at.
    const QString root = StoreFolders::testHostRoot(bundleId, user);
    ASSERT_TRUE(QFile::link(home.filePath(QStringLiteral("cache/victim")), root));
    StoreFolders::resolve(bundleId, {}, false, true, user);
    EXPECT_TRUE(QFile::exists(victim));
    EXPECT_FALSE(QFileInfo(root).isSymLink());
}

TEST_F(StoreFoldersTest, NormalRunUsesTheDataHomeAndNoSuite) {
    const StoreFolders folders = StoreFolders::resolve(bundleId, {QStringLiteral("app")}, false, false, user);
    EXPECT_EQ(folders.app, folder(user.dataHome + QStringLiteral("/org.example.App")));
    EXPECT_EQ(folders.shared, folder(*user.groupContainer));
    EXPECT_FALSE(folders.defaultsSuite);

    UserFolders noGroup = user;
    noGroup.groupContainer.reset();
    const StoreFolders alone = StoreFolders::resolve(bundleId, {}, false, false, noGroup);
    EXPECT_FALSE(alone.shared);
    EXPECT_FALSE(alone.defaultsSuite);
}

TEST(UserFolders, FollowTheBaseDirectoryRules) {
    const UserFolders set = UserFolders::fromEnvironment(
        {{QStringLiteral("HOME"), QStringLiteral("/home/u")},
         {QStringLiteral("XDG_DATA_HOME"), QStringLiteral("/d/")},
         {QStringLiteral("XDG_CACHE_HOME"), QStringLiteral("/c")}});
    EXPECT_EQ(set.dataHome, QStringLiteral("/d"));
    EXPECT_EQ(set.cacheHome, QStringLiteral("/c"));
    EXPECT_EQ(set.groupContainer, QStringLiteral("/d/") + QString::fromLatin1(StoreFolders::groupIdentifier));

    const UserFolders fallback = UserFolders::fromEnvironment(
        {{QStringLiteral("HOME"), QStringLiteral("/home/u")},
         {QStringLiteral("XDG_DATA_HOME"), QStringLiteral("relative/data")},
         {QStringLiteral("XDG_CACHE_HOME"), QString()}});
    EXPECT_EQ(fallback.dataHome, QStringLiteral("/home/u/.local/share"));
    EXPECT_EQ(fallback.cacheHome, QStringLiteral("/home/u/.cache"));
}

}  // namespace
