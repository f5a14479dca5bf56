#include "ZantrelKit/DefaultsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using ZantrelKit::SettingsDefaultsStore;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QStringList setAside(const QTemporaryDir& folder) {
    return QDir(folder.path()).entryList({QStringLiteral("*.unreadable-*.ini")}, QDir::Files);
}

}  // namespace

TEST(SettingsDefaultsStore, WritingWhatIsStoredLeavesTheFileAlone) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("defaults.ini"));
    // As a person might have written it: numbers and words for flags.
    const QByteArray original("[General]\nseen=1\nname=Ada\nstep=3\n");
    put(path, original);
    {
        SettingsDefaultsStore store(path);
        store.setBool(QStringLiteral("seen"), true);
        store.setString(QStringLiteral("name"), QStringLiteral("Ada"));
        store.setInteger(QStringLiteral("step"), 3);
        store.remove(QStringLiteral("absent"));
    }
    EXPECT_EQ(bytesOf(path), original);
    EXPECT_TRUE(setAside(folder).isEmpty());
}

TEST(SettingsDefaultsStore, AFileThatARewriteWouldChangeIsCopiedAsideFirst) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("defaults.ini"));
    const QByteArray original("[General]\n; my notes\npreferences=\"{broken\"\nthis is no setting\n\x01\x02\n");
    put(path, original);
    {
        SettingsDefaultsStore store(path);
        EXPECT_EQ(store.string(QStringLiteral("preferences")), QStringLiteral("{broken"));
        store.setBool(QStringLiteral("seen"), true);
        store.setBool(QStringLiteral("other"), true);  // one copy, however many writes
    }
    const QStringList copies = setAside(folder);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_TRUE(copies.front().startsWith(u"defaults.unreadable-"));
    EXPECT_EQ(bytesOf(folder.filePath(copies.front())), original);
    // What was readable is still in the file itself.
    SettingsDefaultsStore again(path);
    EXPECT_EQ(again.string(QStringLiteral("preferences")), QStringLiteral("{broken"));
    EXPECT_EQ(again.boolValue(QStringLiteral("seen")), true);
}

TEST(SettingsDefaultsStore, OnlyTextThatARewriteKeepsCountsAsLossless) {
    EXPECT_TRUE(ZantrelKit::rewritesWithoutLoss("[General]\nkey=value\n\n[Other]\na = b\n"));
    EXPECT_TRUE(ZantrelKit::rewritesWithoutLoss(""));
    EXPECT_FALSE(ZantrelKit::rewritesWithoutLoss("[General]\n# comment\nkey=value\n"));
    EXPECT_FALSE(ZantrelKit::rewritesWithoutLoss("[General]\njust words\n"));
    EXPECT_FALSE(ZantrelKit::rewritesWithoutLoss("[General]\nkey=\xff\xfe\n"));
    EXPECT_FALSE(ZantrelKit::rewritesWithoutLoss("[General]\nkey=a\x01" "b\n"));
}

TEST(SettingsDefaultsStore, WhatIsNoRegularFileIsSetAsideAndTheDefaultsServe) {
    // A link to an endless device, a pipe no one writes, a file far too large: each used
    // to grow the app without end or block its start.
    const std::vector<std::function<void(const QString&)>> strangers{
        [](const QString& path) { ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(path).constData()), 0); },
        [](const QString& path) { ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0); },
        [](const QString& path) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("[General]\nseen=true\n");
            ASSERT_TRUE(file.resize(qint64{64} << 20));
        }};
    for (const auto& make : strangers) {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("defaults.ini"));
        make(path);
        {
            SettingsDefaultsStore store(path);
            EXPECT_EQ(store.boolValue(QStringLiteral("seen")), std::nullopt);
            store.setBool(QStringLiteral("seen"), false);
        }
        const QStringList aside = QDir(folder.path()).entryList({QStringLiteral("*.unreadable-*.ini")},
                                                               QDir::Files | QDir::System | QDir::Hidden);
        EXPECT_EQ(aside.size(), 1);
        EXPECT_TRUE(QFileInfo(path).isFile());
        EXPECT_EQ(SettingsDefaultsStore(path).boolValue(QStringLiteral("seen")), false);
    }
}
