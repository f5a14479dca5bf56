// Each hostile input through the built program: the message, the exit status, the
// wall time and the peak memory of the program and any worker it started.

#include "tests/support/BadInputs.h"
#include "tests/support/ProcessWaits.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;

struct Outcome {
    bool ended = false;
    int exitCode = -1;
    QString out;
    QString err;
    std::chrono::milliseconds took{0};
    long peakKilobytes = 0;  // the largest of the program and the children it waited for
    long peakTreeKilobytes = 0;  // the most the program and its workers held together
};

// The limits every input must stay within, on a machine as busy as can be.
constexpr auto timeBound = 30s;
// What the command gives one file before it stops with "took too long to read".
constexpr auto fileTimeBudget = 25s;
constexpr long memoryBoundKilobytes = 1024 * 1024;

// The process and every process below it.
QList<pid_t> processTree(pid_t root) {
    QList<pid_t> tree{root};
    for (qsizetype i = 0; i < tree.size(); ++i) {
        const QDir tasks(QStringLiteral("/proc/%1/task").arg(tree[i]));
        for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile children(tasks.filePath(task + QStringLiteral("/children")));
            if (children.open(QIODevice::ReadOnly))
                for (const QByteArray& child : children.readAll().split(' '))
                    if (const pid_t pid = child.trimmed().toInt(); pid > 0)
                        tree.append(pid);
        }
    }
    return tree;
}

class InputBounds : public testing::Test {
protected:
    static void SetUpTestSuite() { folder = std::make_unique<QTemporaryDir>(); }
    static void TearDownTestSuite() { folder.reset(); }

    static QString put(const char* name, const QByteArray& bytes) {
        const QString path = folder->filePath(QString::fromUtf8(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // Starts the program without a display or a bus, as a script would on a server.
    static pid_t start(const QList<QByteArray>& arguments, const QString& input) {
        const QString out = folder->filePath(QStringLiteral("out"));
        const QString err = folder->filePath(QStringLiteral("err"));
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, input.toLocal8Bit().constData(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, err.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);

        std::vector<QByteArray> argumentBytes{QByteArray(GLYPHNAB_APP_PATH)};
        for (const QByteArray& argument : arguments)
            argumentBytes.push_back(argument);
        std::vector<char*> argv;
        for (QByteArray& argument : argumentBytes)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        std::vector<QByteArray> environmentBytes{"OMP_THREAD_LIMIT=1", "PATH=/usr/bin:/bin",
                                                 "XDG_RUNTIME_DIR=" + folder->path().toLocal8Bit(),
                                                 "HOME=" + folder->path().toLocal8Bit()};
        std::vector<char*> envp;
        for (QByteArray& entry : environmentBytes)
            envp.push_back(entry.data());
        envp.push_back(nullptr);

        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, GLYPHNAB_APP_PATH, &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        return spawned == 0 ? pid : 0;
    }

    // Waits for the program's end, far past the bound: a run that hangs is stopped and
    // fails the test.
    static Outcome finish(pid_t pid, std::chrono::steady_clock::time_point start) {
        Outcome result;
        if (pid == 0)
            return result;
        int status = 0;
        rusage usage{};
        while (wait4(pid, &status, WNOHANG, &usage) == 0) {
            long together = 0;
            // Memory shared between the program and a worker it forked counts once.
            for (const pid_t member : processTree(pid))
                together += TestSupport::procField(member, QStringLiteral("smaps_rollup"), "Pss");
            result.peakTreeKilobytes = std::max(result.peakTreeKilobytes, together);
            if (std::chrono::steady_clock::now() - start > 2 * timeBound) {
                kill(pid, SIGKILL);
                wait4(pid, &status, 0, &usage);
                break;
            }
            std::this_thread::sleep_for(20ms);
        }
        result.took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        result.ended = WIFEXITED(status);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.peakKilobytes = usage.ru_maxrss;
        QFile outFile(folder->filePath(QStringLiteral("out"))), errFile(folder->filePath(QStringLiteral("err")));
        outFile.open(QIODevice::ReadOnly);
        errFile.open(QIODevice::ReadOnly);
        result.out = QString::fromUtf8(outFile.readAll());
        result.err = QString::fromUtf8(errFile.readAll());
        return result;
    }

    static Outcome run(const QList<QByteArray>& arguments, const QString& input = QStringLiteral("/dev/null")) {
        const auto begun = std::chrono::steady_clock::now();
        return finish(start(arguments, input), begun);
    }
    static Outcome run(const QStringList& arguments, const QString& input = QStringLiteral("/dev/null")) {
        QList<QByteArray> bytes;
        for (const QString& argument : arguments)
            bytes.append(argument.toLocal8Bit());
        return run(bytes, input);
    }

    static void expectBounded(const Outcome& run, const char* what) {
        EXPECT_TRUE(run.ended) << what << ": did not end by itself";
        EXPECT_LT(run.took, timeBound) << what;
        EXPECT_LT(run.peakKilobytes, memoryBoundKilobytes) << what << ": " << run.peakKilobytes << " KB";
        EXPECT_LT(run.peakTreeKilobytes, memoryBoundKilobytes) << what << ": " << run.peakTreeKilobytes << " KB";
    }

    // Bounded, and one line that names the file with the reason, whatever the reason is.
    static void expectRefusedInOneLine(const Outcome& run, const QString& file, const char* what) {
        expectBounded(run, what);
        EXPECT_EQ(run.exitCode, 1) << what;
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("glyphnab: %1: ").arg(file)) && run.err.count(u'\n') == 1)
            << what << ": " << run.err.toStdString();
        EXPECT_EQ(run.out, QString()) << what;
    }

    static inline std::unique_ptr<QTemporaryDir> folder;
};

TEST_F(InputBounds, PicturesThatClaimHugeSizesAreReadWithinTheBudget) {
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const std::vector<Case> cases{{"claims-16000.jpg", BadInputs::jpegClaiming(16000, 16000)},
                                  {"blank-16384.png", BadInputs::blankMonoPng(16384)},
                                  {"checkerboard-8192.png", BadInputs::checkerboardPng(8192)}};
    for (const Case& input : cases) {
        const Outcome result = run({QStringLiteral("read"), put(input.name, input.bytes)});
        expectBounded(result, input.name);
        // No text in any of them; what matters is that it says so and ends. A machine busy
        // enough to keep recognition past the file's time budget ends it with that reason.
        EXPECT_EQ(result.exitCode, 1) << input.name;
        const bool budgetRanOut = result.took >= fileTimeBudget &&
                                  result.err.endsWith(QStringLiteral(": took too long to read\n"));
        EXPECT_TRUE(result.err.endsWith(QStringLiteral(": No text found in that file\n")) || budgetRanOut)
            << result.err.toStdString();
        EXPECT_EQ(result.out, QString()) << input.name;
    }
    const Outcome refused = run({QStringLiteral("read"), put("claims-60000.jpg", BadInputs::jpegClaiming(60000, 60000))});
    expectBounded(refused, "claims-60000.jpg");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.endsWith(QStringLiteral("claims-60000.jpg: is too large to read\n"))) << refused.err.toStdString();
}

TEST_F(InputBounds, PdfsThatLoopOrInflateEndWithTheirReason) {
    const Outcome looping = run({QStringLiteral("read"), put("looping.pdf", BadInputs::pdfWithLoopingPages())});
    expectBounded(looping, "looping.pdf");
    EXPECT_EQ(looping.exitCode, 1);
    EXPECT_TRUE(looping.err.endsWith(QStringLiteral("looping.pdf: took too long to read\n"))) << looping.err.toStdString();

    const Outcome inflating = run({QStringLiteral("read"), put("inflating.pdf", BadInputs::pdfInflatingTo(qint64{1} << 30))});
    expectBounded(inflating, "inflating.pdf");
    EXPECT_EQ(inflating.exitCode, 1);
    EXPECT_TRUE(inflating.err.contains(u"inflating.pdf: ")) << inflating.err.toStdString();

    const Outcome page = run({QStringLiteral("read"), put("page.pdf", BadInputs::pdfWithPage(5000, 5000))});
    expectBounded(page, "page.pdf");
    EXPECT_EQ(page.exitCode, 1);
    EXPECT_TRUE(page.err.endsWith(QStringLiteral("page.pdf: No text found in that file\n"))) << page.err.toStdString();
}

TEST_F(InputBounds, StandardInputIsCappedNotReadUntilMemoryRunsOut) {
    const Outcome endless = run({QStringLiteral("read"), QStringLiteral("-")}, QStringLiteral("/dev/zero"));
    expectBounded(endless, "/dev/zero");
    EXPECT_EQ(endless.exitCode, 1);
    EXPECT_EQ(endless.err, QStringLiteral("glyphnab: standard input: is larger than 200 MB\n"));

    // Just under the cap, a drawing too large to draw: the program holds it once, and the
    // worker its own share, not another copy of it besides.
    QByteArray drawing("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"640\" height=\"80\">");
    const QByteArray square("<rect x=\"1\" y=\"1\" width=\"1\" height=\"1\"/>");
    drawing.reserve(195 << 20);
    while (drawing.size() < (190 << 20))
        drawing += square;
    const QString large = put("large.svg", drawing + "</svg>");
    drawing.clear();
    const Outcome held = run({QStringLiteral("read"), QStringLiteral("-")}, large);
    expectBounded(held, "190 MB through standard input");
    EXPECT_EQ(held.exitCode, 1);
    EXPECT_TRUE(held.err.startsWith(QStringLiteral("glyphnab: standard input: "))) << held.err.toStdString();
}

TEST_F(InputBounds, PicturesBuiltToExhaustTheDecoderEndAtTheirBudgetWithOneLine) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QString reason;
        // Real work that a busy machine may not finish within the picture's budget.
        bool mayRunOutOfTime = false;
    };
    // A picture whose data fails its checksum: libpng complains on its own.
    QByteArray brokenPng = BadInputs::encoded(BadInputs::textPicture(QStringLiteral("Hello")), "PNG");
    const qsizetype data = brokenPng.indexOf("IDAT") + 8;
    for (qsizetype i = data; i < data + 16; ++i)
        brokenPng[i] = static_cast<char>(brokenPng[i] ^ 0x5a);
    const QString tooLong = QStringLiteral("took too long to read");
    const std::vector<Case> cases{
        {"broken.png", brokenPng, QStringLiteral("is damaged and could not be read")},
        {"claims-chunk.png", BadInputs::pngClaimingChunk(), QStringLiteral("is damaged and could not be read")},
        {"empty-scans.jpg", BadInputs::jpegWithScans(8000, 3000), QStringLiteral("is damaged and could not be read")},
        {"inflating.svgz", BadInputs::svgzInflatingTo(qint64{700} << 20), QStringLiteral("is too large to read")},
        {"dashes.svg", BadInputs::svgWithDashedPaths(20'000), tooLong},
        // Under the cap on scans, over a claimed 12000 × 12000: seconds of decoding, and
        // half a gigabyte, in the worker.
        {"some-scans.jpg", BadInputs::jpegWithScans(12000, 30), QStringLiteral("No text found in that file"), true}};
    for (const Case& input : cases) {
        const QString file = put(input.name, input.bytes);
        // A bomb is the same bomb to the code reader; the picture with nothing in it is not.
        const QStringList commands = input.mayRunOutOfTime ? QStringList{QStringLiteral("read")}
                                                           : QStringList{QStringLiteral("read"), QStringLiteral("code")};
        for (const QString& command : commands) {
            const Outcome result = run({command, file});
            const std::string what = command.toStdString() + " " + input.name;
            expectBounded(result, what.c_str());
            EXPECT_EQ(result.exitCode, 1) << what;
            // The one line that names the file: no decoder's own complaint beside it.
            const QString line = QStringLiteral("glyphnab: %1: %2\n").arg(file);
            EXPECT_TRUE(result.err == line.arg(input.reason) ||
                        (input.mayRunOutOfTime && result.err == line.arg(tooLong)))
                << what << ": " << result.err.toStdString();
            EXPECT_EQ(result.out, QString()) << what;
        }
    }
}

// Other bombs of the same kinds than those above, which no check made for those looks
// for: the worker's limits end them all the same.
TEST_F(InputBounds, OtherBombsOfTheSameKindsEndWithinTheSameBounds) {
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const std::vector<Case> cases{
        {"comment-bomb.png", BadInputs::pngWithCommentOf(qint64{1} << 30)},
        {"claims-data.png", BadInputs::pngHeader(16, 16) +
                                BadInputs::pngChunk("IDAT", BadInputs::deflatedZeros(100), 0x7fffffff)},
        {"icon-around-huge.ico", BadInputs::iconAroundPng(30000)},
        {"frame-claims.gif", BadInputs::gifFrameClaiming(65535)},
        {"empty.pbm", "P4\n16384 16384\n"},
        {"claims.xpm", "/* XPM */\nstatic char *x[] = {\n\"100000 100000 1 1\",\n\"a c #ffffff\",\n};\n"},
        {"nested-uses.svg", BadInputs::svgWithNestedUses(9)},
        {"dashed-zigzag.svg", BadInputs::svgWithDashedZigzag(200'000)},
        {"scans-under-cap.jpg", BadInputs::jpegWithScans(11000, 99)}};
    for (const Case& input : cases) {
        const QString file = put(input.name, input.bytes);
        expectRefusedInOneLine(run({QStringLiteral("read"), file}), file, input.name);
    }
}

TEST_F(InputBounds, MessagesSayWhatWasLeftOutAndNameEveryFileAsItIs) {
    // Pages past the limit are printed as missing, and the exit says the text is not whole.
    const QString long45 = put("long.pdf", BadInputs::pdfWithTextPages(45));
    const Outcome cut = run({QStringLiteral("read"), long45});
    expectBounded(cut, "long.pdf");
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_TRUE(cut.out.contains(u"Page 30")) << cut.out.toStdString();
    EXPECT_FALSE(cut.out.contains(u"Page 31"));
    EXPECT_EQ(cut.err, QStringLiteral("glyphnab: %1: read the first 30 of 45 pages\n").arg(long45));
    EXPECT_EQ(run({QStringLiteral("read"), put("thirty.pdf", BadInputs::pdfWithTextPages(30))}).exitCode, 0);

    // A whole PDF after bytes of another kind is read whole, not called cut short.
    const Outcome junk = run({QStringLiteral("read"), put("junk.pdf", "GIF89a" + BadInputs::pdfWithTextPages(1))});
    EXPECT_EQ(junk.exitCode, 0) << junk.err.toStdString();
    EXPECT_EQ(junk.out, QStringLiteral("Page 1\n"));
    EXPECT_EQ(junk.err, QString());

    // A name that is not UTF-8 finds its file.
    const QByteArray latin1 = QFile::encodeName(folder->path()) + "/caf\xe9.pdf";
    {
        const int fd = ::open(latin1.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        const QByteArray pdf = BadInputs::pdfWithTextPages(1);
        ASSERT_EQ(::write(fd, pdf.constData(), static_cast<size_t>(pdf.size())), pdf.size());
        ::close(fd);
    }
    const Outcome foreign = run(QList<QByteArray>{"read", latin1});
    EXPECT_EQ(foreign.exitCode, 0) << foreign.err.toStdString();
    EXPECT_EQ(foreign.out, QStringLiteral("Page 1\n"));
    // Qt cannot name it to remove it with the folder.
    ::unlink(latin1.constData());
    const Outcome foreignMissing = run(QList<QByteArray>{"read", "gone-\xe9.png"});
    EXPECT_EQ(foreignMissing.err, QStringLiteral("glyphnab: gone-\\xe9.png: no such file\n"));

    // Control characters reach the terminal escaped.
    const Outcome control = run(QList<QByteArray>{"read", "a\nb\x1b[2Jc\x07.png"});
    EXPECT_EQ(control.exitCode, 1);
    EXPECT_EQ(control.err, QStringLiteral("glyphnab: a\\nb\\e[2Jc\\x07.png: no such file\n"));
}

// True once a thread of the process waits on reading a pipe.
bool readingPipe(pid_t pid) {
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile wchan(tasks.filePath(task + QStringLiteral("/wchan")));
        if (wchan.open(QIODevice::ReadOnly) && wchan.readAll().contains("pipe_read"))
            return true;
    }
    return false;
}

TEST_F(InputBounds, AStalledStandardInputEndsOnTerminationSignals) {
    for (const int signal : {SIGTERM, SIGINT}) {
        const QString pipe = folder->filePath(QStringLiteral("stalled"));
        QFile::remove(pipe);
        ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        // Held open for writing and never written: the program waits for more forever.
        const int writer = ::open(QFile::encodeName(pipe).constData(), O_RDWR);
        ASSERT_GE(writer, 0);
        const auto begun = std::chrono::steady_clock::now();
        const pid_t pid = start({"read", "-"}, pipe);
        ASSERT_NE(pid, 0);
        // Signalled once it waits on the pipe, where it used to take no signal at all.
        while (!readingPipe(pid) && std::chrono::steady_clock::now() - begun < timeBound)
            std::this_thread::sleep_for(20ms);
        EXPECT_TRUE(readingPipe(pid));
        const auto signalled = std::chrono::steady_clock::now();
        ::kill(pid, signal);
        const Outcome stopped = finish(pid, begun);
        ::close(writer);
        EXPECT_TRUE(stopped.ended) << signal;
        EXPECT_EQ(stopped.exitCode, 130) << signal;
        EXPECT_LT(std::chrono::steady_clock::now() - signalled, 10s) << signal;
    }
}

}  // namespace
