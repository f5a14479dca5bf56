// footprint: what the running app costs while it waits in the tray. It starts the app
// under Xvfb, onboarded, with no window open, and reads /proc while it starts, warms up
// and rests: memory (VmRSS, and VmHWM, the peak so far) and wakeups (context switches of
// all its threads) and CPU ticks. The baselines, taken in the same run: the app's own
// memory before the warm-up, and the wakeups of a plain Qt program idle beside it.
//
//   footprint [--seconds N] [--locale NAME] [--app PATH] [--helper PATH]
//
// --locale de_DE.UTF-8 starts the app for a German-speaking user; without a German model
// it reads with the Latin-script model.

#include "tests/support/ProcessWaits.h"
#include "tests/support/XvfbSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>

namespace {

struct Sample {
    double seconds = 0;
    long rssKb = 0;
    long peakKb = 0;
    long wakeups = 0;  // since the start, all threads
    long ticks = 0;    // user and system
    std::map<long, long> switches;
};

std::optional<Sample> sample(qint64 pid, double seconds, const Sample* previous) {
    const QString base = QStringLiteral("/proc/%1").arg(pid);
    QFile status(base + QStringLiteral("/status"));
    QFile stat(base + QStringLiteral("/stat"));
    if (!status.open(QIODevice::ReadOnly) || !stat.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = "\n" + status.readAll();
    Sample result{seconds, TestSupport::procField(text, "VmRSS"), TestSupport::procField(text, "VmHWM"), 0, 0, {}};
    // The fields after the command name, which may hold spaces: utime is the 14th field.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() > 12)
        result.ticks = fields[11].toLong() + fields[12].toLong();
    result.switches = TestSupport::threadSwitches(pid);
    result.wakeups = previous ? previous->wakeups + TestSupport::wakeupsBetween(previous->switches, result.switches)
                              : 0;
    return result;
}

// The last sample taken at or before `seconds`.
const Sample* at(const std::vector<Sample>& samples, double seconds) {
    const Sample* found = nullptr;
    for (const Sample& s : samples)
        if (s.seconds <= seconds)
            found = &s;
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString appPath = QStringLiteral(GLYPHNAB_APP_PATH);
    QString helperPath = QStringLiteral(GLYPHNAB_TEST_HELPER_PATH);
    QString locale = QStringLiteral("en_US.UTF-8");
    double total = 150;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QByteArray option = argv[i];
        if (option == "--seconds")
            total = std::max(70.0, std::atof(argv[i + 1]));
        else if (option == "--locale")
            locale = QString::fromLocal8Bit(argv[i + 1]);
        else if (option == "--app")
            appPath = QString::fromLocal8Bit(argv[i + 1]);
        else if (option == "--helper")
            helperPath = QString::fromLocal8Bit(argv[i + 1]);
    }

    TestSupport::XvfbSession session(1280, 800);
    if (!session.isRunning()) {
        std::fprintf(stderr, "footprint: %s\n", qPrintable(session.error()));
        return 1;
    }
    // The baseline: a plain Qt program with a window, idle.
    const QString title = QStringLiteral("Idle window");
    QProcess& idle = session.start(helperPath, {QStringLiteral("window"), QStringLiteral("#ffffff"), title,
                                                QStringLiteral("Idle"), QStringLiteral("16"), QStringLiteral("200x100")});
    if (!session.waitForWindow(title)) {
        std::fprintf(stderr, "footprint: the idle window did not appear\n");
        return 1;
    }

    QTemporaryDir state;
    {
        QSettings defaults(state.filePath(QStringLiteral("defaults")), QSettings::IniFormat);
        defaults.setValue(QStringLiteral("preferences"), QByteArray(R"({"onboarded":true})"));
    }
    QProcessEnvironment language;
    language.insert(QStringLiteral("LANG"), locale);
    language.insert(QStringLiteral("LC_ALL"), locale);
    language.insert(QStringLiteral("LANGUAGE"), locale.section(QLatin1Char('.'), 0, 0));
    QProcess& glyphnab = session.start(appPath, {QStringLiteral("--state-dir"), state.path()}, language);
    if (glyphnab.state() != QProcess::Running) {
        std::fprintf(stderr, "footprint: %s did not start\n", qPrintable(appPath));
        return 1;
    }

    const QByteArray loadAtStart = TestSupport::loadAverage();
    std::vector<Sample> samples, baseline;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < total * 1000) {
        const double seconds = clock.elapsed() / 1000.0;
        if (const auto s = sample(glyphnab.processId(), seconds, samples.empty() ? nullptr : &samples.back()))
            samples.push_back(*s);
        if (const auto s = sample(idle.processId(), seconds, baseline.empty() ? nullptr : &baseline.back()))
            baseline.push_back(*s);
        if (glyphnab.state() != QProcess::Running) {
            std::fprintf(stderr, "footprint: the app ended\n%s\n", glyphnab.readAllStandardError().constData());
            return 1;
        }
        QThread::msleep(250);
    }

    const Sample* before = at(samples, 40);  // the warm-up begins at 45 s
    const Sample* warmed = at(samples, 60);
    const Sample* twoMinutes = at(samples, 120);
    const Sample* end = at(samples, total);
    const Sample* restStart = at(samples, total - 60);
    const Sample* idleStart = at(baseline, total - 60);
    const Sample* idleEnd = at(baseline, total);
    if (!before || !warmed || !twoMinutes || !end || !restStart || !idleStart || !idleEnd) {
        std::fprintf(stderr, "footprint: too few samples\n");
        return 1;
    }
    std::printf("locale %s, %.0f s, load average at start %s, at the end %s\n", qPrintable(locale), total,
                loadAtStart.constData(), TestSupport::loadAverage().constData());
    std::printf("RSS before warm-up (40 s)     %7.1f MB   baseline\n", before->rssKb / 1024.0);
    std::printf("RSS after warm-up (60 s)      %7.1f MB   ratio %.2f\n", warmed->rssKb / 1024.0,
                double(warmed->rssKb) / before->rssKb);
    std::printf("RSS at rest (%3.0f s)           %7.1f MB   ratio %.2f\n", total, end->rssKb / 1024.0,
                double(end->rssKb) / before->rssKb);
    std::printf("peak RSS to 2 min (VmHWM)     %7.1f MB   ratio %.2f\n", twoMinutes->peakKb / 1024.0,
                double(twoMinutes->peakKb) / before->rssKb);
    // The same count over the warm-up shows that it hears the app's threads at work.
    std::printf("40 to 60 s (warm-up): app wakeups %ld, CPU ticks %ld\n", warmed->wakeups - before->wakeups,
                warmed->ticks - before->ticks);
    std::printf("last 60 s: app wakeups %ld, CPU ticks %ld   baseline idle Qt window: wakeups %ld, ticks %ld\n",
                end->wakeups - restStart->wakeups, end->ticks - restStart->ticks,
                idleEnd->wakeups - idleStart->wakeups, idleEnd->ticks - idleStart->ticks);
    // What would wake it next: a thread in a wait with a timeout, or an armed timer file.
    int timed = 0;
    for (const TestSupport::ThreadWait& wait : TestSupport::threadWaits(glyphnab.processId())) {
        if (!wait.timed)
            continue;
        ++timed;
        std::printf("  thread %ld (%s) waits with a timeout in %s%s\n", wait.tid, qPrintable(wait.name),
                    qPrintable(wait.call),
                    wait.timeoutMs ? qPrintable(QStringLiteral(" of %1 ms").arg(*wait.timeoutMs)) : "");
    }
    const std::vector<double> timers = TestSupport::armedTimerFiles(glyphnab.processId());
    for (const double seconds : timers)
        std::printf("  a timer file fires in %.0f s\n", seconds);
    std::printf("at the end: %d threads in timed waits, %zu armed timer files (%zu due within 60 s)\n", timed,
                timers.size(), static_cast<std::size_t>(std::count_if(timers.begin(), timers.end(),
                                                                      [](double s) { return s <= 60; })));
    return 0;
}
