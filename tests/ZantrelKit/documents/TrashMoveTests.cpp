#include "ZantrelKit/documents/TrashMove.h"

#include "ZantrelKit/ExclusiveRename.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <system_error>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ZantrelKit;
using namespace Qt::Literals::StringLiterals;

namespace {

using TrashMove::Failure;

class TrashMoving : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        savedDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(path(u"data"_s)));
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", savedDataHome); }

    QString path(const QString& name) const { return folder.filePath(name); }
    QUrl url(const QString& name) const { return QUrl::fromLocalFile(path(name)); }
    static void put(const QString& path, const QByteArray& bytes = "x") {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) << path.toStdString();
        file.write(bytes);
    }
    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    template <class Operation>
    static std::optional<Failure> failure(Operation operation) {
        try {
            operation();
        } catch (const Failure& failure) {
            return failure;
        }
        return std::nullopt;
    }

    QTemporaryDir folder;
    QByteArray savedDataHome;
};

TEST_F(TrashMoving, TrashesIntoTheHomeTrashWithARecordOfWhereItCameFrom) {
    put(path(u"docs/100% report.pdf"_s), "first");
    put(path(u"other/100% report.pdf"_s), "second");
    EXPECT_TRUE(TrashMove::hasTrash(url(u"docs/100% report.pdf"_s)));

    const QUrl first = TrashMove::trash(url(u"docs/100% report.pdf"_s));
    const QUrl second = TrashMove::trash(url(u"other/100% report.pdf"_s));
    EXPECT_EQ(first, url(u"data/Trash/files/100% report.pdf"_s));
    EXPECT_EQ(second, url(u"data/Trash/files/100% report 2.pdf"_s));
    EXPECT_EQ(contents(second.toLocalFile()), "second");
    EXPECT_FALSE(TrashMove::exists(url(u"docs/100% report.pdf"_s)));

    const QByteArray record = contents(path(u"data/Trash/info/100% report 2.pdf.trashinfo"_s));
    EXPECT_TRUE(record.startsWith("[Trash Info]\nPath=" + QUrl::toPercentEncoding(path(u"other/"_s), "/") +
                                  "100%25%20report.pdf\nDeletionDate="))
        << record.toStdString();
    EXPECT_EQ(QFileInfo(path(u"data/Trash"_s)).permissions() & (QFile::ReadOther | QFile::WriteOther), 0);
}

TEST_F(TrashMoving, TrashingWhatIsNotThereIsTheSystemsError) {
    try {
        TrashMove::trash(url(u"missing.txt"_s));
        ADD_FAILURE() << "trashed";
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code().value(), ENOENT);
    }
}

TEST_F(TrashMoving, MovesIntoAFolderUnderAFreeName) {
    put(path(u"a.txt"_s), "mine");
    put(path(u"notes"_s), "notes");
    put(path(u"box/a.txt"_s));
    put(path(u"box/a 2.txt"_s));
    put(path(u"box/notes"_s));
    EXPECT_EQ(TrashMove::move(url(u"a.txt"_s), url(u"box"_s)), url(u"box/a 3.txt"_s));
    EXPECT_EQ(contents(path(u"box/a 3.txt"_s)), "mine");
    EXPECT_EQ(TrashMove::move(url(u"notes"_s), url(u"box"_s)), url(u"box/notes 2"_s));
    EXPECT_EQ(TrashMove::freeURL(url(u"box"_s), u"a.txt"_s, [](const QUrl& candidate) {
                  return candidate.fileName() != u"a 7.txt"_s;
              }),
              url(u"box/a 7.txt"_s));
}

TEST_F(TrashMoving, VolumeCheckComesFirst) {
    put(path(u"box/kept"_s));
    EXPECT_TRUE(TrashMove::sameVolume(url(u"box/kept"_s), url(u"box"_s)));
    EXPECT_FALSE(TrashMove::sameVolume(url(u"gone"_s), url(u"box"_s)));
    EXPECT_FALSE(TrashMove::sameVolume(url(u"box/kept"_s), url(u"nowhere"_s)));
    EXPECT_EQ(failure([&] { TrashMove::move(url(u"gone"_s), url(u"box"_s)); }), Failure::otherVolume());
}

TEST_F(TrashMoving, LinksCountAsThereEvenWhenDangling) {
    ASSERT_EQ(::symlink("nowhere", QFile::encodeName(path(u"link"_s)).constData()), 0);
    EXPECT_TRUE(TrashMove::exists(url(u"link"_s)));
    EXPECT_FALSE(TrashMove::exists(url(u"nowhere"_s)));
    put(path(u"item"_s));
    EXPECT_EQ(failure([&] { TrashMove::putBack(url(u"item"_s), url(u"link"_s)); }), Failure::occupied());
}

TEST_F(TrashMoving, PutsBackMakingMissingFoldersButNeverOverwrites) {
    put(path(u"trashed"_s), "back");
    put(path(u"home/taken"_s), "keep");
    EXPECT_EQ(failure([&] { TrashMove::putBack(url(u"trashed"_s), url(u"home/taken"_s)); }), Failure::occupied());
    EXPECT_EQ(contents(path(u"home/taken"_s)), "keep");

    TrashMove::putBack(url(u"trashed"_s), url(u"deep/er/still/item"_s));
    EXPECT_EQ(contents(path(u"deep/er/still/item"_s)), "back");
    EXPECT_FALSE(TrashMove::exists(url(u"trashed"_s)));
}

TEST_F(TrashMoving, FailedRenamesCarryTheRawErrorAndLeaveTheFoldersMade) {
    EXPECT_EQ(failure([&] { TrashMove::putBack(url(u"missing"_s), url(u"made/for/it"_s)); }), Failure::failed(ENOENT));
    EXPECT_TRUE(QFileInfo(path(u"made/for"_s)).isDir());
    QDir().mkpath(path(u"tree/branch"_s));
    EXPECT_EQ(failure([&] { TrashMove::putBack(url(u"tree"_s), url(u"tree/branch/tree"_s)); }),
              Failure::failed(EINVAL));
    EXPECT_EQ(Failure::failed(EACCES).error(), 13);
}

TEST_F(TrashMoving, ExclusiveRenameRefusesATargetThatAppeared) {
    // What a move meets when the destination is made after its name was found free.
    put(path(u"from"_s), "from");
    put(path(u"to"_s), "to");
    EXPECT_EQ(renameWithoutReplacing(path(u"from"_s), path(u"to"_s)), EEXIST);
    EXPECT_EQ(contents(path(u"from"_s)), "from");
    EXPECT_EQ(contents(path(u"to"_s)), "to");
}

// A second file system: a tmpfs mounted in a mount namespace of this process's own, so
// nothing shows outside it. Needs the right to mount; skipped where it is refused.
class OtherVolume : public TrashMoving {
protected:
    void SetUp() override {
        TrashMoving::SetUp();
        if (const std::optional<QString> reason = privateMounts())
            GTEST_SKIP() << reason->toStdString();
        ASSERT_TRUE(QDir().mkpath(path(u"volume"_s)));
        if (::mount("tmpfs", QFile::encodeName(path(u"volume"_s)).constData(), "tmpfs", 0, "size=1m,mode=0755") != 0)
            GTEST_SKIP() << "cannot mount a tmpfs: " << std::strerror(errno);
        mounted = true;
    }
    void TearDown() override {
        if (mounted)
            ::umount2(QFile::encodeName(path(u"volume"_s)).constData(), MNT_DETACH);
        TrashMoving::TearDown();
    }

    bool remountReadOnly() {
        return ::mount(nullptr, QFile::encodeName(path(u"volume"_s)).constData(), nullptr, MS_REMOUNT | MS_RDONLY,
                       nullptr) == 0;
    }

    static std::optional<QString> privateMounts() {
        static const std::optional<QString> reason = []() -> std::optional<QString> {
            if (::unshare(CLONE_NEWNS) != 0)
                return u"no mount namespace of our own: "_s + QString::fromLocal8Bit(std::strerror(errno));
            if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
                return u"cannot make mounts private: "_s + QString::fromLocal8Bit(std::strerror(errno));
            return std::nullopt;
        }();
        return reason;
    }

    bool mounted = false;
};

TEST_F(OtherVolume, MovesAcrossVolumesAreRefusedUntouched) {
    put(path(u"volume/item"_s), "item");
    put(path(u"here"_s), "here");
    EXPECT_FALSE(TrashMove::sameVolume(url(u"volume/item"_s), url(u""_s)));
    EXPECT_EQ(failure([&] { TrashMove::move(url(u"volume/item"_s), url(u""_s)); }), Failure::otherVolume());
    EXPECT_EQ(failure([&] { TrashMove::putBack(url(u"here"_s), url(u"volume/here"_s)); }), Failure::otherVolume());
    EXPECT_EQ(contents(path(u"volume/item"_s)), "item");
    EXPECT_EQ(contents(path(u"here"_s)), "here");
    EXPECT_FALSE(TrashMove::exists(url(u"volume/here"_s)));
}

TEST_F(OtherVolume, TrashesIntoTheVolumesOwnTrash) {
    put(path(u"volume/docs/a.txt"_s), "a");
    const QString own = u"volume/.Trash-"_s + QString::number(::getuid());
    EXPECT_EQ(TrashMove::trash(url(u"volume/docs/a.txt"_s)), url(own + u"/files/a.txt"_s));
    EXPECT_EQ(contents(path(own + u"/info/a.txt.trashinfo"_s)).split('\n').value(1), "Path=docs/a.txt");
    EXPECT_FALSE(QFileInfo::exists(path(u"data/Trash"_s)));
}

TEST_F(OtherVolume, AStickySharedTrashIsUsedAndAPlainOneIsNot) {
    const QString uid = QString::number(::getuid());
    ASSERT_TRUE(QDir().mkpath(path(u"volume/.Trash"_s)));
    put(path(u"volume/plain.txt"_s));
    EXPECT_EQ(TrashMove::trash(url(u"volume/plain.txt"_s)), url(u"volume/.Trash-"_s + uid + u"/files/plain.txt"_s));

    ASSERT_EQ(::chmod(QFile::encodeName(path(u"volume/.Trash"_s)).constData(), 01777), 0);
    put(path(u"volume/shared.txt"_s));
    EXPECT_EQ(TrashMove::trash(url(u"volume/shared.txt"_s)), url(u"volume/.Trash/"_s + uid + u"/files/shared.txt"_s));
}

TEST_F(OtherVolume, NoUsableTrashLeavesTheItemAlone) {
    // Where the volume's Trash folder would go, a file is in the way.
    put(path(u"volume/.Trash-"_s + QString::number(::getuid())), "not a folder");
    put(path(u"volume/item"_s), "item");
    EXPECT_FALSE(TrashMove::hasTrash(url(u"volume/item"_s)));
    EXPECT_EQ(failure([&] { TrashMove::trash(url(u"volume/item"_s)); }), Failure::noTrash());
    EXPECT_EQ(contents(path(u"volume/item"_s)), "item");
}

TEST_F(OtherVolume, AReadOnlyVolumeHasNoTrash) {
    put(path(u"volume/item"_s), "item");
    ASSERT_TRUE(remountReadOnly()) << std::strerror(errno);
    EXPECT_FALSE(TrashMove::hasTrash(url(u"volume/item"_s)));
    EXPECT_EQ(failure([&] { TrashMove::trash(url(u"volume/item"_s)); }), Failure::noTrash());
    EXPECT_EQ(contents(path(u"volume/item"_s)), "item");
}

}  // namespace
