#include "ZantrelKit/documents/SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

using namespace ZantrelKit;
using namespace Qt::Literals::StringLiterals;

namespace {

TakenTest takenNames(std::set<QString> names) {
    return [names = std::move(names)](const QUrl& url) { return names.count(url.fileName()) > 0; };
}

const TakenTest nothingTaken = [](const QUrl&) { return false; };

TEST(OutputNaming, BesideTheSourceWithSuffixAndCounter) {
    const QUrl source = QUrl::fromLocalFile(u"/docs/Report.pdf"_s);
    const QString compressed = u"compressed"_s;
    EXPECT_EQ(OutputNaming::url(source, compressed, u"pdf"_s, std::nullopt, nothingTaken),
              QUrl::fromLocalFile(u"/docs/Report compressed.pdf"_s));
    EXPECT_EQ(OutputNaming::url(source, compressed, u"pdf"_s, std::nullopt, takenNames({u"Report compressed.pdf"_s})),
              QUrl::fromLocalFile(u"/docs/Report compressed 2.pdf"_s));
    EXPECT_EQ(OutputNaming::url(source, compressed, u"pdf"_s, std::nullopt,
                                takenNames({u"Report compressed.pdf"_s, u"Report compressed 2.pdf"_s})),
              QUrl::fromLocalFile(u"/docs/Report compressed 3.pdf"_s));
    EXPECT_EQ(OutputNaming::url(source, u""_s, u"txt"_s, QUrl::fromLocalFile(u"/out/"_s), nothingTaken),
              QUrl::fromLocalFile(u"/out/Report .txt"_s));
}

TEST(OutputNaming, NeverTheSourceItself) {
    EXPECT_EQ(OutputNaming::url(QUrl::fromLocalFile(u"/docs/Report.pdf"_s), std::nullopt, u"pdf"_s, std::nullopt,
                                nothingTaken),
              QUrl::fromLocalFile(u"/docs/Report 2.pdf"_s));
    EXPECT_EQ(OutputNaming::url(QUrl::fromLocalFile(u"/docs/./report.PDF"_s), std::nullopt, u"pdf"_s, std::nullopt,
                                nothingTaken),
              QUrl::fromLocalFile(u"/docs/report 2.pdf"_s));
    // Another folder holds no source to skip.
    EXPECT_EQ(OutputNaming::url(QUrl::fromLocalFile(u"/docs/Report.pdf"_s), std::nullopt, u"pdf"_s,
                                QUrl::fromLocalFile(u"/else"_s), nothingTaken),
              QUrl::fromLocalFile(u"/else/Report.pdf"_s));
}

TEST(OutputNaming, InAFolder) {
    const QUrl folder = QUrl::fromLocalFile(u"/out"_s);
    EXPECT_EQ(OutputNaming::url(folder, u"Scan"_s, u"pdf"_s, takenNames({u"Scan.pdf"_s})),
              QUrl::fromLocalFile(u"/out/Scan 2.pdf"_s));
    EXPECT_EQ(OutputNaming::url(folder, u"Scan"_s, u""_s, takenNames({u"Scan"_s, u"Scan 2"_s})),
              QUrl::fromLocalFile(u"/out/Scan 3"_s));
}

class SafeWriting : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QString path(const QString& name) const { return folder.filePath(name); }
    QUrl url(const QString& name) const { return QUrl::fromLocalFile(path(name)); }
    QStringList names(const QString& sub = {}) const {
        return QDir(path(sub)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    static QByteArray contents(const QUrl& url) {
        QFile file(url.toLocalFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static void put(const QUrl& url, const QByteArray& bytes) {
        QFile file(url.toLocalFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::NewOnly));
        file.write(bytes);
    }
    static OutputWriter writing(const QByteArray& bytes) {
        return [bytes](const QUrl& target) { put(target, bytes); };
    }

    QTemporaryDir folder;
};

TEST_F(SafeWriting, WritesBesideTheSourceUnderAFreeNameAndLeavesNothingElse) {
    put(url(u"Report.pdf"_s), "source");
    const QUrl first = SafeWrite::write(url(u"Report.pdf"_s), u"compressed"_s, u"pdf"_s, std::nullopt, writing("one"));
    const QUrl second = SafeWrite::write(url(u"Report.pdf"_s), u"compressed"_s, u"pdf"_s, std::nullopt, writing("two"));
    EXPECT_EQ(first, url(u"Report compressed.pdf"_s));
    EXPECT_EQ(second, url(u"Report compressed 2.pdf"_s));
    EXPECT_EQ(contents(first), "one");
    EXPECT_EQ(contents(second), "two");
    EXPECT_EQ(contents(url(u"Report.pdf"_s)), "source");
    EXPECT_EQ(names(), (QStringList{u"Report compressed 2.pdf"_s, u"Report compressed.pdf"_s, u"Report.pdf"_s}));
}

TEST_F(SafeWriting, MakesMissingFoldersOnlyOnceTheOutputIsWhole) {
    const QUrl written = SafeWrite::write(url(u"a/b"_s), u"Scan"_s, u"txt"_s, [&](const QUrl& target) {
        EXPECT_FALSE(QFileInfo::exists(path(u"a/b"_s)));
        put(target, "text");
    });
    EXPECT_EQ(written, url(u"a/b/Scan.txt"_s));
    EXPECT_EQ(contents(written), "text");
    EXPECT_EQ(names(), QStringList{u"a"_s});
    EXPECT_EQ(names(u"a"_s), QStringList{u"b"_s});
}

TEST_F(SafeWriting, WriterErrorsPassThroughAndNothingShows) {
    struct Refused : std::runtime_error {
        using std::runtime_error::runtime_error;
    };
    const auto halfThenFail = [](const QUrl& target) {
        put(target, "half");
        throw Refused("disk on fire");
    };
    EXPECT_THROW(SafeWrite::write(url(u"out"_s), u"Scan"_s, u"pdf"_s, halfThenFail), Refused);
    EXPECT_TRUE(names().isEmpty());
}

TEST_F(SafeWriting, AWriterThatWritesNothingCannotSave) {
    put(url(u"Report.pdf"_s), "source");
    EXPECT_THROW(SafeWrite::write(url(u"Report.pdf"_s), std::nullopt, u"pdf"_s, std::nullopt, [](const QUrl&) {}),
                 SafeWriteError);
    EXPECT_EQ(names(), QStringList{u"Report.pdf"_s});
}

TEST_F(SafeWriting, AFolderThatCannotBeMadeCannotSave) {
    put(url(u"blocker"_s), "a file where the folder should be");
    try {
        SafeWrite::write(url(u"blocker/inner"_s), u"Scan"_s, u"pdf"_s, writing("x"));
        ADD_FAILURE() << "saved";
    } catch (const SafeWriteError& error) {
        EXPECT_EQ(error, SafeWriteError::cantSave());
    }
    EXPECT_EQ(names(), QStringList{u"blocker"_s});
}

TEST_F(SafeWriting, ANameTakenWhileWritingMovesTheOutputToTheNextFreeName) {
    // Another program saves under the chosen name while this output is being written.
    const QUrl written = SafeWrite::write(url(u""_s), u"Scan"_s, u"pdf"_s, [&](const QUrl& target) {
        put(url(u"Scan.pdf"_s), "theirs");
        put(target, "ours");
    });
    EXPECT_EQ(written, url(u"Scan 2.pdf"_s));
    EXPECT_EQ(contents(url(u"Scan.pdf"_s)), "theirs");
    EXPECT_EQ(contents(written), "ours");
}

}  // namespace
