#include "ZantrelKit/JSONFileStore.h"

#include "platform/log/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace ZantrelKit;

namespace {

struct Note {
    QString title;
    QDateTime when;
    int count = 0;
    bool failsToEncode = false;

    QJsonValue toJson() const {
        if (failsToEncode)
            throw std::runtime_error("cannot encode this note");
        return QJsonObject{{QStringLiteral("title"), title},
                           {QStringLiteral("when"), JSONCoding::date(when)},
                           {QStringLiteral("count"), count}};
    }
    static Note fromJson(const QJsonValue& json) {
        const QJsonObject object = JSONCoding::object(json);
        Note note;
        note.title = JSONCoding::required(object, QStringLiteral("title")).toString();
        note.when = JSONCoding::date(JSONCoding::required(object, QStringLiteral("when")), QStringLiteral("when"));
        note.count = int(JSONCoding::integer(JSONCoding::required(object, QStringLiteral("count")), 0, 1000,
                                             QStringLiteral("count")));
        return note;
    }
    friend bool operator==(const Note& a, const Note& b) {
        return a.title == b.title && a.when == b.when && a.count == b.count;
    }
};

const QDateTime sampleMoment = QDateTime(QDate(2026, 12, 8), QTime(8, 17, 33), Qt::UTC);

class StateFile : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        subsystem = QStringLiteral("test.store.%1").arg(++serial);
    }

    QString path(const QString& name) const { return folder.filePath(name); }
    JSONFileStore<Note> store(const QString& name) const {
        return JSONFileStore<Note>(QUrl::fromLocalFile(path(name)), subsystem);
    }
    void put(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray contents(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList names() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name); }
    std::vector<Platform::LogEntry> logged() const { return Platform::LogStore::shared().entries(subsystem); }

    static inline int serial = 0;
    QTemporaryDir folder;
    QString subsystem;
};

TEST_F(StateFile, MissingFileGivesNothingLogsNothingCreatesNothing) {
    const JSONFileStore<Note> missing(QUrl::fromLocalFile(path(QStringLiteral("deep/er/state.json"))), subsystem);
    EXPECT_FALSE(missing.load());
    EXPECT_TRUE(names().isEmpty());
    EXPECT_TRUE(logged().empty());
    missing.remove();  // nothing to remove, nothing reported
    EXPECT_TRUE(names().isEmpty());
}

TEST_F(StateFile, SaveMakesTheFolderChainAndWritesCompactSortedText) {
    const JSONFileStore<Note> nested(QUrl::fromLocalFile(path(QStringLiteral("a/b/c/state.json"))), subsystem);
    const Note note{QStringLiteral("x/y"), sampleMoment, 3};
    nested.save(note);
    QFile file(path(QStringLiteral("a/b/c/state.json")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray(R"({"count":3,"title":"x/y","when":"2026-12-08T08:17:33Z"})"));
    EXPECT_EQ(nested.load(), note);

    // A local time with milliseconds is stored as whole UTC seconds.
    const Note local{QStringLiteral("é"), QDateTime(QDate(2026, 12, 8), QTime(9, 17, 33, 700), QTimeZone(3600)), 1};
    nested.save(local);
    ASSERT_TRUE(nested.load());
    EXPECT_EQ(nested.load()->when, sampleMoment);
    EXPECT_EQ(nested.load()->title, QStringLiteral("é"));
}

TEST_F(StateFile, UndecodableFileIsSetAsideBesideItselfAndLoggedOnce) {
    const QByteArray broken("{\"title\": \"half");
    put(QStringLiteral("state.json"), broken);
    const JSONFileStore<Note> state = store(QStringLiteral("state.json"));
    EXPECT_FALSE(state.load());

    const QStringList left = names();
    ASSERT_EQ(left.size(), 1);
    static const QRegularExpression name(QStringLiteral("^state\\.unreadable-\\d{8}-\\d{6}\\.json$"));
    EXPECT_TRUE(name.match(left.first()).hasMatch()) << left.first().toStdString();
    EXPECT_EQ(contents(left.first()), broken);

    const auto entries = logged();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].category, QStringLiteral("store"));
    EXPECT_EQ(entries[0].level, Platform::LogLevel::error);
    EXPECT_TRUE(entries[0].message.startsWith(QStringLiteral("state.json unreadable, moved to ") + left.first() + u':'))
        << entries[0].message.toStdString();
    EXPECT_TRUE(entries[0].message.contains(QStringLiteral("not valid JSON")));

    EXPECT_FALSE(state.load());
    EXPECT_EQ(logged().size(), 1u);

    // The next save writes a fresh file under the store's own name.
    state.save(Note{QStringLiteral("fresh"), sampleMoment, 0});
    EXPECT_EQ(names().size(), 2);
    EXPECT_EQ(state.load()->title, QStringLiteral("fresh"));
}

TEST_F(StateFile, ValidJSONOfAnotherShapeIsSetAsideToo) {
    for (const QByteArray& other : {QByteArray("[1,2]"), QByteArray(R"({"title":"t","count":3})"),
                                    QByteArray(R"({"title":"t","count":3.5,"when":"2026-12-08T08:17:33Z"})"),
                                    QByteArray(R"({"title":"t","count":3,"when":"2026-12-08 08:17"})"),
                                    QByteArray("7"), QByteArray("")}) {
        put(QStringLiteral("shape.json"), other);
        EXPECT_FALSE(store(QStringLiteral("shape.json")).load()) << other.toStdString();
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("shape.json")))) << other.toStdString();
    }
    EXPECT_EQ(logged().size(), 6u);
    EXPECT_EQ(names().size(), 6);  // each set aside under its own name
}

TEST_F(StateFile, TwoFailuresInTheSameSecondNeverOverwriteEachOther) {
    const QString file = path(QStringLiteral("prefs.json"));
    put(QStringLiteral("prefs.json"), "first");
    EXPECT_EQ(JSONFileStoreDetail::moveAside(file, QStringLiteral("e1"), subsystem, sampleMoment.toLocalTime()),
              QStringLiteral("prefs.unreadable-") + sampleMoment.toLocalTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) +
                  QStringLiteral(".json"));
    put(QStringLiteral("prefs.json"), "second");
    const std::optional<QString> second =
        JSONFileStoreDetail::moveAside(file, QStringLiteral("e2"), subsystem, sampleMoment.toLocalTime());
    put(QStringLiteral("prefs.json"), "third");
    const std::optional<QString> third =
        JSONFileStoreDetail::moveAside(file, QStringLiteral("e3"), subsystem, sampleMoment.toLocalTime());
    ASSERT_TRUE(second && third);
    EXPECT_TRUE(second->endsWith(QStringLiteral("-2.json"))) << second->toStdString();
    EXPECT_TRUE(third->endsWith(QStringLiteral("-3.json"))) << third->toStdString();
    EXPECT_EQ(contents(*second), "second");
    EXPECT_EQ(contents(*third), "third");
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(names().size(), 3);

    // Through the store, back to back: both survive.
    put(QStringLiteral("again.json"), "one");
    EXPECT_FALSE(store(QStringLiteral("again.json")).load());
    put(QStringLiteral("again.json"), "two");
    EXPECT_FALSE(store(QStringLiteral("again.json")).load());
    EXPECT_EQ(names().filter(QStringLiteral("again.unreadable-")).size(), 2);
}

TEST_F(StateFile, SetAsideNamesKeepAllButTheLastExtension) {
    put(QStringLiteral("plain"), "x");
    put(QStringLiteral("archive.tar.gz"), "x");
    put(QStringLiteral(".hidden"), "x");
    const QString stamp = sampleMoment.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    EXPECT_EQ(JSONFileStoreDetail::moveAside(path(QStringLiteral("plain")), {}, subsystem, sampleMoment),
              QStringLiteral("plain.unreadable-%1.json").arg(stamp));
    EXPECT_EQ(JSONFileStoreDetail::moveAside(path(QStringLiteral("archive.tar.gz")), {}, subsystem, sampleMoment),
              QStringLiteral("archive.tar.unreadable-%1.json").arg(stamp));
    EXPECT_EQ(JSONFileStoreDetail::moveAside(path(QStringLiteral(".hidden")), {}, subsystem, sampleMoment),
              QStringLiteral(".hidden.unreadable-%1.json").arg(stamp));
}

TEST_F(StateFile, AFailedMoveLeavesTheFileAndSaysSo) {
    const std::optional<QString> moved = JSONFileStoreDetail::moveAside(
        path(QStringLiteral("gone.json")), QStringLiteral("bad bytes"), subsystem, sampleMoment);
    EXPECT_FALSE(moved);
    const auto entries = logged();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].message.startsWith(QStringLiteral("gone.json unreadable (bad bytes) and not moved: ")))
        << entries[0].message.toStdString();
}

TEST_F(StateFile, AFolderInThePlaceOfTheFileIsNeitherReadNorReplaced) {
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("state.json")));
    const JSONFileStore<Note> state = store(QStringLiteral("state.json"));
    EXPECT_FALSE(state.load());
    EXPECT_EQ(names(), QStringList{QStringLiteral("state.json")});
    try {
        state.save(Note{});
        ADD_FAILURE() << "saved over a folder";
    } catch (const JSONFileStoreError& error) {
        EXPECT_EQ(error.step(), JSONFileStoreError::Step::unreadableInPlace);
    }
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("state.json"))).isDir());
    state.remove();  // a file store never deletes a folder
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("state.json"))).isDir());
}

TEST_F(StateFile, AFileThatCannotBeReadIsKeptAndTheSaveRefuses) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind the superuser";
    put(QStringLiteral("locked.json"), R"({"count":1,"title":"keep me","when":"2026-12-08T08:17:33Z"})");
    ASSERT_EQ(::chmod(QFile::encodeName(path(QStringLiteral("locked.json"))).constData(), 0200), 0);
    const JSONFileStore<Note> locked = store(QStringLiteral("locked.json"));
    EXPECT_FALSE(locked.load());
    EXPECT_EQ(names(), QStringList{QStringLiteral("locked.json")});
    EXPECT_THROW(locked.save(Note{}), JSONFileStoreError);
    ::chmod(QFile::encodeName(path(QStringLiteral("locked.json"))).constData(), 0600);
    EXPECT_EQ(locked.load()->title, QStringLiteral("keep me"));
}

TEST_F(StateFile, APipeInThePlaceOfTheFileDoesNotHangTheLoad) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(QStringLiteral("pipe.json"))).constData(), 0600), 0);
    EXPECT_FALSE(store(QStringLiteral("pipe.json")).load());
    EXPECT_THROW(store(QStringLiteral("pipe.json")).save(Note{}), JSONFileStoreError);
}

TEST_F(StateFile, ALinkToADeviceOrAnOversizedFileIsNotReadWhole) {
    ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(path(QStringLiteral("zero.json"))).constData()), 0);
    EXPECT_FALSE(store(QStringLiteral("zero.json")).load());
    {
        QFile huge(path(QStringLiteral("huge.json")));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        huge.write("{\"title\": \"");
        // Sparse: more than this machine could hold, had the load read it whole.
        ASSERT_TRUE(huge.resize(qint64{64} << 30));
    }
    EXPECT_FALSE(store(QStringLiteral("huge.json")).load());
    // Left as it is: nothing of it was read.
    EXPECT_EQ(QFileInfo(path(QStringLiteral("huge.json"))).size(), qint64{64} << 30);
}

TEST_F(StateFile, FailedSavesLeaveTheEarlierFileWhole) {
    const JSONFileStore<Note> state = store(QStringLiteral("state.json"));
    state.save(Note{QStringLiteral("earlier"), sampleMoment, 1});
    const QByteArray before = contents(QStringLiteral("state.json"));
    try {
        state.save(Note{QStringLiteral("later"), sampleMoment, 2, true});
        ADD_FAILURE() << "an encoding failure was not reported";
    } catch (const JSONFileStoreError& error) {
        EXPECT_EQ(error.step(), JSONFileStoreError::Step::encode);
        EXPECT_STREQ(error.what(), "cannot encode this note");
    }
    EXPECT_EQ(contents(QStringLiteral("state.json")), before);

    put(QStringLiteral("file"), "a file where a folder should be");
    const JSONFileStore<Note> blocked(QUrl::fromLocalFile(path(QStringLiteral("file/state.json"))), subsystem);
    try {
        blocked.save(Note{});
        ADD_FAILURE() << "a folder failure was not reported";
    } catch (const JSONFileStoreError& error) {
        EXPECT_EQ(error.step(), JSONFileStoreError::Step::createFolder);
    }
    EXPECT_FALSE(blocked.load());  // a file as a parent means no such file
    EXPECT_TRUE(logged().empty());
}

TEST(JSONCoding, BareValuesAndSortedKeysRoundTrip) {
    EXPECT_EQ(JSONCoding::encode(QJsonObject{{QStringLiteral("b"), 1}, {QStringLiteral("a"), QJsonArray{true, QJsonValue()}}}),
              QByteArray(R"({"a":[true,null],"b":1})"));
    EXPECT_EQ(JSONCoding::encode(QStringLiteral("x")), QByteArray("\"x\""));
    EXPECT_EQ(JSONCoding::decode(" 42 "), QJsonValue(42));
    EXPECT_EQ(JSONCoding::decode("null"), QJsonValue());
    EXPECT_THROW(JSONCoding::decode("1],[2"), JSONDecodingError);
    EXPECT_THROW(JSONCoding::decode("1,2"), JSONDecodingError);
    EXPECT_THROW(JSONCoding::decode(""), JSONDecodingError);
}

TEST(JSONCoding, IntegersMustBeWholeAndInRange) {
    const QString what = QStringLiteral("n");
    EXPECT_EQ(JSONCoding::integer(JSONCoding::decode("65535"), 0, 65535, what), 65535);
    EXPECT_EQ(JSONCoding::integer(JSONCoding::decode("1e2"), 0, 65535, what), 100);
    EXPECT_EQ(JSONCoding::integer(JSONCoding::decode("9223372036854775807"), INT64_MIN, INT64_MAX, what), INT64_MAX);
    EXPECT_THROW(JSONCoding::integer(JSONCoding::decode("65536"), 0, 65535, what), JSONDecodingError);
    EXPECT_THROW(JSONCoding::integer(JSONCoding::decode("-1"), 0, 65535, what), JSONDecodingError);
    EXPECT_THROW(JSONCoding::integer(JSONCoding::decode("17.5"), 0, 65535, what), JSONDecodingError);
    EXPECT_THROW(JSONCoding::integer(JSONCoding::decode("1e300"), INT64_MIN, INT64_MAX, what), JSONDecodingError);
    EXPECT_THROW(JSONCoding::integer(JSONCoding::decode("\"17\""), 0, 65535, what), JSONDecodingError);
    EXPECT_THROW(JSONCoding::required(QJsonObject{{QStringLiteral("k"), QJsonValue()}}, QStringLiteral("k")),
                 JSONDecodingError);
}

}  // namespace
