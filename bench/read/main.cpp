// read [--mode keep|join] [--codes] [--runs N] [--vs-tesseract] FILE…
// read --make-samples DIR
//
// Prints each file's reading to standard output (its text for the line mode, or with
// --codes the codes' payloads one per line) and the timings to standard error. With
// --vs-tesseract the tesseract command is timed in the same run on the picture scaled
// ×2, the way a typical screen-text tool calls it. When FILE has a sibling FILE.txt
// (as --make-samples writes), both readings are scored against it.

#include "Samples.h"
#include "TextCompare.h"

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
#include <QTemporaryDir>
#include <QTextStream>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
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
    QStringList files;
};

[[noreturn]] void usage() {
    std::fputs("usage: read [--mode keep|join] [--codes] [--runs N] [--vs-tesseract] FILE...\n"
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
        } else if (arg == QLatin1String("--make-samples")) {
            parsed.samplesFolder = next();
        } else if (arg.startsWith(QLatin1String("--"))) {
            usage();
        } else {
            parsed.files.append(arg);
        }
    }
    if (!parsed.samplesFolder && parsed.files.isEmpty())
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

QCoro::Task<ReadOutcome> caughtRead(QImage image) {
    ReadOutcome outcome;
    try {
        outcome.reading.emplace(co_await ZantrelText::TextReader::read(std::move(image), ZantrelText::ReadOptions{}));
    } catch (...) {
        outcome.error = std::current_exception();
    }
    co_return outcome;
}

ZantrelText::Reading readPicture(const QImage& image) {
    ReadOutcome outcome = QCoro::waitFor(caughtRead(image));
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
        const ZantrelText::Reading reading = readPicture(*input.image());
        if (args.codes) {
            for (const ZantrelText::FoundCode& code : reading.codes)
                parts.append(code.payload);
        } else {
            parts.append(reading.text(args.mode));
        }
    }
    return parts.join(u'\n');
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
        std::vector<double> theirs;
        QString text;
        QString tesseractText;
        try {
            for (int run = 0; run < args.runs; ++run) {
                QElapsedTimer timer;
                timer.start();
                text = readingOf(fileRead.inputs, args);
                ours.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
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
    return readFiles(args);
}
