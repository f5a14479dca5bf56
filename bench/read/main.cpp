// read [--mode keep|join] [--codes] [--runs N] [--vs-tesseract] [--languages ID,ID…] FILE…
// read --make-samples DIR
// read --categories [--runs N] [--app PATH]
//
// Prints each file's reading to standard output (its text for the line mode, or with
// --codes the codes' payloads one per line) and the timings to standard error. With
// --vs-tesseract the tesseract command is timed in the same run on the picture scaled
// ×2, the way a typical screen-text tool calls it. When FILE has a sibling FILE.txt
// (as --make-samples writes), both readings are scored against it.
// --categories reads the drawn samples of each kind of content and prints one table
// row per sample: character errors, text rows in and lines out, list items on lines of
// their own, exact table cells, and the time against the tesseract command; with --app
// the app's command line is timed on the plain region too.

#include "Categories.h"
#include "Samples.h"
#include "TextCompare.h"

#include "tests/support/ProcessWaits.h"

#include "text/ImageInput.h"
#include "text/LineMode.h"
#include "text/TextReader.h"

#include <QCoroTask>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

using ZantrelText::LineMode;

struct Arguments {
    LineMode mode = LineMode::join;
    bool codes = false;
    int runs = 1;
    bool versusTesseract = false;
    std::optional<QString> samplesFolder;
    bool categories = false;
    QString app;
    QStringList languages;
    QStringList files;
};

[[noreturn]] void usage() {
    std::fputs("usage: read [--mode keep|join] [--codes] [--runs N] [--vs-tesseract] [--languages ID,...] FILE...\n"
               "       read --make-samples DIR\n",
               stderr);
    std::exit(2);
}

Arguments parse(const QStringList& args) {
    Arguments parsed;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        auto next = [&]() -> QString {
            if (i + 1 >= args.size())
                usage();
            return args[++i];
        };
        if (arg == QLatin1String("--mode")) {
            const auto mode = ZantrelText::lineModeFromRawValue(next());
            if (!mode)
                usage();
            parsed.mode = *mode;
        } else if (arg == QLatin1String("--codes")) {
            parsed.codes = true;
        } else if (arg == QLatin1String("--runs")) {
            bool ok = false;
            parsed.runs = next().toInt(&ok);
            if (!ok || parsed.runs < 1)
                usage();
        } else if (arg == QLatin1String("--vs-tesseract")) {
            parsed.versusTesseract = true;
        } else if (arg == QLatin1String("--languages")) {
            parsed.languages = next().split(u',', Qt::SkipEmptyParts);
        } else if (arg == QLatin1String("--categories")) {
            parsed.categories = true;
        } else if (arg == QLatin1String("--app")) {
            parsed.app = next();
        } else if (arg == QLatin1String("--make-samples")) {
            parsed.samplesFolder = next();
        } else if (arg.startsWith(QLatin1String("--"))) {
            usage();
        } else {
            parsed.files.append(arg);
        }
    }
    if (!parsed.samplesFolder && !parsed.categories && parsed.files.isEmpty())
        usage();
    return parsed;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// QCoro's waitFor never returns when the task throws, so the error is carried out first.
struct ReadOutcome {
    std::optional<ZantrelText::Reading> reading;
    std::exception_ptr error;
};

QCoro::Task<ReadOutcome> caughtRead(QImage image, ZantrelText::ReadOptions options) {
    ReadOutcome outcome;
    try {
        outcome.reading.emplace(co_await ZantrelText::TextReader::read(std::move(image), std::move(options)));
    } catch (...) {
        outcome.error = std::current_exception();
    }
    co_return outcome;
}

ZantrelText::Reading readPicture(const QImage& image, const ZantrelText::ReadOptions& options = {}) {
    ReadOutcome outcome = QCoro::waitFor(caughtRead(image, options));
    if (outcome.error)
        std::rethrow_exception(outcome.error);
    return std::move(*outcome.reading);
}

QString readingOf(const QList<ZantrelText::Input>& inputs, const Arguments& args) {
    QStringList parts;
    for (const ZantrelText::Input& input : inputs) {
        if (const QString* text = input.string()) {
            if (!args.codes)
                parts.append(*text);
            continue;
        }
        ZantrelText::ReadOptions options;
        options.languages = args.languages;
        const ZantrelText::Reading reading = readPicture(*input.image(), options);
        if (args.codes) {
            for (const ZantrelText::FoundCode& code : reading.codes)
                parts.append(code.payload);
        } else {
            parts.append(reading.text(args.mode));
        }
    }
    return parts.join(u'\n');
}

// User and system time of this process so far, all threads.
double processCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The tesseract command on the picture scaled ×2; its output text and wall time.
std::pair<QString, double> runTesseract(const QString& scaledPicture) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("OMP_THREAD_LIMIT"));  // the command as people run it
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral("tesseract"), {scaledPicture, QStringLiteral("stdout")});
    process.waitForFinished(-1);
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    return {QString::fromUtf8(process.readAllStandardOutput()), ms};
}

void report(const QString& name, const char* what, double value) {
    std::fprintf(stderr, "%s %s=%.1f\n", qPrintable(name), what, value);
}

int readFiles(const Arguments& args) {
    QTextStream out(stdout);
    int status = 0;
    for (const QString& file : args.files) {
        const auto fileRead = ZantrelText::ImageInput::read(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
        if (fileRead.inputs.isEmpty()) {
            std::fprintf(stderr, "%s: nothing readable\n", qPrintable(file));
            status = 1;
            continue;
        }
        QTemporaryDir scratch;
        QString scaled;
        if (args.versusTesseract) {
            const ZantrelText::Input& first = fileRead.inputs.front();
            if (first.image() != nullptr) {
                scaled = scratch.filePath(QStringLiteral("x2.png"));
                first.image()->scaled(first.image()->size() * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                    .save(scaled);
            }
        }
        std::vector<double> ours;
        std::vector<double> cpu;
        std::vector<double> theirs;
        QString text;
        QString tesseractText;
        try {
            for (int run = 0; run < args.runs; ++run) {
                QElapsedTimer timer;
                timer.start();
                const double cpuBefore = processCpuMs();
                text = readingOf(fileRead.inputs, args);
                ours.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
                cpu.push_back(processCpuMs() - cpuBefore);
                if (!scaled.isEmpty()) {
                    auto [tesseractOutput, ms] = runTesseract(scaled);
                    tesseractText = tesseractOutput;
                    theirs.push_back(ms);
                }
            }
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(file), error.what());
            status = 1;
            continue;
        }
        out << text << '\n';
        out.flush();
        report(file, "first_ms", ours.front());
        report(file, "median_ms", median(ours));
        // The work spread over every core, what an idle machine's wall time cannot beat; the
        // ratio of the wall time to it is the share of the machine the reading got.
        const double spread = median(cpu) / std::max(1, QThread::idealThreadCount());
        report(file, "cpu_median_ms", median(cpu));
        std::fprintf(stderr, "%s cpu_over_cores_ms=%.1f wall_ratio=%.2f load=%s\n", qPrintable(file), spread,
                     median(ours) / spread, TestSupport::loadAverage().constData());
        if (!theirs.empty()) {
            report(file, "tesseract_median_ms", median(theirs));
            std::fprintf(stderr, "%s ratio=%.3f\n", qPrintable(file), median(ours) / median(theirs));
        }
        QFile truthFile(QFileInfo(file).path() + u'/' + QFileInfo(file).completeBaseName() + QStringLiteral(".txt"));
        if (!args.codes && truthFile.open(QIODevice::ReadOnly)) {
            const QString truth = QString::fromUtf8(truthFile.readAll());
            const Bench::TextScore score = Bench::compare(text, truth);
            std::fprintf(stderr, "%s char_errors=%lld of %lld word_recall=%.4f\n", qPrintable(file),
                         static_cast<long long>(score.characterErrors), static_cast<long long>(score.truthCharacters),
                         score.wordRecall);
            if (!scaled.isEmpty()) {
                const Bench::TextScore peer = Bench::compare(tesseractText, truth);
                std::fprintf(stderr, "%s tesseract_char_errors=%lld tesseract_word_recall=%.4f\n", qPrintable(file),
                             static_cast<long long>(peer.characterErrors), peer.wordRecall);
            }
        }
    }
    return status;
}


// Time of the app's command line reading one file, as a user runs it.
double runApp(const QString& app, const QString& picture) {
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(app, {QStringLiteral("read"), picture});
    process.waitForFinished(-1);
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

QStringList nonEmptyLines(const QString& text) {
    QStringList lines = text.split(u'\n');
    lines.removeIf([](const QString& line) { return line.trimmed().isEmpty(); });
    return lines;
}

// Items that start a line of their own with a list marker.
int markedLines(const QString& text) {
    static const QRegularExpression marker(
        QStringLiteral("^\\s*([\\x{2022}\\x{25E6}\\x{25AA}\\x{2023}\\x{00B7}*+\\-\\x{2013}\\x{2014}]|\\d{1,3}[.)]|[a-zA-Z][.)])\\s+\\S"));
    int count = 0;
    for (const QString& line : text.split(u'\n'))
        count += marker.match(line).hasMatch() ? 1 : 0;
    return count;
}

// The share of the expected cells read exactly, in place.
double exactCells(const QList<QStringList>& expected, const ZantrelText::TableText& table) {
    int total = 0;
    int exact = 0;
    for (qsizetype r = 0; r < expected.size(); ++r) {
        for (qsizetype c = 0; c < expected[r].size(); ++c) {
            ++total;
            if (r < table.rows.size() && c < table.rows[r].size() && table.rows[r][c] == expected[r][c])
                ++exact;
        }
    }
    return total == 0 ? 1.0 : static_cast<double>(exact) / total;
}

int readCategories(const Arguments& args) {
    std::vector<Bench::CategorySample> samples = Bench::categorySamples();
    for (const Bench::Sample& plain : Bench::makeSamples()) {
        if (plain.name == QLatin1String("region"))
            samples.push_back({plain.name, plain.picture, plain.truth.split(u'\n'), 0, {}, {}});
    }
    QTemporaryDir scratch;
    std::printf("%-20s %6s %6s %9s %6s %7s %8s %8s %6s %8s\n", "sample", "errors", "chars", "lines", "lists",
                "table", "ours_ms", "tess_ms", "ratio", "tess_err");
    for (const Bench::CategorySample& sample : samples) {
        const QString picture = scratch.filePath(sample.name + QStringLiteral(".png"));
        const QString scaled = scratch.filePath(sample.name + QStringLiteral("-x2.png"));
        sample.picture.save(picture);
        if (const char* dump = std::getenv("BENCH_DUMP"))
            sample.picture.save(QDir(QString::fromLocal8Bit(dump)).filePath(sample.name + QStringLiteral(".png")));
        sample.picture.scaled(sample.picture.size() * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).save(scaled);
        ZantrelText::ReadOptions options;
        options.languages = sample.languages;
        std::vector<double> ours;
        std::vector<double> theirs;
        std::optional<ZantrelText::Reading> reading;
        QString peerText;
        try {
            for (int run = 0; run < args.runs; ++run) {
                QElapsedTimer timer;
                timer.start();
                reading.emplace(readPicture(sample.picture, options));
                ours.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
                auto [text, ms] = runTesseract(scaled);
                peerText = text;
                theirs.push_back(ms);
            }
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(sample.name), error.what());
            return 1;
        }
        const QString keep = reading->text(LineMode::keep);
        const QString join = reading->text(LineMode::join);
        const QString truth = sample.lines.join(u'\n');
        const Bench::TextScore score = Bench::compare(keep, truth);
        const Bench::TextScore peer = Bench::compare(peerText, truth);
        const QString lines = QStringLiteral("%1/%2").arg(nonEmptyLines(keep).size()).arg(sample.lines.size());
        const QString lists = sample.listItems == 0
                                  ? QStringLiteral("-")
                                  : QStringLiteral("%1/%2").arg(markedLines(join)).arg(sample.listItems);
        QString table = QStringLiteral("-");
        if (!sample.table.isEmpty())
            table = reading->table ? QStringLiteral("%1%").arg(100 * exactCells(sample.table, *reading->table), 0, 'f', 0)
                                   : QStringLiteral("none");
        std::printf("%-20s %6lld %6lld %9s %6s %7s %8.0f %8.0f %6.2f %8lld\n", qPrintable(sample.name),
                    static_cast<long long>(score.characterErrors), static_cast<long long>(score.truthCharacters),
                    qPrintable(lines), qPrintable(lists), qPrintable(table), median(ours), median(theirs),
                    median(ours) / median(theirs), static_cast<long long>(peer.characterErrors));
        if (std::getenv("BENCH_SHOW") != nullptr)
            std::fprintf(stderr, "--- %s keep:\n%s\n--- join:\n%s\n", qPrintable(sample.name), qPrintable(keep),
                         qPrintable(join));
        if (!args.app.isEmpty() && sample.name == QLatin1String("region")) {
            std::vector<double> app;
            for (int run = 0; run < args.runs; ++run)
                app.push_back(runApp(args.app, picture));
            std::printf("%-20s %8.0f ms, ratio %.2f against the tesseract command\n", "app read region", median(app),
                        median(app) / median(theirs));
        }
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Engines running side by side need OpenMP held to one thread, from the start.
    if (std::getenv("OMP_THREAD_LIMIT") == nullptr) {
        setenv("OMP_THREAD_LIMIT", "1", 1);
        execv("/proc/self/exe", argv);
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    const Arguments args = parse(QCoreApplication::arguments());
    if (args.samplesFolder) {
        if (!Bench::writeSamples(*args.samplesFolder)) {
            std::fprintf(stderr, "cannot write the samples to %s\n", qPrintable(*args.samplesFolder));
            return 1;
        }
        return 0;
    }
    if (args.categories)
        return readCategories(args);
    return readFiles(args);
}
