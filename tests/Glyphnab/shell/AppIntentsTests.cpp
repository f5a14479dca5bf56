#include "Glyphnab/shell/AppIntents.h"

#include "GlyphnabCore/Words.h"
#include "ZantrelKit/OwnerConfig.h"
#include "tests/Glyphnab/IntentFixture.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <unistd.h>

#include <optional>

#include <gtest/gtest.h>

namespace Glyphnab {
namespace {

using IntentFixture::qr;
using IntentFixture::textReading;
using ZantrelText::LineMode;
namespace Words = GlyphnabCore::Words;

// The failure's message, or the text when the action succeeded.
QString failureOf(QCoro::Task<QString> task) {
    try {
        TestAwait::result(std::move(task));
    } catch (const IntentFailure& failure) {
        return failure.message;
    }
    return QStringLiteral("(no failure)");
}

class AppIntentsTests : public IntentFixture::ModelOnFakes {};

TEST_F(AppIntentsTests, EveryActionBeforeLaunchHasFinishedSaysTheAppIsNotReady) {
    setSharedModel(nullptr);
    const QString name = ZantrelKit::OwnerConfig().info().value(QStringLiteral("CFBundleName"));
    ASSERT_FALSE(name.isEmpty());
    const QString expected = Words::errorNotReady(name);
    EXPECT_TRUE(expected.startsWith(name));
    EXPECT_EQ(failureOf(GrabAreaIntent{}.perform()), expected);
    EXPECT_EQ(failureOf(ReadTextInFileIntent{IntentFile::at(pictureFile(40))}.perform()), expected);
    EXPECT_EQ(failureOf(ReadCodeInFileIntent{IntentFile::bytes(IntentFixture::png(40), "a.png")}.perform()), expected);
    EXPECT_TRUE(copies().isEmpty());
}

TEST_F(AppIntentsTests, TheModelIsHeldWeakly) {
    auto model = makeModel();
    setSharedModel(model.get());
    EXPECT_EQ(sharedModel(), model.get());
    model.reset();
    EXPECT_EQ(sharedModel(), nullptr);
}

TEST_F(AppIntentsTests, TheTextActionGivesTheTextBesideCodesAndFailsWithoutAny) {
    auto model = makeModel();
    setSharedModel(model.get());
    ZantrelText::Reading onlyCode;
    onlyCode.codes = {qr(QStringLiteral("https://example.com"))};
    ZantrelText::Reading codeAndText = textReading({QStringLiteral("Scan to pay the invoice")});
    codeAndText.codes = {qr(QStringLiteral("PAY-1234"))};
    readings[40] = onlyCode;
    readings[41] = codeAndText;
    readings[42] = textReading({QStringLiteral("Plain words only")});

    EXPECT_EQ(failureOf(ReadTextInFileIntent{IntentFile::at(pictureFile(40))}.perform()), Words::noticeNothingFile());
    EXPECT_EQ(TestAwait::result(ReadTextInFileIntent{IntentFile::at(pictureFile(41))}.perform()),
              u"Scan to pay the invoice");
    EXPECT_EQ(TestAwait::result(ReadTextInFileIntent{IntentFile::at(pictureFile(42))}.perform()), u"Plain words only");
    // Files with a place on disk are read there: nothing was copied.
    EXPECT_TRUE(copiesWhileReading.isEmpty());
    // The file actions leave the clipboard and the recent grabs alone.
    EXPECT_EQ(board->writeCount(), 0);
    EXPECT_TRUE(model->recents().items().isEmpty());
}

TEST_F(AppIntentsTests, TheCodeActionGivesEveryDistinctPayloadAndFailsOnText) {
    auto model = makeModel();
    setSharedModel(model.get());
    ZantrelText::Reading twoCodes;
    twoCodes.codes = {qr(QStringLiteral("first")), qr(QStringLiteral("second"))};
    readings[50] = twoCodes;
    readings[51] = textReading({QStringLiteral("No code on this page")});

    EXPECT_EQ(TestAwait::result(ReadCodeInFileIntent{IntentFile::at(pictureFile(50))}.perform()), u"first\nsecond");
    EXPECT_EQ(failureOf(ReadCodeInFileIntent{IntentFile::at(pictureFile(51))}.perform()), Words::errorNoCode());
}

TEST_F(AppIntentsTests, UnreadableFilesAndFailedReadingsGiveTheModelsMessages) {
    auto model = makeModel();
    setSharedModel(model.get());
    const QString notes = files.filePath(QStringLiteral("notes.txt"));
    QFile(notes).open(QIODevice::WriteOnly);
    EXPECT_EQ(failureOf(ReadTextInFileIntent{IntentFile::at(QUrl::fromLocalFile(notes))}.perform()),
              Words::errorFileDetail());
    // Trouble other than the wrong type is named with the file, not answered with advice
    // to pick another type.
    EXPECT_EQ(failureOf(ReadTextInFileIntent{IntentFile::at(QUrl::fromLocalFile(files.filePath("gone.png")))}.perform()),
              QStringLiteral("gone.png: no such file"));
    // No reading is set up for this width: the reader throws.
    EXPECT_EQ(failureOf(ReadCodeInFileIntent{IntentFile::at(pictureFile(99))}.perform()), Words::errorRead());
}

TEST_F(AppIntentsTests, DataIsCopiedUnderItsLastNameAndTheFolderGoesAfterwards) {
    auto model = makeModel();
    setSharedModel(model.get());
    readings[60] = textReading({QStringLiteral("Copied and read")});

    const IntentFile handed = IntentFile::bytes(IntentFixture::png(60), QStringLiteral("Holiday/scans/receipt.png"));
    EXPECT_EQ(TestAwait::result(ReadTextInFileIntent{handed}.perform()), u"Copied and read");
    ASSERT_EQ(copiesWhileReading.size(), 2);
    const QString folder = copiesWhileReading.front();
    EXPECT_EQ(folder, folder.toUpper());
    EXPECT_FALSE(QUuid::fromString(folder).isNull());
    EXPECT_EQ(copiesWhileReading.back(), folder + QStringLiteral("/receipt.png"));
    EXPECT_TRUE(copies().isEmpty());
}

TEST_F(AppIntentsTests, TheCopyIsRemovedWhenTheReadingFails) {
    auto model = makeModel();
    setSharedModel(model.get());
    // "." becomes "File", which names no picture type: the model cannot read it.
    EXPECT_EQ(failureOf(ReadTextInFileIntent{IntentFile::bytes(IntentFixture::png(61), ".")}.perform()),
              Words::errorFileDetail());
    EXPECT_TRUE(copies().isEmpty());
    // A picture the reader fails on.
    EXPECT_EQ(failureOf(ReadTextInFileIntent{IntentFile::bytes(IntentFixture::png(62), "x.png")}.perform()),
              Words::errorRead());
    ASSERT_EQ(copiesWhileReading.size(), 2);
    EXPECT_TRUE(copiesWhileReading.back().endsWith(u"/x.png"));
    EXPECT_TRUE(copies().isEmpty());
}

TEST_F(AppIntentsTests, ANamelessFileOfAKnownTypeIsReadAsFileWithItsExtension) {
    auto model = makeModel();
    setSharedModel(model.get());
    readings[63] = textReading({QStringLiteral("From standard input")});
    EXPECT_EQ(TestAwait::result(
                  ReadTextInFileIntent{IntentFile::bytes(IntentFixture::png(63), {}, QStringLiteral("image/png"))}
                      .perform()),
              u"From standard input");
    ASSERT_EQ(copiesWhileReading.size(), 2);
    EXPECT_TRUE(copiesWhileReading.back().endsWith(u"/File.png"));
    EXPECT_TRUE(copies().isEmpty());
}

TEST_F(AppIntentsTests, EmptyDataFailsWithoutWritingAnything) {
    auto model = makeModel();
    setSharedModel(model.get());
    EXPECT_EQ(failureOf(ReadCodeInFileIntent{IntentFile::bytes({}, QStringLiteral("a.png"))}.perform()),
              Words::errorFileDetail());
    EXPECT_FALSE(QFileInfo::exists(QDir(temp.path()).filePath(TemporaryCopy::folderName)));
}

TEST_F(AppIntentsTests, SeveralFilesAreReadInOnePassInOrder) {
    auto model = makeModel();
    setSharedModel(model.get());
    readings[70] = textReading({QStringLiteral("Page one")});
    readings[71] = textReading({QStringLiteral("Page two")});
    const QString text = TestAwait::result(readTextInFiles(
        {IntentFile::at(pictureFile(70)), IntentFile::bytes(IntentFixture::png(71), QStringLiteral("two.png"))}));
    EXPECT_TRUE(text.indexOf(u"Page one") < text.indexOf(u"Page two")) << text.toStdString();
    EXPECT_TRUE(copies().isEmpty());
}

TEST_F(AppIntentsTests, TheAreaActionGivesTheTextWithThePreferredLineHandling) {
    auto model = makeModel();
    setSharedModel(model.get());
    const ZantrelText::Reading reading =
        textReading({QStringLiteral("The first line of a paragraph that runs on and on"),
                     QStringLiteral("and its second line that ends the sentence here.")});
    ASSERT_NE(reading.text(LineMode::join), reading.text(LineMode::keep));
    readings[grabWidth] = reading;
    for (const LineMode mode : {LineMode::join, LineMode::keep}) {
        GlyphnabCore::Preferences prefs = model->prefs();
        prefs.lineMode = mode;
        model->setPrefs(prefs);
        EXPECT_EQ(TestAwait::result(GrabAreaIntent{}.perform()), reading.text(mode));
    }
}

TEST_F(AppIntentsTests, TheAreaActionPassesTheModelsRefusalsOn) {
    auto model = makeModel();
    setSharedModel(model.get());
    pickAnswer.reset();
    EXPECT_EQ(failureOf(GrabAreaIntent{}.perform()), Words::errorNothingPicked());
    allowed = false;
    EXPECT_EQ(failureOf(GrabAreaIntent{}.perform()), Words::grantDetail(model->appName()));
}

TEST_F(AppIntentsTests, StoppingTheAreaActionEndsThePickAndCopiesNothing) {
    clock.setAutoAdvance(false);  // the minute's limit never comes
    auto model = makeModel();
    setSharedModel(model.get());
    pickWaitsForCancel = true;
    std::stop_source caller;
    auto grab = GrabAreaIntent{}.perform(caller.get_token());
    ASSERT_TRUE(TestSupport::waitUntil([&] { return model->picking(); }));
    caller.request_stop();
    EXPECT_EQ(failureOf(std::move(grab)), Words::errorStopped());
    EXPECT_EQ(cancelledPicks, 1);
    EXPECT_FALSE(model->picking());
    EXPECT_EQ(board->writeCount(), 0);
}

TEST(TemporaryCopyNames, KeepOnlyTheLastComponentAndNameTheNameless) {
    EXPECT_EQ(TemporaryCopy::copyName(QStringLiteral("a/b/scan.png")), u"scan.png");
    EXPECT_EQ(TemporaryCopy::copyName(QStringLiteral("scan.png")), u"scan.png");
    EXPECT_EQ(TemporaryCopy::copyName(QStringLiteral("folder/")), u"folder");
    EXPECT_EQ(TemporaryCopy::copyName(QStringLiteral(".")), u"File");
    EXPECT_EQ(TemporaryCopy::copyName(QStringLiteral("..")), u"File");
    EXPECT_EQ(TemporaryCopy::copyName(QStringLiteral("a/..")), u"File");
    EXPECT_EQ(TemporaryCopy::copyName(QString()), u"File");
    EXPECT_EQ(TemporaryCopy::copyName(QStringLiteral("/")), u"File");
    // A known type adds its extension only where the name lacks it.
    EXPECT_EQ(TemporaryCopy::copyName(QString(), QStringLiteral("application/pdf")), u"File.pdf");
    EXPECT_EQ(TemporaryCopy::copyName(QStringLiteral("report.PDF"), QStringLiteral("application/pdf")), u"report.PDF");
    EXPECT_EQ(TemporaryCopy::copyName(QStringLiteral("shot.jpg"), QStringLiteral("image/jpeg")), u"shot.jpg");
    EXPECT_EQ(TemporaryCopy::copyName(QStringLiteral("shot"), QStringLiteral("image/png")), u"shot.png");
    EXPECT_EQ(TemporaryCopy::copyName(QStringLiteral("shot"), QStringLiteral("no/such-type")), u"shot");
}

TEST(TemporaryCopies, AreOwnerOnlyAndLeaveNothingWhenTheyCannotBeWritten) {
    QTemporaryDir root;
    {
        std::optional<TemporaryCopy> copy;
        copy.emplace(QByteArrayLiteral("bytes"), QStringLiteral("x.png"), QString(), root.path());
        EXPECT_TRUE(QFileInfo(copy->path()).isFile());
        const QFile::Permissions others = QFile::ReadOther | QFile::ReadGroup | QFile::ExeOther | QFile::ExeGroup;
        EXPECT_EQ(QFileInfo(copy->folder()).permissions() & others, QFile::Permissions());
        const TemporaryCopy moved(std::move(*copy));
        copy.reset();
        EXPECT_TRUE(QFileInfo(moved.path()).isFile());
    }
    const QString shared = QDir(root.path()).filePath(TemporaryCopy::folderName);
    EXPECT_TRUE(QDir(shared).isEmpty());

    // A name the file system refuses: the fresh folder goes again.
    EXPECT_THROW((void)TemporaryCopy(QByteArrayLiteral("bytes"), QString(300, u'n'), QString(), root.path()),
                 IntentFileError);
    EXPECT_TRUE(QDir(shared).isEmpty());

    // A folder that cannot be written to (the superuser writes anyway).
    if (geteuid() != 0) {
        QFile::setPermissions(shared, QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_THROW((void)TemporaryCopy(QByteArrayLiteral("bytes"), QStringLiteral("x.png"), QString(), root.path()),
                     IntentFileError);
        QFile::setPermissions(shared, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_TRUE(QDir(shared).isEmpty());
    }
}

TEST(TemporaryCopies, RefuseAPlantedLinkInsteadOfTheirFolder) {
    QTemporaryDir root, elsewhere;
    ASSERT_TRUE(QFile::link(elsewhere.path(), QDir(root.path()).filePath(TemporaryCopy::folderName)));
    EXPECT_THROW((void)TemporaryCopy(QByteArrayLiteral("bytes"), QStringLiteral("x.png"), QString(), root.path()),
                 IntentFileError);
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());
}

TEST(TemporaryCopies, AnInterruptedProcessRemovesTheCopiesThatAreLeft) {
    QTemporaryDir root;
    auto copy = std::make_unique<TemporaryCopy>(QByteArrayLiteral("bytes"), QStringLiteral("x.png"), QString(),
                                                root.path());
    const QString folder = copy->folder();
    TemporaryCopy::removeAll();
    EXPECT_FALSE(QFileInfo::exists(folder));
    copy.reset();  // nothing left to remove, and no failure
    EXPECT_FALSE(QFileInfo::exists(folder));
}

}  // namespace
}  // namespace Glyphnab
