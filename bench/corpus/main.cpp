// corpus [--app PATH] [--slots N] [--dump DIR] [--kind KIND] SET...
//
// Reads every page of each SET folder (as the renderer writes them) and scores the
// reading against the page's truth, and runs the tesseract command on the picture scaled
// ×2 in the same run. Prints one table per set: per kind and overall, exact lines, CER,
// exact cells, markers, numbers exact and the mean time against the tesseract command.
// With --app the app's command line reads each page (what it prints is what it would
// copy); --dump writes each page's two readings beside the missed lines for looking at.

#include "Score.h"
#include "Truth.h"

#include "platform/recognition/TesseractLanguages.h"
#include "text/LineMode.h"
#include "text/TextReader.h"

#include <QCoroFuture>
#include <QCoroTask>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QtConcurrent/QtConcurrentRun>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

struct Arguments {
    QString app;
    int slots = 4;
    QString dump;
    QString kind;
    QStringList sets;
};

[[noreturn]] void usage() {
    std::fputs("usage: corpus [--app PATH] [--slots N] [--dump DIR] [--kind KIND] SET...\n", stderr);
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
        if (arg == QLatin1String("--app")) {
            parsed.app = next();
        } else if (arg == QLatin1String("--slots")) {
            bool ok = false;
            parsed.slots = next().toInt(&ok);
            if (!ok || parsed.slots < 1)
                usage();
        } else if (arg == QLatin1String("--dump")) {
            parsed.dump = next();
        } else if (arg == QLatin1String("--kind")) {
            parsed.kind = next();
        } else if (arg.startsWith(QLatin1String("--"))) {
            usage();
        } else {
            parsed.sets.append(arg);
        }
    }
    if (parsed.sets.isEmpty())
        usage();
    return parsed;
}

struct Timed {
    QString text;
    double milliseconds = 0;
};

// Both readers run with OpenMP held to one thread: several pages are read at once, and
// OpenMP's spinning threads then make tesseract many times slower than it is.
Timed runCommand(const QString& program, const QStringList& arguments) {
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    process.waitForFinished(-1);
    return {QString::fromUtf8(process.readAllStandardOutput()), static_cast<double>(timer.nsecsElapsed()) / 1e6};
}

// The tesseract command on the picture scaled ×2, the way a typical screen-text tool calls it.
// It gets the same trained models as the reader.
Timed runTesseract(const QImage& image, const QString& scratch, const QStringList& languages) {
    image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).save(scratch);
    QStringList arguments{scratch, QStringLiteral("stdout")};
    if (!languages.isEmpty())
        arguments << QStringLiteral("-l") << Platform::Recognition::engineLanguages(languages);
    Timed timed = runCommand(QStringLiteral("tesseract"), arguments);
    QFile::remove(scratch);
    return timed;
}

struct Reading {
    Timed timed;
    std::optional<QList<QStringList>> table;
    QString layout;
    QString error;
};

QCoro::Task<Reading> readHere(QImage image, QStringList languages) {
    Reading result;
    ZantrelText::ReadOptions options;
    options.languages = std::move(languages);
    QElapsedTimer timer;
    timer.start();
    try {
        const ZantrelText::Reading reading = co_await ZantrelText::TextReader::read(image, options);
        result.timed.text = reading.text(ZantrelText::LineMode::keep);
        if (reading.table) {
            result.table = reading.table->rows;
            result.layout = reading.layout.text(ZantrelText::LineMode::keep);
        }
    } catch (const std::exception& error) {
        result.error = QString::fromLocal8Bit(error.what());
    }
    result.timed.milliseconds = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    co_return result;
}

struct PageResult {
    Corpus::Scored ours;
    Corpus::Scored theirs;
};

struct Run {
    const Arguments& args;
    const QList<Corpus::Page>& pages;
    QString set;
    std::vector<PageResult> results;
    QTemporaryDir scratch;
    int next = 0;
    int done = 0;

    void dump(const Corpus::Page& page, const Reading& ours, const Timed& theirs, const PageResult& result) const {
        const QDir folder(QDir(args.dump).filePath(set));
        QDir().mkpath(folder.path());
        QFile file(folder.filePath(page.name + QStringLiteral(".txt")));
        if (!file.open(QIODevice::WriteOnly))
            return;
        QString text = QStringLiteral("%1 %2 %3\n").arg(page.picture, page.kind, page.look);
        if (!ours.error.isEmpty())
            text += QStringLiteral("error: %1\n").arg(ours.error);
        if (ours.table)
            text += QStringLiteral("--- layout under the table\n%1\n").arg(ours.layout);
        text += QStringLiteral("--- ours\n%1\n--- tesseract\n%2\n--- missed by ours\n%3\n--- missed by tesseract\n%4\n")
                    .arg(ours.timed.text, theirs.text, result.ours.missed.join(u'\n'),
                         result.theirs.missed.join(u'\n'));
        file.write(text.toUtf8());
    }

    // g++ 12 destroys a lambda temporary inside a co_await expression twice: every
    // future is a named value before it is awaited.
    QCoro::Task<void> readPage(qsizetype index) {
        const Corpus::Page& page = pages[index];
        const QImage image(page.picture);
        Reading ours;
        if (args.app.isEmpty()) {
            ours = co_await readHere(image, page.languages);
        } else {
            QFuture<Timed> app = QtConcurrent::run(runCommand, args.app, QStringList{QStringLiteral("read"), page.picture});
            ours.timed = co_await app;
        }
        QFuture<Timed> tesseract =
            QtConcurrent::run(runTesseract, image, scratch.filePath(page.name + QStringLiteral("-x2.png")), page.languages);
        const Timed theirs = co_await tesseract;
        PageResult& result = results[static_cast<std::size_t>(index)];
        result.ours = Corpus::score(page, ours.timed.text, ours.table, true);
        result.ours.score.milliseconds = ours.timed.milliseconds;
        result.theirs = Corpus::score(page, theirs.text, std::nullopt, false);
        result.theirs.score.milliseconds = theirs.milliseconds;
        if (!args.dump.isEmpty())
            dump(page, ours, theirs, result);
        std::fprintf(stderr, "\r%d/%lld", ++done, static_cast<long long>(pages.size()));
    }

    QCoro::Task<void> slot() {
        while (next < pages.size())
            co_await readPage(next++);
    }
};

QCoro::Task<void> runAll(Run& run) {
    std::vector<QCoro::Task<void>> slots;
    for (int i = 0; i < run.args.slots; ++i)
        slots.push_back(run.slot());
    for (QCoro::Task<void>& slot : slots)
        co_await slot;
}

QString percent(int part, int whole) {
    return whole == 0 ? QStringLiteral("-") : QString::number(100.0 * part / whole, 'f', 1);
}

void printRow(const QString& kind, const Corpus::Score& ours, const Corpus::Score& theirs) {
    std::printf("%-12s %5d %5d %6s %6s %6.2f %6.2f %6s %6s %6s %6s %6s %7.0f %7.0f %5.2f\n", qPrintable(kind), ours.pages,
                ours.lines, qPrintable(percent(ours.exactLines, ours.lines)),
                qPrintable(percent(theirs.exactLines, theirs.lines)), 100 * ours.characterErrorRate(),
                100 * theirs.characterErrorRate(), qPrintable(percent(ours.exactCells, ours.cells)),
                qPrintable(percent(ours.exactMarkers, ours.markers)),
                qPrintable(percent(theirs.exactMarkers, theirs.markers)),
                qPrintable(percent(ours.exactNumbers, ours.numbers)),
                qPrintable(percent(theirs.exactNumbers, theirs.numbers)), ours.milliseconds / ours.pages,
                theirs.milliseconds / theirs.pages, theirs.milliseconds > 0 ? ours.milliseconds / theirs.milliseconds : 0.0);
}

void report(const QString& set, const QList<Corpus::Page>& pages, const std::vector<PageResult>& results) {
    QMap<QString, std::pair<Corpus::Score, Corpus::Score>> kinds;
    std::pair<Corpus::Score, Corpus::Score> total;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const PageResult& result = results[static_cast<std::size_t>(i)];
        auto& kind = kinds[pages[i].kind];
        kind.first += result.ours.score;
        kind.second += result.theirs.score;
        total.first += result.ours.score;
        total.second += result.theirs.score;
    }
    std::printf("\nset %s: %lld pages (ours / the tesseract command on the picture ×2)\n", qPrintable(set),
                static_cast<long long>(pages.size()));
    std::printf("%-12s %5s %5s %6s %6s %6s %6s %6s %6s %6s %6s %6s %7s %7s %5s\n", "kind", "pages", "lines", "exact",
                "t.exct", "cer", "t.cer", "cells", "marks", "t.mrk", "nums", "t.num", "ms", "t.ms", "ratio");
    for (auto it = kinds.cbegin(); it != kinds.cend(); ++it)
        printRow(it.key(), it->first, it->second);
    printRow(QStringLiteral("overall"), total.first, total.second);
    std::fflush(stdout);
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
    QGuiApplication application(argc, argv);
    const Arguments args = parse(QCoreApplication::arguments());
    for (const QString& set : args.sets) {
        QList<Corpus::Page> pages = Corpus::loadPages(set);
        if (!args.kind.isEmpty())
            pages.removeIf([&](const Corpus::Page& page) { return page.kind != args.kind; });
        if (pages.isEmpty()) {
            std::fprintf(stderr, "%s: no pages\n", qPrintable(set));
            return 1;
        }
        Run run{args, pages, QFileInfo(set).fileName(), std::vector<PageResult>(static_cast<std::size_t>(pages.size())), {}, 0, 0};
        QCoro::waitFor(runAll(run));
        std::fputc('\n', stderr);
        report(QFileInfo(set).fileName(), pages, run.results);
    }
    return 0;
}
