// Each hostile input through the built program: the message, the exit status, the
// wall time and the peak memory of the program and any worker it started.

#include "tests/support/BadInputs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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
};

// The limits every input must stay within on this machine.
constexpr auto timeBound = 30s;
constexpr long memoryBoundKilobytes = 1024 * 1024;

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

    // Runs the program without a display or a bus, as a script would on a server.
    static Outcome run(const QStringList& arguments, const QString& input = QStringLiteral("/dev/null")) {
        const QString out = folder->filePath(QStringLiteral("out"));
        const QString err = folder->filePath(QStringLiteral("err"));
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, input.toLocal8Bit().constData(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, err.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);

        std::vector<QByteArray> argumentBytes{QByteArray(GLYPHNAB_APP_PATH)};
        for (const QString& argument : arguments)
            argumentBytes.push_back(argument.toLocal8Bit());
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

        Outcome result;
        pid_t pid = 0;
        const auto start = std::chrono::steady_clock::now();
        const int spawned = posix_spawn(&pid, GLYPHNAB_APP_PATH, &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0)
            return result;
        int status = 0;
        rusage usage{};
        // Far past the bound: a run that hangs is stopped and fails the test.
        while (wait4(pid, &status, WNOHANG, &usage) == 0) {
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
        QFile outFile(out), errFile(err);
        outFile.open(QIODevice::ReadOnly);
        errFile.open(QIODevice::ReadOnly);
        result.out = QString::fromUtf8(outFile.readAll());
        result.err = QString::fromUtf8(errFile.readAll());
        return result;
    }

    static void expectBounded(const Outcome& run, const char* what) {
        EXPECT_TRUE(run.ended) << what << ": did not end by itself";
        EXPECT_LT(run.took, timeBound) << what;
        EXPECT_LT(run.peakKilobytes, memoryBoundKilobytes) << what << ": " << run.peakKilobytes << " KB";
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
        // No text in any of them; what matters is that it says so and ends.
        EXPECT_EQ(result.exitCode, 1) << input.name;
        EXPECT_TRUE(result.err.endsWith(QStringLiteral(": No text found in that file\n"))) << result.err.toStdString();
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
}

}  // namespace
