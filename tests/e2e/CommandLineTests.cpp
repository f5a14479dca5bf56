// The built program's commands as a shell runs them: streams and exit codes, reading
// here without a running app (and without a display), and forwarding to a running one
// that this test plays on a private session bus.

#include "Glyphnab/shell/AppBus.h"
#include "Glyphnab/shell/AppIntents.h"
#include "tests/support/BadInputs.h"
#include "tests/support/TestSupport.h"
#include "tests/support/XvfbSession.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace {

using namespace std::chrono_literals;
using TestSupport::CommandResult;
using TestSupport::XvfbSession;

const QString app = QStringLiteral(GLYPHNAB_APP_PATH);
const QString notAPicture = QStringLiteral("not a picture or a PDF");
const QString sentence = QStringLiteral("Invoice 2041 is due on Friday");
const QString payload = QStringLiteral("https://glyphnab.org/e2e");

QImage textPicture(const QString& text) {
    QImage picture(640, 80, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(24);
    painter.setFont(font);
    painter.setPen(QColor(0x20, 0x20, 0x20));
    painter.drawText(QPointF(24, 50), text);
    return picture;
}

QImage codePicture(const QString& content) {
    const ZXing::BitMatrix matrix =
        ZXing::MultiFormatWriter(ZXing::BarcodeFormat::QRCode).setMargin(4).encode(content.toStdString(), 240, 240);
    QImage picture(matrix.width(), matrix.height(), QImage::Format_RGB32);
    for (int y = 0; y < matrix.height(); ++y)
        for (int x = 0; x < matrix.width(); ++x)
            picture.setPixel(x, y, matrix.get(x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return picture;
}

// Two pages whose text layer holds one line each.
void writePdf(const QString& path, const QStringList& pages) {
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QSizeF(300, 200), QPageSize::Point));
    QPainter painter(&writer);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(14);
    painter.setFont(font);
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        painter.drawText(QPointF(30, 60), pages[i]);
    }
}

QByteArray pngBytes(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

class CommandLineEndToEnd : public testing::Test {
protected:
    static void SetUpTestSuite() {
        session = std::make_unique<XvfbSession>(640, 480);
        samples = std::make_unique<QTemporaryDir>();
        textPicture(sentence).save(sample("invoice.png"));
        codePicture(payload).save(sample("qr.png"));
        writePdf(sample("minutes.pdf"), {QStringLiteral("Minutes of the first meeting"),
                                         QStringLiteral("Actions agreed for next week")});
        QDir().mkpath(temporary());
        QFile notes(sample("notes.txt"));
        notes.open(QIODevice::WriteOnly);
        notes.write("plain words, not a picture\n");
    }
    static void TearDownTestSuite() {
        samples.reset();
        session.reset();
    }
    void SetUp() override {
        if (!session->isRunning())
            GTEST_SKIP() << session->error().toStdString();
    }

    static QString temporary() { return sample("tmp"); }
    static QString sample(const char* name) { return QDir(samples->path()).filePath(QString::fromUtf8(name)); }

    // Runs the program to its end while this process goes on answering the bus.
    static CommandResult run(const QStringList& arguments, const QByteArray& input = {},
                             QProcessEnvironment environment = session->environment()) {
        // Temporary copies go to a folder of this test's own, where they can be looked for.
        environment.insert(QStringLiteral("TMPDIR"), temporary());
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(samples->path());
        process.start(app, arguments);
        CommandResult result;
        if (!process.waitForStarted(30000))
            return result;
        if (!input.isEmpty())
            process.write(input);
        process.closeWriteChannel();
        const bool ended = TestSupport::waitUntil([&] { return process.state() == QProcess::NotRunning; }, 60s);
        if (!ended) {
            process.kill();
            process.waitForFinished(3000);
        }
        result.finished = ended && process.exitStatus() == QProcess::NormalExit;
        result.exitCode = process.exitCode();
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    static inline std::unique_ptr<XvfbSession> session;
    static inline std::unique_ptr<QTemporaryDir> samples;
};

TEST_F(CommandLineEndToEnd, ReadPrintsTheTextOfAPictureWithoutARunningApp) {
    const CommandResult result = run({QStringLiteral("read"), QStringLiteral("invoice.png")});
    ASSERT_TRUE(result.finished) << result.err.toStdString();
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, sentence + u'\n');
    EXPECT_EQ(result.err, QString());

    // Several files in one pass, a PDF's pages after the picture.
    const CommandResult both = run({QStringLiteral("read"), QStringLiteral("invoice.png"), sample("minutes.pdf")});
    EXPECT_EQ(both.exitCode, 0) << both.err.toStdString();
    const qsizetype picture = both.out.indexOf(sentence);
    const qsizetype first = both.out.indexOf(u"Minutes of the first meeting");
    const qsizetype second = both.out.indexOf(u"Actions agreed for next week");
    EXPECT_TRUE(picture >= 0 && picture < first && first < second) << both.out.toStdString();
}

TEST_F(CommandLineEndToEnd, ReadAndCodeNeedNeitherADisplayNorABus) {
    QProcessEnvironment bare = session->environment();
    bare.remove(QStringLiteral("DISPLAY"));
    bare.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    bare.remove(QStringLiteral("QT_QPA_PLATFORM"));
    const CommandResult text = run({QStringLiteral("read"), sample("invoice.png")}, {}, bare);
    EXPECT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_EQ(text.out.trimmed(), sentence);
    const CommandResult code = run({QStringLiteral("code"), QStringLiteral("qr.png")}, {}, bare);
    EXPECT_EQ(code.exitCode, 0) << code.err.toStdString();
    EXPECT_EQ(code.out, payload + u'\n');
}

TEST_F(CommandLineEndToEnd, FailuresNameTheFileOnStandardErrorWithANonZeroExit) {
    const CommandResult notes = run({QStringLiteral("read"), QStringLiteral("notes.txt")});
    EXPECT_EQ(notes.exitCode, 1);
    EXPECT_EQ(notes.out, QString());
    EXPECT_EQ(notes.err, QStringLiteral("glyphnab: notes.txt: not a picture or a PDF\n"));

    const CommandResult missing = run({QStringLiteral("code"), QStringLiteral("no-such-file.png")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, QStringLiteral("glyphnab: no-such-file.png: no such file\n"));

    const CommandResult folder = run({QStringLiteral("read"), QStringLiteral("tmp")});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_EQ(folder.err, QStringLiteral("glyphnab: tmp: not a file\n"));

    // A picture of a code alone says what the code reads.
    const CommandResult onlyCode = run({QStringLiteral("read"), QStringLiteral("qr.png")});
    EXPECT_EQ(onlyCode.exitCode, 1);
    EXPECT_EQ(onlyCode.err, QStringLiteral("glyphnab: qr.png: No text found; its QR code reads: %1\n").arg(payload));

    const CommandResult noCode = run({QStringLiteral("code"), QStringLiteral("invoice.png")});
    EXPECT_EQ(noCode.exitCode, 1);
    EXPECT_EQ(noCode.err, QStringLiteral("glyphnab: invoice.png: No QR code or barcode found in that file.\n"));

    const CommandResult grab = run({QStringLiteral("grab")});
    EXPECT_EQ(grab.exitCode, 1);
    EXPECT_TRUE(grab.err.startsWith(u"glyphnab: Glyphnab isn't ready yet.")) << grab.err.toStdString();
}

TEST_F(CommandLineEndToEnd, OneBadFileAmongGoodOnesStillPrintsTheGoodOnesAndFails) {
    const CommandResult result = run({QStringLiteral("read"), QStringLiteral("invoice.png"), QStringLiteral("missing.png"),
                                      QStringLiteral("notes.txt"), sample("minutes.pdf")});
    EXPECT_EQ(result.exitCode, 1);
    // The texts in order, a blank line between files.
    EXPECT_EQ(result.out, sentence + QStringLiteral("\n\nMinutes of the first meeting\n\nActions agreed for next week\n"));
    EXPECT_EQ(result.err, QStringLiteral("glyphnab: missing.png: no such file\n"
                                         "glyphnab: notes.txt: not a picture or a PDF\n"));
}

TEST_F(CommandLineEndToEnd, BrokenAndLockedFilesSayWhatIsWrongAndNothingElse) {
    // A picture with text drawn by the SVG reader, which needs fonts: as a file and piped.
    const QString svg = sample("note.svg");
    {
        QFile file(svg);
        file.open(QIODevice::WriteOnly);
        file.write(BadInputs::svgWithText(sentence));
    }
    for (const CommandResult& result : {run({QStringLiteral("read"), svg}),
                                        run({QStringLiteral("read"), QStringLiteral("-")}, BadInputs::svgWithText(sentence))}) {
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(result.out.trimmed(), sentence);
        EXPECT_EQ(result.err, QString());
    }

    // Cut short: what was there is printed, and the decoder's own complaints are not.
    const QString cut = sample("cut.jpg");
    {
        QFile file(cut);
        file.open(QIODevice::WriteOnly);
        file.write(BadInputs::cutJpeg(BadInputs::textPicture(sentence, {640, 480}), 0.7));
    }
    const CommandResult partial = run({QStringLiteral("read"), QStringLiteral("cut.jpg")});
    EXPECT_EQ(partial.exitCode, 1);
    EXPECT_EQ(partial.out, sentence + u'\n');
    EXPECT_EQ(partial.err, QStringLiteral("glyphnab: cut.jpg: is cut short; read what was there\n"));

    const QString locked = sample("locked.pdf");
    {
        QFile file(locked);
        file.open(QIODevice::WriteOnly);
        file.write(BadInputs::pdfWithPassword());
    }
    const CommandResult password = run({QStringLiteral("read"), QStringLiteral("locked.pdf")});
    EXPECT_EQ(password.exitCode, 1);
    EXPECT_EQ(password.out, QString());
    EXPECT_EQ(password.err, QStringLiteral("glyphnab: locked.pdf: is protected by a password\n"));

    // A PDF's text layer ends its lines with "\n" alone.
    const CommandResult layer = run({QStringLiteral("read"), QStringLiteral("minutes.pdf")});
    EXPECT_EQ(layer.exitCode, 0);
    EXPECT_FALSE(layer.out.contains(u'\r'));
}

TEST_F(CommandLineEndToEnd, HelpOnEveryCommandExitsZero) {
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--help")}, QStringList{QStringLiteral("-h")}, QStringList{QStringLiteral("help")},
          QStringList{QStringLiteral("read"), QStringLiteral("--help")},
          QStringList{QStringLiteral("read"), QStringLiteral("a.png"), QStringLiteral("-h")},
          QStringList{QStringLiteral("code"), QStringLiteral("-h")}, QStringList{QStringLiteral("grab"), QStringLiteral("--help")}}) {
        const CommandResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 0) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.out.startsWith(u"Usage: glyphnab")) << result.out.toStdString();
        EXPECT_EQ(result.err, QString());
    }
    // After "--" it is a file's name.
    const CommandResult named = run({QStringLiteral("read"), QStringLiteral("--"), QStringLiteral("-h")});
    EXPECT_EQ(named.exitCode, 1);
    EXPECT_EQ(named.err, QStringLiteral("glyphnab: -h: no such file\n"));
}

TEST_F(CommandLineEndToEnd, StandardInputIsReadByItsContent) {
    const CommandResult result = run({QStringLiteral("read"), QStringLiteral("-")}, pngBytes(textPicture(sentence)));
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out.trimmed(), sentence);
    const CommandResult words = run({QStringLiteral("code"), QStringLiteral("-")}, QByteArrayLiteral("hello\n"));
    EXPECT_EQ(words.exitCode, 1);
    EXPECT_EQ(words.err, QStringLiteral("glyphnab: standard input: not a picture or a PDF\n"));
    // Nothing of either is left in the temporary folder.
    const QString copies = QDir(temporary()).filePath(Glyphnab::TemporaryCopy::folderName);
    EXPECT_TRUE(QFileInfo(copies).isDir());
    EXPECT_TRUE(QDir(copies).isEmpty());
}

TEST_F(CommandLineEndToEnd, MisuseShowsTheUsageWithExitTwo) {
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("reed"), QStringLiteral("a.png")}, QStringList{QStringLiteral("read")},
          QStringList{QStringLiteral("code"), QStringLiteral("a.png"), QStringLiteral("b.png")},
          QStringList{QStringLiteral("grab"), QStringLiteral("--now")}}) {
        const CommandResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.err.contains(u"Usage: glyphnab")) << result.err.toStdString();
        EXPECT_EQ(result.out, QString());
    }
    const CommandResult version = run({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith(u"Glyphnab ")) << version.out.toStdString();
}

// What the running app is asked, played by this test.
struct RunningApp {
    QStringList reads;
    QString codeAsked;
    bool copyExisted = false;
    int grabs = 0;
};

TEST_F(CommandLineEndToEnd, CommandsGoToTheRunningApp) {
    auto asked = std::make_shared<RunningApp>();
    Glyphnab::AppBusTarget target;
    target.grab = [asked](std::stop_token) -> QCoro::Task<QString> {
        ++asked->grabs;
        co_return QStringLiteral("grabbed by the running app");
    };
    target.read = [asked](QList<QUrl> urls, std::stop_token) -> QCoro::Task<QString> {
        for (const QUrl& url : urls) {
            asked->reads.append(url.toLocalFile());
            asked->copyExisted = asked->copyExisted || QFileInfo(url.toLocalFile()).isFile();
        }
        co_return QStringLiteral("read by the running app");
    };
    target.code = [asked](QUrl url) -> QCoro::Task<QString> {
        asked->codeAsked = url.toLocalFile();
        // The app names a file it could not read, as it was handed to it.
        const QString name = QFileInfo(url.toLocalFile()).fileName();
        if (name.startsWith(u"named"))
            throw Glyphnab::IntentFailure(name + QStringLiteral(": is damaged and could not be read"));
        throw Glyphnab::IntentFailure(QStringLiteral("No QR code or barcode found in that file."));
        co_return QString();
    };
    const QString address = session->environment().value(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    {
        Glyphnab::AppBus bus(target, QDBusConnection::connectToBus(address, QStringLiteral("running-app")));
        ASSERT_TRUE(bus.exportObject());
        ASSERT_TRUE(bus.claimName());

        const CommandResult read = run({QStringLiteral("read"), QStringLiteral("invoice.png")});
        EXPECT_EQ(read.exitCode, 0) << read.err.toStdString();
        EXPECT_EQ(read.out, QStringLiteral("read by the running app\n"));
        EXPECT_EQ(asked->reads, QStringList{sample("invoice.png")});

        const CommandResult code = run({QStringLiteral("code"), QStringLiteral("invoice.png")});
        EXPECT_EQ(code.exitCode, 1);
        EXPECT_EQ(code.err, QStringLiteral("glyphnab: invoice.png: No QR code or barcode found in that file.\n"));
        EXPECT_EQ(asked->codeAsked, sample("invoice.png"));
        // Named once, with what a terminal would act on escaped.
        QFile::copy(sample("invoice.png"), sample("named\a\n.png"));
        const CommandResult named = run({QStringLiteral("code"), QStringLiteral("named\a\n.png")});
        EXPECT_EQ(named.err.toStdString(), "glyphnab: named\\x07\\n.png: is damaged and could not be read\n");

        const CommandResult grab = run({QStringLiteral("grab")});
        EXPECT_EQ(grab.exitCode, 0) << grab.err.toStdString();
        EXPECT_EQ(grab.out, QStringLiteral("grabbed by the running app\n"));

        // Standard input reaches it as a copy that exists for the call and is gone after.
        asked->reads.clear();
        const CommandResult piped =
            run({QStringLiteral("read"), QStringLiteral("-")}, pngBytes(textPicture(sentence)));
        EXPECT_EQ(piped.exitCode, 0) << piped.err.toStdString();
        ASSERT_EQ(asked->reads.size(), 1);
        EXPECT_TRUE(asked->reads.front().contains(Glyphnab::TemporaryCopy::folderName));
        EXPECT_TRUE(asked->reads.front().endsWith(u"/File.png"));
        EXPECT_TRUE(asked->copyExisted);
        EXPECT_FALSE(QFileInfo::exists(asked->reads.front()));
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("running-app"));
}

}  // namespace

TEST_F(CommandLineEndToEnd, AnAppThatDoesNotAnswerHoldsUpNeitherReadingNorGrabbing) {
    Glyphnab::AppBusTarget target;
    target.read = [](QList<QUrl>, std::stop_token) -> QCoro::Task<QString> { co_return QStringLiteral("never"); };
    target.grab = [](std::stop_token) -> QCoro::Task<QString> { co_return QStringLiteral("never"); };
    const QString address = session->environment().value(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    {
        Glyphnab::AppBus bus(target, QDBusConnection::connectToBus(address, QStringLiteral("hung-app")));
        ASSERT_TRUE(bus.exportObject());
        ASSERT_TRUE(bus.claimName());
        // The command runs while this thread answers nothing: the app it finds is hung.
        const auto runHung = [](const QStringList& arguments) {
            QProcess process;
            QProcessEnvironment environment = session->environment();
            environment.insert(QStringLiteral("TMPDIR"), temporary());
            process.setProcessEnvironment(environment);
            process.setWorkingDirectory(samples->path());
            process.start(app, arguments);
            CommandResult result;
            result.finished = process.waitForFinished(60'000);
            if (!result.finished)
                process.kill();
            process.waitForFinished(3000);
            result.exitCode = process.exitCode();
            result.out = QString::fromUtf8(process.readAllStandardOutput());
            result.err = QString::fromUtf8(process.readAllStandardError());
            return result;
        };
        // Reading needs no app: it is done here.
        const CommandResult read = runHung({QStringLiteral("read"), QStringLiteral("invoice.png")});
        EXPECT_TRUE(read.finished);
        EXPECT_EQ(read.exitCode, 0) << read.err.toStdString();
        EXPECT_EQ(read.out, sentence + u'\n');
        // A grab does, and says it does not answer.
        const CommandResult grab = runHung({QStringLiteral("grab")});
        EXPECT_TRUE(grab.finished);
        EXPECT_EQ(grab.exitCode, 1);
        EXPECT_EQ(grab.err, QStringLiteral("glyphnab: the running app does not answer\n"));
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("hung-app"));
}
